// The bag's typed store against the baseline at 10, 1 000 and 100 000 properties: Set on a
// new tag, Set on an existing tag, Get, HasProperty and DeleteProperty, one integer at a time.
// The bag's data model on its own is measured beside them.
#include "bench_support.h"
#include "data_model_bag.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr std::size_t k_orderLength = 4096; // a power of two

// Runs of distinct new (odd) tags: set one run, time it, delete it again, so that the bag
// keeps its size between runs. Small bags take runs as long as themselves.
class NewTagRuns {
public:
    explicit NewTagRuns(std::uint32_t size) : m_runLength(std::min<std::uint32_t>(size, 16)) {
        const auto order = ShuffledIndices(size, k_orderLength * 4);
        std::vector<std::uint32_t> run;
        for (std::size_t i = 0; m_tags.size() < k_runs * m_runLength; ++i) {
            const std::uint32_t tag = TagOf(order[i % order.size()] + (i / order.size())) + 1;
            if (std::find(run.begin(), run.end(), tag) != run.end())
                continue;
            run.push_back(tag);
            if (run.size() == m_runLength) {
                m_tags.insert(m_tags.end(), run.begin(), run.end());
                run.clear();
            }
        }
    }
    std::uint32_t RunLength() const { return m_runLength; }
    const std::uint32_t* Run(std::size_t index) const {
        return &m_tags[(index % k_runs) * m_runLength];
    }

private:
    static constexpr std::size_t k_runs = 256;
    std::uint32_t m_runLength;
    std::vector<std::uint32_t> m_tags;
};

// Times either the Sets of new tags or the Deletes that remove them again.
template <class Bag, bool TimeDeletes>
void SetNewOrDelete(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const auto size = static_cast<std::uint32_t>(state.range(0));
    Bag bag;
    FillIntegers(bag, size);
    const NewTagRuns runs(size);
    std::size_t index = 0;
    for (auto _ : state) {
        const std::uint32_t* run = runs.Run(index++);
        const auto start = Clock::now();
        for (std::uint32_t i = 0; i < runs.RunLength(); ++i)
            benchmark::DoNotOptimize(bag.SetInteger(run[i], 7));
        const auto middle = Clock::now();
        for (std::uint32_t i = 0; i < runs.RunLength(); ++i)
            benchmark::DoNotOptimize(bag.Delete(run[i]));
        const auto end = Clock::now();
        const auto timed = TimeDeletes ? end - middle : middle - start;
        state.SetIterationTime(std::chrono::duration<double>(timed).count());
    }
    SetBatch(state, runs.RunLength());
}

template <class Bag, class Operation>
void OnExistingTags(benchmark::State& state, Operation operation) {
    const auto size = static_cast<std::uint32_t>(state.range(0));
    Bag bag;
    FillIntegers(bag, size);
    const auto order = ShuffledIndices(size, k_orderLength);
    std::size_t index = 0;
    for (auto _ : state) {
        const std::uint32_t tag = TagOf(order[index++ & (k_orderLength - 1)]);
        benchmark::DoNotOptimize(operation(bag, tag));
    }
    SetBatch(state, 1);
}

template <class Bag>
void SetExisting(benchmark::State& state) {
    OnExistingTags<Bag>(state, [](Bag& bag, std::uint32_t tag) { return bag.SetInteger(tag, 5); });
}

template <class Bag>
void Get(benchmark::State& state) {
    OnExistingTags<Bag>(state, [](Bag& bag, std::uint32_t tag) {
        std::int32_t value = 0;
        const HRESULT result = bag.GetInteger(tag, &value);
        benchmark::DoNotOptimize(value);
        return result;
    });
}

template <class Bag>
void Has(benchmark::State& state) {
    OnExistingTags<Bag>(state, [](Bag& bag, std::uint32_t tag) { return bag.Has(tag); });
}

template <class Bag>
void Register(const std::string& name, void (*function)(benchmark::State&), bool manual) {
    auto* registered = benchmark::RegisterBenchmark(name.c_str(), function);
    registered->Arg(10)->Arg(1000)->Arg(100000);
    if (manual)
        registered->UseManualTime();
}

template <class Bag>
void RegisterAll(const std::string& side) {
    Register<Bag>("bag.set_new/" + side, &SetNewOrDelete<Bag, false>, true);
    Register<Bag>("bag.set_existing/" + side, &SetExisting<Bag>, false);
    Register<Bag>("bag.get/" + side, &Get<Bag>, false);
    Register<Bag>("bag.has/" + side, &Has<Bag>, false);
    Register<Bag>("bag.delete/" + side, &SetNewOrDelete<Bag, true>, true);
}

const bool k_registered = [] {
    RegisterAll<ModuleBag>("module");
    RegisterAll<BaselineBag>("baseline");
    RegisterAll<DataModelBag>("model");
    return true;
}();

} // namespace
