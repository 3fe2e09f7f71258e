// SearchForItemsAndProperties and GetPropertiesOfItem over 1, 16 and 64 simulated boards,
// per board. The host's collection keeps the bags, as a host does; they are released
// outside the measurement.
#include "bench_boards.h"
#include "bench_support.h"

namespace {

void Search(benchmark::State& state) {
    const auto boards = static_cast<std::uint32_t>(state.range(0));
    InstallBoards(boards);
    IkcSysExpert2* expert = NewInitialisedExpert();
    KeepingCollection collection;
    collection.Empty();
    for (auto _ : state) {
        benchmark::DoNotOptimize(expert->SearchForItemsAndProperties(&collection));
        state.PauseTiming();
        collection.Empty();
        state.ResumeTiming();
    }
    expert->Release();
    SetBatch(state, boards);
}

void PropertiesOfEveryItem(benchmark::State& state) {
    const auto boards = static_cast<std::uint32_t>(state.range(0));
    InstallBoards(boards);
    IkcSysExpert2* expert = NewInitialisedExpert();
    const std::vector<std::u16string> names = ItemNamesOf(expert);
    std::vector<IkcSysPropertyBag*> bags(names.size(), nullptr);
    for (auto _ : state) {
        for (std::size_t i = 0; i < names.size(); ++i)
            benchmark::DoNotOptimize(expert->GetPropertiesOfItem(names[i].c_str(), &bags[i]));
        state.PauseTiming();
        for (IkcSysPropertyBag*& bag : bags)
            bag->Release();
        state.ResumeTiming();
    }
    expert->Release();
    SetBatch(state, boards);
}

const bool k_registered = [] {
    benchmark::RegisterBenchmark("expert.search/module", Search)
        ->Arg(1)
        ->Arg(16)
        ->Arg(64)
        ->UseRealTime();
    benchmark::RegisterBenchmark("expert.properties_of_item/module", PropertiesOfEveryItem)
        ->Arg(1)
        ->Arg(16)
        ->Arg(64)
        ->UseRealTime();
    return true;
}();

} // namespace
