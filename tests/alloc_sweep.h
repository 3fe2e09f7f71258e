// Sweeps the allocation failures of a scenario: the scenario runs once without failures, then
// again and again with the 1st, 2nd, 3rd ... allocation of the module's code failing, until a
// run reaches no failing allocation. Each run must give back every block it took; what else
// it must show (the result the path allows, an object still usable and consistent) the
// scenario checks itself. Only the windows the scenario marks with During count, so that the
// test's own allocations between them are never failed.
#ifndef QX_TESTS_ALLOC_SWEEP_H
#define QX_TESTS_ALLOC_SWEEP_H

#include "alloc_failure.h"

#include <functional>

class Injection {
public:
    // nth 0: a run without failures.
    explicit Injection(long nth) : m_left(nth) {}

    // Runs work with the countdown armed; one count runs on across all windows of a run.
    template <class Work>
    void During(Work&& work) {
        if (m_left <= 0) {
            work();
            return;
        }
        AllocationFailure failure(AllocationFailure::k_any, m_left);
        work();
        if (failure.Failed()) {
            m_injected = true;
            m_left = 0;
        } else {
            m_left -= failure.Seen();
        }
    }

    // Whether this run's failing allocation was reached.
    bool Injected() const { return m_injected; }

private:
    long m_left;
    bool m_injected = false;
};

// prepare sets the scene outside the counted blocks (the driver's boards); run makes,
// uses and releases every object of the scenario.
void SweepAllocations(const char* scenario, const std::function<void()>& prepare,
                      const std::function<void(Injection&)>& run);

inline void SweepAllocations(const char* scenario, const std::function<void(Injection&)>& run) {
    SweepAllocations(
        scenario, [] {}, run);
}

#endif
