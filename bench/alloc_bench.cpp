// Allocations per stored property, by type: what a Set on a new tag allocates (blocks and
// bytes), and what stays allocated per property once the changed marks are cleared. Strings
// are 16 units. Reported as counters of a benchmark that runs once; no time is measured.
#include "alloc_counter.h"
#include "bench_support.h"

namespace {

constexpr std::uint32_t k_properties = 1000;
const char16_t k_text[] = u"abcdefghijklmnop"; // 16 units

struct Setter {
    const char* name;
    void (*module)(IkcSysPropertyBag3* bag, std::uint32_t tag);
    void (*baseline)(BaselineBag& bag, std::uint32_t tag);
};

const Setter k_setters[] = {
    {"boolean", [](IkcSysPropertyBag3* b, std::uint32_t t) { b->SetBooleanProperty(t, 1); },
     [](BaselineBag& b, std::uint32_t t) { b.SetBoolean(t, true); }},
    {"integer", [](IkcSysPropertyBag3* b, std::uint32_t t) { b->SetIntegerProperty(t, -1); },
     [](BaselineBag& b, std::uint32_t t) { b.SetInteger(t, -1); }},
    {"unsigned",
     [](IkcSysPropertyBag3* b, std::uint32_t t) { b->SetUnsignedIntegerProperty(t, 1); },
     [](BaselineBag& b, std::uint32_t t) { b.SetUnsigned(t, 1); }},
    {"double", [](IkcSysPropertyBag3* b, std::uint32_t t) { b->SetDoubleProperty(t, 0.5); },
     [](BaselineBag& b, std::uint32_t t) { b.SetDouble(t, 0.5); }},
    {"guid", [](IkcSysPropertyBag3* b, std::uint32_t t) { b->SetGuidProperty(t, _GUID{}); },
     [](BaselineBag& b, std::uint32_t t) { b.SetGuid(t, _GUID{}); }},
    {"string", [](IkcSysPropertyBag3* b, std::uint32_t t) { b->SetStringProperty(t, k_text); },
     [](BaselineBag& b, std::uint32_t t) { b.SetString(t, k_text); }},
    {"timestamp",
     [](IkcSysPropertyBag3* b, std::uint32_t t) {
         const kcSysAttrTimestampUTC stamp = MakeTimestampUTC(0, 1, 0, 0);
         b->SetTimestampPropertyUTC(t, &stamp);
     },
     [](BaselineBag& b, std::uint32_t t) { b.SetTimestamp(t, MakeTimestampUTC(0, 1, 0, 0)); }},
};

// set: the Sets of k_properties new tags; cleared: what clearing the changed marks gave
// back (nothing for the baseline, which has none).
void Report(benchmark::State& state, const AllocationTally& set, const AllocationTally& cleared) {
    const double n = k_properties;
    state.counters["blocks_per_set"] = static_cast<double>(set.blocks) / n;
    state.counters["bytes_per_set"] = static_cast<double>(set.bytes) / n;
    state.counters["blocks_kept"] = static_cast<double>(set.blocks - set.frees - cleared.frees) / n;
    state.counters["bytes_kept"] = static_cast<double>(set.bytes - cleared.sizedFreeBytes) / n;
}

void ModuleAllocations(benchmark::State& state, const Setter* setter) {
    for (auto _ : state) {
        ModuleBag bag;
        AllocationTally set;
        AllocationTally cleared;
        {
            AllocationCounter counter;
            for (std::uint32_t i = 0; i < k_properties; ++i)
                setter->module(bag.Get(), TagOf(i));
            set = counter.Tally();
        }
        {
            AllocationCounter counter;
            bag->ClearChangedTags();
            cleared = counter.Tally();
        }
        Report(state, set, cleared);
    }
}

void BaselineAllocations(benchmark::State& state, const Setter* setter) {
    for (auto _ : state) {
        BaselineBag bag;
        AllocationTally set;
        {
            AllocationCounter counter;
            for (std::uint32_t i = 0; i < k_properties; ++i)
                setter->baseline(bag, TagOf(i));
            set = counter.Tally();
        }
        Report(state, set, AllocationTally());
    }
}

const bool k_registered = [] {
    for (const Setter& setter : k_setters) {
        const std::string type = setter.name;
        benchmark::RegisterBenchmark(("alloc." + type + "/module").c_str(), ModuleAllocations,
                                     &setter)
            ->Iterations(1);
        benchmark::RegisterBenchmark(("alloc." + type + "/baseline").c_str(), BaselineAllocations,
                                     &setter)
            ->Iterations(1);
    }
    return true;
}();

} // namespace
