// Runs one check: in a child process of its own with a time limit, so that a crash or a hang
// becomes that check's failure and the other checks go on, or in the validator's own process
// for a debugger.
#ifndef QX_VALIDATE_RUNNER_H
#define QX_VALIDATE_RUNNER_H

#include "validate/check.h"

#include <string>
#include <vector>

// warned: only rules of the grade choice were broken, and --strict was not given.
enum class Outcome { passed, warned, failed, crashed, timedOut, skipped };
inline constexpr int k_outcomeCount = 6;

const char* OutcomeName(Outcome outcome); // "pass", "warn", "fail", "crash", "timeout", "skip"
// Whether the outcome makes the run fail: a failure, a crash or a time-out.
bool Fails(Outcome outcome);

struct CheckResult {
    const CheckRow* row = nullptr;
    Outcome outcome = Outcome::passed;
    std::vector<Failure> failures;
    std::string detail;        // the signal, the time-out or the reason for skipping
    std::string lastOperation; // the operation called last, for a crash or a time-out
    std::string note;          // how the check ran, where it sampled
    double seconds = 0;
};

CheckResult RunInChild(const CheckRow& row, ModuleUnderTest& module, std::uint32_t seed,
                       double timeLimit, bool strict);
CheckResult RunInProcess(const CheckRow& row, ModuleUnderTest& module, std::uint32_t seed,
                         bool strict);
// The outcome of a check that ended by itself, from what it recorded: a breach of a rule
// graded must fails it, one graded choice warns (fails under strict), a reason skips it.
void Classify(CheckResult& result, bool strict);

#endif
