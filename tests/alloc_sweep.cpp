#include "alloc_sweep.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr long k_mostRuns = 20000; // a scenario that never stops failing is a fault too

struct SweepTotals {
    long scenarios = 0;
    long injected = 0;
    long leaks = 0;
    long wrongResults = 0;
};
SweepTotals g_totals;

int FailedParts() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test != nullptr ? test->result()->total_part_count() : 0;
}

// Runs one pass; false when an exception came out of it.
bool RunOnce(const std::function<void(Injection&)>& run, Injection& injection) {
    try {
        run(injection);
        return true;
    } catch (...) {
        return false;
    }
}

// Totals of every sweep the program ran, for the reliability figures.
class SweepSummary : public ::testing::Environment {
public:
    void TearDown() override {
        if (g_totals.scenarios == 0)
            return;
        std::printf("allocation-failure sweep: %ld scenarios, %ld allocation failures injected, "
                    "%ld leaks, %ld wrong results\n",
                    g_totals.scenarios, g_totals.injected, g_totals.leaks, g_totals.wrongResults);
    }
};
const auto* const g_summary = ::testing::AddGlobalTestEnvironment(new SweepSummary);

} // namespace

void SweepAllocations(const char* scenario, const std::function<void()>& prepare,
                      const std::function<void(Injection&)>& run) {
    long injected = 0;
    long leaks = 0;
    long wrong = 0;
    prepare();
    Injection none(0);
    EXPECT_TRUE(RunOnce(run, none)) << scenario << ": an exception escaped without failures";
    for (long nth = 1; nth <= k_mostRuns; ++nth) {
        prepare();
        const int failedBefore = FailedParts();
        const long before = LiveAllocations();
        Injection injection(nth);
        const bool returned = RunOnce(run, injection);
        const long held = LiveAllocations() - before;
        EXPECT_TRUE(returned) << scenario << ": an exception escaped, allocation " << nth
                              << " failing";
        // A failed check keeps its message, so blocks are counted only after a run with none.
        if (FailedParts() != failedBefore) {
            ++wrong;
        } else if (held != 0) {
            ++leaks;
            ADD_FAILURE() << scenario << ": " << held << " blocks leaked, allocation " << nth
                          << " failing";
        }
        if (!injection.Injected())
            break;
        ++injected;
        ASSERT_LT(nth, k_mostRuns) << scenario << ": still failing after " << nth << " runs";
    }
    std::printf("[sweep] %s: %ld allocation failures injected, %ld leaks, %ld wrong results\n",
                scenario, injected, leaks, wrong);
    ++g_totals.scenarios;
    g_totals.injected += injected;
    g_totals.leaks += leaks;
    g_totals.wrongResults += wrong;
}
