// Several tasks on shared objects, and the module loaded and unloaded again and again.
#include "validate/alloc_interposer.h"
#include "validate/check.h"
#include "validate/checks.h"

#include <time.h>

#include <atomic>
#include <random>
#include <thread>

namespace {

constexpr int k_tasks = 4;
constexpr int k_rounds = 400;
// How long the tasks count at once. A count changed by a plain read and write loses an update
// when a task is preempted between the two, or when two run it at once on two cores; on a
// machine busy with other work the second is rare, so waking tasks beside them preempt the
// counting tasks at many points. On a two-core machine shared with other work this caught
// such a count in at least 19 of 20 runs (see docs/performance.md).
constexpr double k_countingSeconds = 3.0;
constexpr int k_countingPhases = 12;
constexpr long k_wakeNanoseconds = 20000;
constexpr int k_countingBurst = 64; // AddRefs in a row, then as many Releases

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Starts every task at once and waits for them all.
template <class F>
void InTasks(F task) {
    std::atomic<int> ready{0};
    std::vector<std::thread> tasks;
    tasks.reserve(k_tasks);
    for (int t = 0; t < k_tasks; ++t)
        tasks.emplace_back([&, t] {
            ++ready;
            while (ready.load() < k_tasks)
                std::this_thread::yield();
            task(t);
        });
    for (std::thread& thread : tasks)
        thread.join();
}

int32_t CountOf(CheckContext& cx, IUnknown* object, const char* label) {
    cx.Calling(std::string(label) + "::AddRef()");
    const int32_t count = object->lpVtbl->AddRef(object);
    object->lpVtbl->Release(object);
    return count;
}

// Counting alone, in bursts up and down, until the time is up, looking at the counts after
// each phase: a count changed by a plain read and write loses updates here, the bursts keep
// a lost increment from being made good by a lost decrement, and each look may find the loss.
void CountInBursts(CheckContext& cx, IkcSysExpert2* expert, IkcSysPropertyBag3* bag) {
    IUnknown* objects[] = {reinterpret_cast<IUnknown*>(expert), reinterpret_cast<IUnknown*>(bag)};
    for (int phase = 1; phase <= k_countingPhases; ++phase) {
        cx.Calling("AddRef and Release in bursts on four tasks, phase " + std::to_string(phase));
        InTasks([&](int) {
            const double end = Now() + k_countingSeconds / k_countingPhases;
            std::thread waking([end] {
                const timespec pause{0, k_wakeNanoseconds};
                while (Now() < end)
                    nanosleep(&pause, nullptr);
            });
            for (unsigned round = 0; Now() < end; ++round) {
                IUnknown* object = objects[round & 1];
                for (int i = 0; i < k_countingBurst; ++i)
                    object->lpVtbl->AddRef(object);
                for (int i = 0; i < k_countingBurst; ++i)
                    object->lpVtbl->Release(object);
            }
            waking.join();
        });
        const int32_t expertCount = CountOf(cx, objects[0], "IkcSysExpert2");
        const int32_t bagCount = CountOf(cx, objects[1], "IkcSysPropertyBag3");
        if (!cx.Expect(expertCount == 2 && bagCount == 2,
                       "AddRef and Release change the count atomically: after tasks counted up "
                       "and down at once, each object holds only the check's reference",
                       "AddRef() on the expert and on the bag after phase " +
                           std::to_string(phase) + " of counting in bursts on four tasks",
                       std::to_string(expertCount) + " and " + std::to_string(bagCount), "2 and 2"))
            return;
    }
}

} // namespace

void CheckThreadsCounting(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    std::atomic<int> wrong{0};
    cx.Calling("QueryInterface, AddRef, Release and GetProductVersion on four tasks");
    InTasks([&](int t) {
        std::mt19937 random(cx.Seed() + static_cast<std::uint32_t>(t));
        for (int i = 0; i < k_rounds; ++i) {
            void* out = nullptr;
            const _GUID& iid = qxInterfaces[random() % QXZEVA_INTERFACE_COUNT].iid[0];
            IUnknown* object = random() % 2 != 0 ? reinterpret_cast<IUnknown*>(expert.get())
                                                 : reinterpret_cast<IUnknown*>(bag.get());
            if (object->lpVtbl->QueryInterface(object, &iid, &out) == S_OK)
                static_cast<IUnknown*>(out)->lpVtbl->Release(static_cast<IUnknown*>(out));
            if (object->lpVtbl->AddRef(object) < 2)
                ++wrong;
            object->lpVtbl->Release(object);
            QX_WCHAR* version = nullptr;
            if (expert->lpVtbl->GetProductVersion(expert.get(), &version) != S_OK)
                ++wrong;
            qxFreeWideString(version);
        }
    });
    cx.Expect(wrong == 0, "counting and identity operations work from several tasks at once",
              "AddRef and GetProductVersion on four tasks",
              std::to_string(wrong.load()) + " wrong answers", "none");
    const int32_t expertCount =
        CountOf(cx, reinterpret_cast<IUnknown*>(expert.get()), "IkcSysExpert2");
    const int32_t bagCount =
        CountOf(cx, reinterpret_cast<IUnknown*>(bag.get()), "IkcSysPropertyBag3");
    cx.Expect(
        expertCount == 2 && bagCount == 2,
        "after tasks counted up and down at once, each object holds only the check's reference",
        "AddRef() on the expert and on the bag after the tasks",
        std::to_string(expertCount) + " and " + std::to_string(bagCount), "2 and 2");
    CountInBursts(cx, expert.get(), bag.get());
}

