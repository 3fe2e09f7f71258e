// One AddRef and one Release against one increment and one decrement of a std::atomic
// counter, on one thread and with two threads counting the same object at once.
#include "bench_support.h"

#include <atomic>

namespace {

// Made once, before any thread counts, and kept for the whole run: the shared object.
IkcSysPropertyBag3* SharedObject() {
    static IkcSysPropertyBag3* const object = MakeComObject<CkcDynamicPropertyBag>().detach();
    return object;
}

std::atomic<std::int32_t> g_atomicCount{1};

void ModulePair(benchmark::State& state) {
    IkcSysPropertyBag3* object = SharedObject();
    for (auto _ : state) {
        benchmark::DoNotOptimize(object->AddRef());
        benchmark::DoNotOptimize(object->Release());
    }
    SetBatch(state, 1);
}

void AtomicPair(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(g_atomicCount.fetch_add(1, std::memory_order_acq_rel) + 1);
        benchmark::DoNotOptimize(g_atomicCount.fetch_sub(1, std::memory_order_acq_rel) - 1);
    }
    SetBatch(state, 1);
}

const bool k_registered = [] {
    for (int threads : {1, 2}) {
        benchmark::RegisterBenchmark("refcount.pair/module", ModulePair)
            ->Threads(threads)
            ->UseRealTime();
        benchmark::RegisterBenchmark("refcount.pair/baseline", AtomicPair)
            ->Threads(threads)
            ->UseRealTime();
    }
    return true;
}();

} // namespace
