// The host program: loads the expert module as the host framework does and shows a person
// what it reports.
#include "cli/json_report.h"
#include "cli/module_choice.h"
#include "cli/program_output.h"
#include "host/board_selection.h"
#include "host/exit_codes.h"
#include "host/expert_session.h"
#include "host/options.h"
#include "host/report.h"
#include "host/unreported_boards.h"

#include <zevadriver_control.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr char k_boardsVariable[] = "ZEVADRIVER_BOARDS";
constexpr char k_program[] = "qxzeva-host";

int Fail(HostExit code, const std::string& message) {
    return ::Fail(k_program, code, message);
}

// The boards: --boards, else the file ZEVADRIVER_BOARDS names, else the driver's own. The
// program reads the variable itself and takes it from the environment before the driver's
// first use, so that a broken file is the same error by either route rather than a warning
// from the driver and its built-in boards.
HostExit LoadBoards(const HostOptions& options, std::string* error) {
    std::string path = options.boardsFile;
    std::string route;
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read before any task starts
    const char* variable = std::getenv(k_boardsVariable);
    if (path.empty() && variable != nullptr && *variable != '\0') {
        path = variable;
        route = std::string(" (") + k_boardsVariable + ")";
    }
    unsetenv(k_boardsVariable); // NOLINT(concurrency-mt-unsafe): no task has started yet
    if (path.empty())
        return k_exitOk;
    char reason[512] = {};
    if (zevadriverLoadDescription(path.c_str(), reason, sizeof reason) != 0) {
        *error = "bad board description" + route + ": " + reason;
        return k_exitBoards;
    }
    return k_exitOk;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHolder = std::unique_ptr<std::FILE, FileCloser>;

// The report, and the boards the driver knows that the module did not report.
HostExit Collect(const HostOptions& options, CallTrace* trace, HostReport* report,
                 UnreportedBoards* unreported, std::string* error) {
    const ModuleChoice module = ChooseModule(options.modulePath, "given with --module");
    report->modulePath = module.path;
    report->namesOnly = options.namesOnly;
    report->selected = !options.item.empty();
    // Only the bags tell where a board is and its serial number: with a selection, even
    // the names alone need them.
    const BoardSelection selection = MakeSelection(options.slot, options.serial);
    ExpertSession session(trace);
    HostExit code = session.Load(module.path, module.route, error);
    if (code == k_exitOk)
        code = session.Identify(report, error);
    if (code == k_exitOk)
        code = session.Initialize(error);
    if (code == k_exitOk)
        code = session.ListNames(report, error);
    if (code == k_exitOk && (!options.namesOnly || report->selected || selection.Any()))
        code = options.item.empty() ? session.ReportAll(report, error)
                                    : session.ReportItem(options.item, report, error);
    // What each option alone selects, for the message when together they select nothing.
    HostReport every;
    if (code == k_exitOk && selection.Any() && !options.item.empty())
        code = session.ReportAll(&every, error);
    if (code != k_exitOk && code != k_exitUnknownItem)
        return code;
    // The module's calls are over: the driver is asked only now, so that a trace shows the
    // module's calls alone.
    session.Close();
    *unreported = FindUnreportedBoards(report->itemNames.size());
    if (code == k_exitUnknownItem) {
        if (!unreported->boards.empty())
            *error += "; " + UnreportedText(*unreported);
        return code;
    }
    const SelectionContext context{
        options.item, options.item.empty() ? &report->items : &every.items, unreported};
    return ApplySelection(selection, context, report, error);
}

// No text from the module reaches a terminal with a control character in it.
std::string Shown(const HostOptions& options, const HostReport& report) {
    if (options.json)
        return JsonReportText(ReportJson(report));
    const HostReport shown = TerminalReport(report);
    if (options.namesOnly)
        return NamesText(shown);
    return options.verbose ? VerboseText(shown) : ListingText(shown);
}

int Run(const HostOptions& options) {
    std::string error;
    if (const HostExit code = LoadBoards(options, &error); code != k_exitOk)
        return Fail(code, error);
    FileHolder traceFile;
    std::unique_ptr<CallTrace> trace;
    const std::string traceName = options.traceFile.empty() ? "standard error" : options.traceFile;
    if (options.trace) {
        if (!options.traceFile.empty()) {
            traceFile.reset(std::fopen(options.traceFile.c_str(), "w"));
            if (!traceFile)
                return Fail(k_exitUsage, "cannot open the trace file " + options.traceFile + ": " +
                                             SystemReason(errno));
        }
        trace = std::make_unique<CallTrace>(traceFile ? traceFile.get() : stderr);
    }
    HostReport report;
    UnreportedBoards unreported;
    if (const HostExit code = Collect(options, trace.get(), &report, &unreported, &error);
        code != k_exitOk)
        return Fail(code, error);
    if (const int code = WriteToStandardOutput(k_program, Shown(options, report), "the report"))
        return code;
    int traceError = trace ? trace->WriteError() : 0;
    if (traceError == 0 && traceFile && std::fclose(traceFile.release()) != 0)
        traceError = errno;
    if (traceError != 0)
        return FailedWrite(k_program, "the trace to " + traceName, traceError);
    // A report without every board the driver knows is written, but not as success; with
    // --item the one item asked for is all there is to report.
    if (!unreported.boards.empty() && options.item.empty())
        return Fail(k_exitIncomplete, UnreportedText(unreported));
    return k_exitOk;
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, &options, &error))
        return Fail(k_exitUsage, WithHelpHint(error));
    if (options.help)
        return WriteToStandardOutput(k_program, HelpText(HostProgram()), "the help");
    if (options.version)
        return WriteToStandardOutput(k_program, "qxzeva-host " QX_HOST_VERSION "\n", "the version");
    try {
        return Run(options);
    } catch (const std::exception& failure) {
        return Fail(k_exitOperation, failure.what());
    }
}