void CheckThreadsBag(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    constexpr std::uint32_t base = 0x7E000100u;
    std::atomic<int> wrong{0};
    cx.Calling("Set, Get, batch lock and Clone on one bag from four tasks");
    InTasks([&](int t) {
        std::mt19937 random(cx.Seed() ^ (0x5BD1E995u * static_cast<std::uint32_t>(t + 1)));
        const std::uint32_t tag = base + static_cast<std::uint32_t>(t);
        auto* v = bag->lpVtbl;
        for (int i = 0; i < k_rounds; ++i) {
            const bool batch = random() % 4 == 0;
            if (batch)
                v->AcquireBatchLock(bag.get());
            const auto value = static_cast<std::uint32_t>(i);
            std::uint32_t got = ~value;
            if (v->SetUnsignedIntegerProperty(bag.get(), tag, value) != S_OK ||
                v->GetUnsignedIntegerProperty(bag.get(), tag, &got) != S_OK || got != value)
                ++wrong;
            if (batch && v->ReleaseBatchLock(bag.get()) != S_OK)
                ++wrong;
            if (random() % 16 == 0) {
                IkcSysPropertyBag* copy = nullptr;
                if (v->Clone(bag.get(), &copy) != S_OK)
                    ++wrong;
                else
                    copy->lpVtbl->Release(copy);
            }
        }
    });
    cx.Expect(wrong == 0,
              "a bag serialises the calls of several tasks: each task reads what it "
              "stored",
              "Set and Get of a task's own tag on four tasks",
              std::to_string(wrong.load()) + " wrong", "none");
    for (int t = 0; t < k_tasks; ++t) {
        std::uint32_t got = 0;
        const std::uint32_t tag = base + static_cast<std::uint32_t>(t);
        bag->lpVtbl->GetUnsignedIntegerProperty(bag.get(), tag, &got);
        cx.Expect(got == k_rounds - 1, "each task's last value stays",
                  "IkcSysPropertyBag3::GetUnsignedIntegerProperty(" + Hex(tag) + ", &value)",
                  std::to_string(got), std::to_string(k_rounds - 1));
    }
    const int32_t count = CountOf(cx, reinterpret_cast<IUnknown*>(bag.get()), "IkcSysPropertyBag3");
    cx.Expect(count == 2, "after the tasks the bag holds only the check's reference",
              "IkcSysPropertyBag3::AddRef()", std::to_string(count), "2");
    cx.Calling("IkcSysPropertyBag3::ReleaseBatchLock() after the tasks");
    cx.ExpectResult(bag->lpVtbl->ReleaseBatchLock(bag.get()), E_FAIL,
                    "no batch lock is left held after the tasks",
                    "IkcSysPropertyBag3::ReleaseBatchLock()");
}

void CheckLoadCycles(CheckContext& cx) {
    ModuleUnderTest& m = cx.Module();
    // The validator's own load would keep the module mapped: give it back first.
    qxUnloadModule(m.module);
    m.module = nullptr;
    long afterTen = 0;
    for (int cycle = 1; cycle <= 100; ++cycle) {
        char error[512];
        const std::string call = "qxLoadModule(\"" + m.path + "\"), cycle " + std::to_string(cycle);
        cx.Calling(call);
        m.module = qxLoadModule(m.path.c_str(), nullptr, error, sizeof error);
        cx.Require(m.module != nullptr, "the module loads again after it was unloaded", call, error,
                   "a module");
        {
            Ref<IkcSysExpert2> expert = cx.InitializedExpert();
            Ref<IkcSysPropertyBag3> bag;
            const std::vector<std::u16string> names = cx.ItemNames(expert.get());
            if (!names.empty())
                expert->lpVtbl->GetPropertiesOfItem(
                    expert.get(), reinterpret_cast<const QX_WCHAR*>(names[0].c_str()), bag.put());
        }
        cx.Calling("qxUnloadModule(module), cycle " + std::to_string(cycle));
        cx.Expect(qxUnloadModule(m.module) == 0, "the module unloads", "qxUnloadModule(module)",
                  "-1", "0");
        m.module = nullptr;
        if (cycle == 10)
            afterTen = LiveBlocks();
    }
    const long growth = LiveBlocks() - afterTen;
    m.module = qxLoadModule(m.path.c_str(), nullptr, nullptr, 0);
    if (!AllocatorInterposed())
        cx.Skip("the loads and unloads ran, but this build runs under a sanitizer, whose "
                "allocator it does not replace, so the blocks kept cannot be counted");
    cx.Expect(growth <= 10, "loading and unloading the module keeps no memory",
              "90 cycles of load, factory, Initialize, a bag, Release and unload",
              std::to_string(growth) + " more blocks held", "at most 10 (none per cycle)");
}
