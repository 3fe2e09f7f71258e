// qxzeva-validate: checks an expert module against the contracts of its interfaces, each
// check in a child process of its own, and reports what each found.
#include "cli/program_output.h"
#include "validate/check.h"
#include "validate/options.h"
#include "validate/report.h"
#include "validate/runner.h"
#include "validate/test_bed.h"

#include <cstdio>
#include <ctime>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// A module's crash is a check's outcome, reported by its signal: AddressSanitizer keeps its
// reports of the memory it watches, but leaves the fatal signals to their default action.
extern "C" const char* __asan_default_options();
extern "C" const char* __asan_default_options() {
    return "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0";
}
#endif

namespace {

constexpr char k_program[] = "qxzeva-validate";

int Write(const std::string& text, const char* what) {
    return WriteToStandardOutput(k_program, text, what);
}

std::vector<const CheckRow*> Selected(const ValidateOptions& options) {
    std::vector<const CheckRow*> checks;
    for (const CheckRow& row : CheckTable())
        if ((options.full || row.level == CheckLevel::quick) &&
            FilterMatches(options.filter, row.name))
            checks.push_back(&row);
    return checks;
}

// loading: the probe's run of module.loads, or null. The module's constructors and destructors
// run only at its first load and last unload, which the probe saw and no later child can.
RunSummary RunChecks(const ValidateOptions& options, const std::vector<const CheckRow*>& checks,
                     ModuleUnderTest& module, const CheckResult* loading) {
    RunSummary run;
    for (const CheckRow* row : checks) {
        if (loading != nullptr && row == loading->row) {
            run.results.push_back(*loading);
            run.failedRuns.push_back(Fails(loading->outcome) ? 1 : 0);
            continue;
        }
        CheckResult kept;
        unsigned failedRuns = 0;
        for (unsigned i = 0; i < options.repeat; ++i) {
            // Each run its own seed, so that repeats vary; the first is the seed reported.
            const std::uint32_t seed = options.seed + i * 0x9E3779B9u;
            CheckResult result =
                options.inProcess ? RunInProcess(*row, module, seed, options.strict)
                                  : RunInChild(*row, module, seed, options.timeout, options.strict);
            const bool bad = Fails(result.outcome) || result.outcome == Outcome::warned;
            if (i == 0 || (bad && failedRuns == 0))
                kept = result;
            failedRuns += bad ? 1 : 0;
        }
        run.results.push_back(kept);
        run.failedRuns.push_back(failedRuns);
    }
    return run;
}

int Validate(const ValidateOptions& options, const std::vector<const CheckRow*>& checks);

// The module as loaded in the validator's own process, kept there when its destructors failed
// in the probe's child: run again here, they could take the report with them.
qx_module* g_keptModule = nullptr;

void UnloadUnlessFailed(qx_module* module, bool unloads) {
    if (unloads)
        qxUnloadModule(module);
    else
        g_keptModule = module;
}

} // namespace

int main(int argc, char** argv) {
    ValidateOptions options;
    std::string why;
    if (!ParseValidateOptions(argc, argv, options, why))
        return Fail(k_program, k_statusUsage, WithHelpHint(why));
    if (options.help)
        return Write(HelpText(ValidateProgram()), "the help");
    if (options.version)
        return Write("qxzeva-validate " QX_VALIDATE_VERSION "\n", "the version");
    const std::vector<const CheckRow*> checks = Selected(options);
    if (options.list)
        return Write(CheckList(checks), "the list");
    if (checks.empty()) {
        ValidateOptions full = options;
        full.full = true;
        const bool atFull = !options.full && !Selected(full).empty();
        return Fail(k_program, k_statusUsage,
                    std::string("no ") + (options.full ? "" : "quick ") +
                        "check matches --filter " + options.filter +
                        (atFull ? "; with --level full some do" : ""));
    }
    if (!options.seedGiven)
        options.seed = static_cast<std::uint32_t>(std::time(nullptr));

    options.boardSet = ChooseBoardSet(options.boards, why);
    if (options.boardSet.empty())
        return Fail(k_program, k_validateTestBed, why);
    const int status = Validate(options, checks);
    RemoveOwnBoardSet();
    return status;
}

namespace {

int Validate(const ValidateOptions& options, const std::vector<const CheckRow*>& checks) {
    ModuleUnderTest module;
    module.path = options.modulePath;
    module.factoryName = options.factory;
    module.versionName = options.versionFunction;
    // Loading runs the module's constructors: first in a child, so that one that crashes or
    // hangs is reported instead of taking the validator down.
    const CheckRow* loads = &CheckTable().front();
    for (const CheckRow& row : CheckTable())
        loads = std::string(row.name) == "module.loads" ? &row : loads;
    const CheckResult probe =
        options.inProcess ? CheckResult{}
                          : RunInChild(*loads, module, options.seed, options.timeout, false);
    // A module that loads but fails to unload can be checked: that is module.loads' failure.
    const bool unloads = probe.outcome == Outcome::passed;
    if (!unloads && probe.lastOperation.rfind("qxUnloadModule", 0) != 0) {
        const std::string why = probe.failures.empty() ? probe.detail + " in " + probe.lastOperation
                                                       : probe.failures.front().got;
        return Fail(k_program, k_statusModule, module.path + ": " + why);
    }
    qx_load_status status = QX_LOAD_OK;
    char error[512];
    module.module = qxLoadModule(module.path.c_str(), &status, error, sizeof error);
    if (module.module == nullptr) {
        return Fail(k_program, k_statusModule, module.path + ": " + error);
    }
    // A board set the driver rejects, or none at all, leaves nothing to check: said once, and
    // no check runs.
    const CheckResult bed =
        options.inProcess
            ? RunInProcess(TestBedProbe(), module, options.seed, false)
            : RunInChild(TestBedProbe(), module, options.seed, options.timeout, false);
    if (bed.outcome == Outcome::skipped) {
        UnloadUnlessFailed(module.module, unloads);
        return Fail(k_program, k_validateTestBed,
                    "the test bed is unusable (boards: " + options.boardSet + "): " + bed.detail);
    }
    const RunSummary run = RunChecks(options, checks, module, options.inProcess ? nullptr : &probe);
    UnloadUnlessFailed(module.module, unloads);
    if (const int code =
            Write(options.json ? JsonReport(options, run) : TextReport(options, run), "the report"))
        return code;
    for (const CheckResult& result : run.results)
        if (Fails(result.outcome))
            return k_validateCheckFailed;
    return k_statusOk;
}

} // namespace
