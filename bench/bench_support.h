// What the benchmarks share: the module's bag and the baseline behind one set of names, so
// that one benchmark body measures both; bags filled to a size; lookup orders that are the
// same for both; and the names under which the report finds each figure.
#ifndef QX_BENCH_BENCH_SUPPORT_H
#define QX_BENCH_BENCH_SUPPORT_H

#include "baseline_bag.h"
#include "com/widestring.h"
#include "propertybag/dynamic_property_bag.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Existing tags are even; odd tags are never stored except while a benchmark inserts them.
constexpr std::uint32_t TagOf(std::uint32_t index) {
    return index * 2;
}

// The module's bag as the host holds it: one reference, every call through the interface.
class ModuleBag {
public:
    ModuleBag() : m_bag(MakeComObject<CkcDynamicPropertyBag>().detach()) {}
    explicit ModuleBag(IkcSysPropertyBag3* adopted) : m_bag(adopted) {}
    ~ModuleBag() { m_bag->Release(); }
    ModuleBag(const ModuleBag&) = delete;
    ModuleBag& operator=(const ModuleBag&) = delete;

    IkcSysPropertyBag3* operator->() const { return m_bag; }
    IkcSysPropertyBag3* Get() const { return m_bag; }

    HRESULT SetInteger(std::uint32_t tag, std::int32_t value) {
        return m_bag->SetIntegerProperty(tag, value);
    }
    HRESULT GetInteger(std::uint32_t tag, std::int32_t* value) {
        return m_bag->GetIntegerProperty(tag, value);
    }
    HRESULT Has(std::uint32_t tag) { return m_bag->HasProperty(tag); }
    HRESULT Delete(std::uint32_t tag) { return m_bag->DeleteProperty(tag); }

private:
    IkcSysPropertyBag3* m_bag;
};

// Adds integer properties under the first count even tags.
template <class Bag>
void FillIntegers(Bag& bag, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i)
        bag.SetInteger(TagOf(i), static_cast<std::int32_t>(i));
}

// A fixed pseudo-random order of length values below limit, the same in every run.
std::vector<std::uint32_t> ShuffledIndices(std::uint32_t limit, std::size_t length,
                                           std::uint32_t seed = 12345);

// 1 000 properties of all seven types in turn; strings of 16 units.
void FillMixed(ModuleBag& bag, std::uint32_t count);
void FillMixed(BaselineBag& bag, std::uint32_t count);

// How many measured operations one benchmark iteration makes: the report divides by it.
// Averaged over threads, so that a threaded benchmark reports one thread's batch.
inline void SetBatch(benchmark::State& state, double operations) {
    state.counters["batch"] = benchmark::Counter(operations, benchmark::Counter::kAvgThreads);
}

std::u16string TextOfUnits(std::size_t units);

#endif
