// The locks beneath the figures: one acquisition and release of a bag's section (CqxCS on a
// kernel semaphore) against a std::recursive_mutex, and of the global counting lock against
// a std::mutex. The report subtracts the difference from the bag's figures to show what the
// store costs apart from its lock.
#include "bench_support.h"

#include "com/qxcs.h"
#include "com/qxmutex.h"

#include <mutex>

namespace {

void SectionPair(benchmark::State& state) {
    Tessaly::CqxCS section;
    Tessaly::CqxSyncObject& lock = section; // as the bag's scoped lock reaches it
    for (auto _ : state) {
        benchmark::DoNotOptimize(lock.Lock(-1));
        benchmark::DoNotOptimize(lock.Unlock());
    }
    SetBatch(state, 1);
}

void RecursiveMutexPair(benchmark::State& state) {
    std::recursive_mutex mutex;
    for (auto _ : state) {
        mutex.lock();
        benchmark::ClobberMemory();
        mutex.unlock();
    }
    SetBatch(state, 1);
}

void GlobalLockPair(benchmark::State& state) {
    for (auto _ : state) {
        g_InterLockedIncDec->Lock();
        benchmark::ClobberMemory();
        g_InterLockedIncDec->Unlock();
    }
    SetBatch(state, 1);
}

void MutexPair(benchmark::State& state) {
    std::mutex mutex;
    for (auto _ : state) {
        mutex.lock();
        benchmark::ClobberMemory();
        mutex.unlock();
    }
    SetBatch(state, 1);
}

const bool k_registered = [] {
    benchmark::RegisterBenchmark("lock.section/module", SectionPair);
    benchmark::RegisterBenchmark("lock.section/baseline", RecursiveMutexPair);
    benchmark::RegisterBenchmark("lock.global/module", GlobalLockPair);
    benchmark::RegisterBenchmark("lock.global/baseline", MutexPair);
    return true;
}();

} // namespace
