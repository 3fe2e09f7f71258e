// Clone of a bag of 1 000 properties of all seven types against the baseline's deep copy.
// Only the copying is timed; the copy is destroyed outside the measurement.
#include "bench_support.h"

namespace {

constexpr std::uint32_t k_properties = 1000;

void ModuleClone(benchmark::State& state) {
    ModuleBag bag;
    FillMixed(bag, k_properties);
    for (auto _ : state) {
        IkcSysPropertyBag* copy = nullptr;
        benchmark::DoNotOptimize(bag->Clone(&copy));
        state.PauseTiming();
        copy->Release();
        state.ResumeTiming();
    }
    SetBatch(state, 1);
}

void BaselineClone(benchmark::State& state) {
    BaselineBag bag;
    FillMixed(bag, k_properties);
    for (auto _ : state) {
        auto* copy = new BaselineBag(bag);
        benchmark::DoNotOptimize(copy);
        state.PauseTiming();
        delete copy;
        state.ResumeTiming();
    }
    SetBatch(state, 1);
}

const bool k_registered = [] {
    benchmark::RegisterBenchmark("bag.clone/module", ModuleClone)->UseRealTime();
    benchmark::RegisterBenchmark("bag.clone/baseline", BaselineClone)->UseRealTime();
    return true;
}();

} // namespace
