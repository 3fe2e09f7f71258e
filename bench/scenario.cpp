// A fixed scenario for callgrind, whose instruction counts do not depend on the machine's
// load: every operation of the benchmark table, the module's and the baseline's, each run a
// fixed number of times between two client requests, after one untimed run that binds the
// symbols and warms the allocator. A region's dump is named "<figure> x<operations>"; the
// report divides its instruction count by the operations. Run outside valgrind it does the
// same work and reports nothing. Every result goes through DoNotOptimize, as in the timed
// benchmarks, so that the compiler keeps a lookup whose answer nobody reads.
#include "bench_boards.h"
#include "bench_support.h"
#include "data_model_bag.h"

#include "com/enuminterfaces.h"
#include "com/qxcs.h"
#include "com/qxmutex.h"

#include <valgrind/callgrind.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace {

template <class Work>
void Measure(const std::string& figure, std::uint32_t operations, Work work) {
    work(); // binds lazily bound symbols, fills the allocator's free lists
    const std::string name = figure + " x" + std::to_string(operations);
    CALLGRIND_ZERO_STATS;
    work();
    CALLGRIND_DUMP_STATS_AT(name.c_str());
}

constexpr std::uint32_t k_repeat = 256;
constexpr std::uint32_t k_run = 16;

template <class Bag>
void BagOperations(const std::string& side, std::uint32_t size) {
    Bag bag;
    FillIntegers(bag, size);
    const auto order = ShuffledIndices(size, k_repeat);
    const std::string suffix = "/" + side + "/" + std::to_string(size);
    // New tags: one run of distinct odd tags, set and then deleted again.
    const std::uint32_t run = size < k_run ? size : k_run;
    std::set<std::uint32_t> fresh;
    for (std::uint32_t i = 0; fresh.size() < run; ++i)
        fresh.insert(TagOf(order[i % order.size()] + i / order.size()) + 1);
    auto setNew = [&] {
        for (std::uint32_t tag : fresh)
            benchmark::DoNotOptimize(bag.SetInteger(tag, 7));
    };
    auto deleteNew = [&] {
        for (std::uint32_t tag : fresh)
            benchmark::DoNotOptimize(bag.Delete(tag));
    };
    // The client request's macro keeps only the pointer: the names must outlive it.
    const std::string setName = "bag.set_new" + suffix + " x" + std::to_string(run);
    const std::string deleteName = "bag.delete" + suffix + " x" + std::to_string(run);
    setNew();
    deleteNew();
    CALLGRIND_ZERO_STATS;
    setNew();
    CALLGRIND_DUMP_STATS_AT(setName.c_str());
    deleteNew();
    CALLGRIND_DUMP_STATS_AT(deleteName.c_str());

    Measure("bag.set_existing" + suffix, k_repeat, [&] {
        for (std::uint32_t index : order)
            benchmark::DoNotOptimize(bag.SetInteger(TagOf(index), 5));
    });
    Measure("bag.get" + suffix, k_repeat, [&] {
        for (std::uint32_t index : order) {
            std::int32_t value = 0;
            benchmark::DoNotOptimize(bag.GetInteger(TagOf(index), &value));
            benchmark::DoNotOptimize(value);
        }
    });
    Measure("bag.has" + suffix, k_repeat, [&] {
        for (std::uint32_t index : order)
            benchmark::DoNotOptimize(bag.Has(TagOf(index)));
    });
}

void Counting() {
    IkcSysPropertyBag3* object = MakeComObject<CkcDynamicPropertyBag>().detach();
    Measure("refcount.pair/module", k_repeat, [&] {
        for (std::uint32_t i = 0; i < k_repeat; ++i) {
            object->AddRef();
            object->Release();
        }
    });
    object->Release();
    std::atomic<std::int32_t> count{1};
    Measure("refcount.pair/baseline", k_repeat, [&] {
        for (std::uint32_t i = 0; i < k_repeat; ++i) {
            count.fetch_add(1, std::memory_order_acq_rel);
            count.fetch_sub(1, std::memory_order_acq_rel);
        }
    });
}

void Locks() {
    Tessaly::CqxCS section;
    Tessaly::CqxSyncObject& lock = section;
    Measure("lock.section/module", k_repeat, [&] {
        for (std::uint32_t i = 0; i < k_repeat; ++i) {
            lock.Lock(-1);
            lock.Unlock();
        }
    });
    std::recursive_mutex recursive;
    Measure("lock.section/baseline", k_repeat, [&] {
        for (std::uint32_t i = 0; i < k_repeat; ++i) {
            recursive.lock();
            benchmark::ClobberMemory();
            recursive.unlock();
        }
    });
    Measure("lock.global/module", k_repeat, [&] {
        for (std::uint32_t i = 0; i < k_repeat; ++i) {
            g_InterLockedIncDec->Lock();
            g_InterLockedIncDec->Unlock();
        }
    });
    std::mutex plain;
    Measure("lock.global/baseline", k_repeat, [&] {
        for (std::uint32_t i = 0; i < k_repeat; ++i) {
            plain.lock();
            benchmark::ClobberMemory();
            plain.unlock();
        }
    });
}

