// Runs one check: in a child process of its own with a time limit, so that a crash or a hang
// becomes that check's failure and the other checks go on, or in the validator's own process
// for a debugger.
#ifndef QX_VALIDATE_RUNNER_H
#define QX_VALIDATE_RUNNER_H

#include "validate/check.h"

#include <string>
#include <vector>

enum class Outcome { passed, failed, crashed, timedOut, skipped };

const char* OutcomeName(Outcome outcome); // "pass", "fail", "crash", "timeout", "skip"

struct CheckResult {
    const CheckRow* row = nullptr;
    Outcome outcome = Outcome::passed;
    std::vector<Failure> failures;
    std::string detail;        // the signal, the time-out or the reason for skipping
    std::string lastOperation; // the operation called last, for a crash or a time-out
    double seconds = 0;
};

CheckResult RunInChild(const CheckRow& row, ModuleUnderTest& module, std::uint32_t seed,
                       double timeLimit);
CheckResult RunInProcess(const CheckRow& row, ModuleUnderTest& module, std::uint32_t seed);

#endif
