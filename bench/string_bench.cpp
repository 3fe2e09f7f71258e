// SetStringProperty and GetStringProperty of 16- and 256-unit strings on an existing tag,
// against one copy of a std::u16string of the same length. A string handed out is freed
// as its receiver frees it, just as the copy is destroyed.
#include "bench_support.h"

namespace {

constexpr std::uint32_t k_tag = 0x01006000;

void ModuleSet(benchmark::State& state) {
    const std::u16string text = TextOfUnits(static_cast<std::size_t>(state.range(0)));
    ModuleBag bag;
    bag->SetStringProperty(k_tag, text.c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(bag->SetStringProperty(k_tag, text.c_str()));
    SetBatch(state, 1);
}

void ModuleGet(benchmark::State& state) {
    const std::u16string text = TextOfUnits(static_cast<std::size_t>(state.range(0)));
    ModuleBag bag;
    bag->SetStringProperty(k_tag, text.c_str());
    for (auto _ : state) {
        char16_t* copy = nullptr;
        benchmark::DoNotOptimize(bag->GetStringProperty(k_tag, &copy));
        benchmark::DoNotOptimize(copy);
        FreeWideString(copy);
    }
    SetBatch(state, 1);
}

void BaselineCopy(benchmark::State& state) {
    const std::u16string text = TextOfUnits(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::u16string copy(text);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    SetBatch(state, 1);
}

const bool k_registered = [] {
    benchmark::RegisterBenchmark("string.set/module", ModuleSet)->Arg(16)->Arg(256);
    benchmark::RegisterBenchmark("string.get/module", ModuleGet)->Arg(16)->Arg(256);
    benchmark::RegisterBenchmark("string.copy/baseline", BaselineCopy)->Arg(16)->Arg(256);
    return true;
}();

} // namespace
