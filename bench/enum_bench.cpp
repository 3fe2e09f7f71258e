// A tag enumerator's Next in batches of 1 and of 64 over 10 000 tags, per element, against
// walking the std::set the enumerator walks. Both start again at the end.
#include "bench_support.h"

#include "com/enuminterfaces.h"

#include <set>

namespace {

constexpr std::uint32_t k_tags = 10000;
constexpr std::uint32_t k_mostBatch = 64;

void ModuleNext(benchmark::State& state) {
    const auto batch = static_cast<std::uint32_t>(state.range(0));
    ModuleBag bag;
    FillIntegers(bag, k_tags);
    IkcSysEnumPropertyTag* tags = nullptr;
    bag->EnumProperties(&tags);
    std::uint32_t elements[k_mostBatch];
    std::uint64_t delivered = 0;
    for (auto _ : state) {
        std::uint32_t fetched = 0;
        if (tags->Next(batch, elements, &fetched) != S_OK)
            tags->Reset();
        benchmark::DoNotOptimize(elements);
        delivered += fetched;
    }
    tags->Release();
    // Per element: every Next that reached the end delivered less than a batch.
    SetBatch(state, static_cast<double>(delivered) / static_cast<double>(state.iterations()));
}

void BaselineWalk(benchmark::State& state) {
    const auto batch = static_cast<std::uint32_t>(state.range(0));
    std::set<std::uint32_t> tags;
    for (std::uint32_t i = 0; i < k_tags; ++i)
        tags.insert(TagOf(i));
    auto position = tags.cbegin();
    std::uint32_t elements[k_mostBatch];
    std::uint64_t delivered = 0;
    for (auto _ : state) {
        std::uint32_t fetched = 0;
        for (; fetched < batch && position != tags.cend(); ++position)
            elements[fetched++] = *position;
        if (fetched < batch)
            position = tags.cbegin();
        benchmark::DoNotOptimize(elements);
        delivered += fetched;
    }
    SetBatch(state, static_cast<double>(delivered) / static_cast<double>(state.iterations()));
}

const bool k_registered = [] {
    benchmark::RegisterBenchmark("enum.next/module", ModuleNext)->Arg(1)->Arg(64);
    benchmark::RegisterBenchmark("enum.next/baseline", BaselineWalk)->Arg(1)->Arg(64);
    return true;
}();

} // namespace