void Strings() {
    for (std::size_t units : {16, 256}) {
        const std::u16string text = TextOfUnits(units);
        const std::string suffix = "/" + std::to_string(units);
        ModuleBag bag;
        bag->SetStringProperty(1, text.c_str());
        Measure("string.set/module" + suffix, k_repeat, [&] {
            for (std::uint32_t i = 0; i < k_repeat; ++i)
                bag->SetStringProperty(1, text.c_str());
        });
        Measure("string.get/module" + suffix, k_repeat, [&] {
            for (std::uint32_t i = 0; i < k_repeat; ++i) {
                char16_t* copy = nullptr;
                bag->GetStringProperty(1, &copy);
                FreeWideString(copy);
            }
        });
        Measure("string.copy/baseline" + suffix, k_repeat, [&] {
            for (std::uint32_t i = 0; i < k_repeat; ++i) {
                std::u16string copy(text);
                benchmark::DoNotOptimize(copy.data());
            }
        });
    }
}

void Clones() {
    constexpr std::uint32_t k_clones = 4;
    ModuleBag bag;
    FillMixed(bag, 1000);
    Measure("bag.clone/module", k_clones, [&] {
        for (std::uint32_t i = 0; i < k_clones; ++i) {
            IkcSysPropertyBag* copy = nullptr;
            bag->Clone(&copy);
            copy->Release();
        }
    });
    BaselineBag baseline;
    FillMixed(baseline, 1000);
    Measure("bag.clone/baseline", k_clones, [&] {
        for (std::uint32_t i = 0; i < k_clones; ++i)
            delete new BaselineBag(baseline);
    });
}

void Enumeration() {
    constexpr std::uint32_t k_tags = 10000;
    ModuleBag bag;
    FillIntegers(bag, k_tags);
    std::set<std::uint32_t> tags;
    for (std::uint32_t i = 0; i < k_tags; ++i)
        tags.insert(TagOf(i));
    std::uint32_t elements[64];
    for (std::uint32_t batch : {1u, 64u}) {
        const std::string suffix = "/" + std::to_string(batch);
        IkcSysEnumPropertyTag* walker = nullptr;
        bag->EnumProperties(&walker);
        Measure("enum.next/module" + suffix, k_tags, [&] {
            walker->Reset();
            std::uint32_t fetched = 0;
            while (walker->Next(batch, elements, &fetched) == S_OK)
                benchmark::DoNotOptimize(elements);
        });
        walker->Release();
        Measure("enum.next/baseline" + suffix, k_tags, [&] {
            auto position = tags.cbegin();
            while (position != tags.cend()) {
                for (std::uint32_t n = 0; n < batch && position != tags.cend(); ++position)
                    elements[n++] = *position;
                benchmark::DoNotOptimize(elements);
            }
        });
    }
}

void Reporting() {
    for (std::uint32_t boards : {1u, 16u, 64u}) {
        const std::string suffix = "/" + std::to_string(boards);
        InstallBoards(boards);
        IkcSysExpert2* expert = NewInitialisedExpert();
        KeepingCollection collection;
        Measure("expert.search/module" + suffix, boards, [&] {
            expert->SearchForItemsAndProperties(&collection);
            collection.Empty();
        });
        const std::vector<std::u16string> names = ItemNamesOf(expert);
        Measure("expert.properties_of_item/module" + suffix, boards, [&] {
            for (const std::u16string& name : names) {
                IkcSysPropertyBag* bag = nullptr;
                expert->GetPropertiesOfItem(name.c_str(), &bag);
                bag->Release();
            }
        });
        expert->Release();
    }
}

} // namespace

int main() {
    Counting();
    Locks();
    for (std::uint32_t size : {10u, 1000u, 100000u}) {
        BagOperations<ModuleBag>("module", size);
        BagOperations<BaselineBag>("baseline", size);
        BagOperations<DataModelBag>("model", size);
    }
    Strings();
    Clones();
    Enumeration();
    Reporting();
    std::puts(RUNNING_ON_VALGRIND ? "scenario measured" : "scenario run (not under valgrind)");
    return 0;
}
