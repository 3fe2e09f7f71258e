// The host program: loads the expert module as the host framework does and shows a person
// what it reports.
#include "cli/json_report.h"
#include "cli/module_choice.h"
#include "cli/program_output.h"
#include "host/board_file_limit.h"
#include "host/board_selection.h"
#include "host/exit_codes.h"
#include "host/expert_session.h"
#include "host/file_identity.h"
#include "host/options.h"
#include "host/replaced_file.h"
#include "host/report.h"
#include "host/save_boards.h"
#include "host/script_names.h"
#include "host/unreported_boards.h"

#include <zevadriver_control.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr char k_boardsVariable[] = "ZEVADRIVER_BOARDS";

constexpr char k_program[] = "qxzeva-host";

// One line, whatever the texts in it hold; when even this line cannot be written, the exit
// code still tells the failure.
int Fail(HostExit code, const std::string& message) {
    return ::Fail(k_program, code, message);
}

int WriteToStandardOutput(const std::string& text, const char* what) {
    return ::WriteToStandardOutput(k_program, text, what);
}

ModuleChoice ChosenModule(const HostOptions& options) {
    return ChooseModule(options.modulePath, "given with --module");
}

// The boards: --boards, else the file ZEVADRIVER_BOARDS names, else the driver's own. The
// program reads the variable itself and takes it from the environment before the driver's
// first use, so that a broken file is the same error by either route rather than a warning
// from the driver and its built-in boards.
HostExit LoadBoards(const HostOptions& options, std::string* chosen, std::string* error) {
    std::string path = options.boardsFile;
    std::string route;
    // NOLINTNEXTLINE(concurrency-mt-unsafe): read before any task starts
    const char* variable = std::getenv(k_boardsVariable);
    if (path.empty() && variable != nullptr && *variable != '\0') {
        path = variable;
        route = std::string(" (") + k_boardsVariable + ")";
    }
    unsetenv(k_boardsVariable); // NOLINT(concurrency-mt-unsafe): no task has started yet
    std::uint64_t limit = 0;
    if (!BoardFileLimit(&limit, error))
        return k_exitUsage;
    if (path.empty())
        return k_exitOk;
    *chosen = path;
    BoundedBoardFile file;
    if (!file.Open(path, limit, error)) {
        *error = "bad board description" + route + ": " + *error;
        return k_exitBoards;
    }
    char reason[512] = {};
    if (zevadriverLoadDescription(file.PathToLoad().c_str(), reason, sizeof reason) != 0) {
        *error = "bad board description" + route + ": " + file.AsGiven(reason);
        return k_exitBoards;
    }
    return k_exitOk;
}

// The report, and the boards the driver knows that the module did not report.
HostExit Collect(const HostOptions& options, const std::string& boardsSource, CallTrace* trace,
                 HostReport* report, UnreportedBoards* unreported, std::string* error) {
    const ModuleChoice module = ChosenModule(options);
    report->modulePath = module.path;
    report->boardsSource = boardsSource;
    report->namesOnly = options.namesOnly;
    report->selected = !options.item.empty();
    // Only the bags tell where a board is and its serial number: with a selection, even
    // the names alone need them.
    const BoardSelection selection = MakeSelection(options.slot, options.serial, options.pciId);
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
    // The module's calls are over: the driver is asked only now, so that the trace shows the
    // program's own driver calls after the module's.
    session.Close();
    *unreported = FindUnreportedBoards(
        report->itemNames.size(), options.probe ? CensusMode::probe : CensusMode::readOnly,
        trace != nullptr ? trace->FailedCalls() : std::vector<FailedDriverCall>());
    if (options.item.empty())
        report->unreported = SelectedUnreported(selection, *unreported);
    if (trace != nullptr)
        trace->WriteHostDriverCalls();
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
    if (options.namesOnly)
        return NamesText(NamesForScripts(report));
    const HostReport shown = TerminalReport(report);
    return options.verbose ? VerboseText(shown) : ListingText(shown);
}

// What --trace=FILE would overwrite that this run reads or writes: empty when nothing.
std::string TraceClash(const HostOptions& options, const std::string& boardsPath) {
    if (SameFile(options.traceFile, boardsPath))
        return "the board description " + boardsPath;
    if (SameFile(options.traceFile, ChosenModule(options).path))
        return "the module " + ChosenModule(options).path;
    if (SameFile(options.traceFile, options.saveBoards))
        return "the --save-boards file " + options.saveBoards;
    return {};
}

// The report, the capture and the account of missing boards, once the boards are loaded.
int Report(const HostOptions& options, const std::string& boardsSource, CallTrace* trace) {
    std::string error;
    HostReport report;
    UnreportedBoards unreported;
    const HostExit collected = Collect(options, boardsSource, trace, &report, &unreported, &error);
    // Captured whatever the report came to: a system whose report fails is what support needs.
    std::string saveError;
    if (!options.saveBoards.empty() &&
        SaveBoards(options.saveBoards, report, unreported, &saveError) != k_exitOk)
        return Fail(k_exitWrite, saveError);
    if (trace != nullptr)
        trace->WriteHostDriverCalls();
    // A selection of boards the module did not report is a report of them, for scripts.
    if (collected == k_exitIncomplete && options.json) {
        if (const int code = WriteToStandardOutput(Shown(options, report), "the report"))
            return code;
    }
    if (collected != k_exitOk)
        return Fail(collected, error);
    if (const int code = WriteToStandardOutput(Shown(options, report), "the report"))
        return code;
    if (trace != nullptr && trace->WriteError() != 0)
        return k_exitOk; // the trace's failure is told instead
    // A report without every board the driver knows is written, but not as success; with
    // --item the one item asked for is all there is to report.
    if (!unreported.boards.empty() && options.item.empty())
        return Fail(k_exitIncomplete, UnreportedText(unreported));
    return k_exitOk;
}

int Run(const HostOptions& options) {
    std::string error;
    std::string boardsPath;
    // Out of memory or the like: the message names the file it came from.
    try {
        if (const HostExit code = LoadBoards(options, &boardsPath, &error); code != k_exitOk)
            return Fail(code, error);
    } catch (const std::exception& failure) {
        return Fail(k_exitBoards, "bad board description: " +
                                      (boardsPath.empty() ? options.boardsFile : boardsPath) +
                                      ": " + failure.what());
    }
    // The trace goes to a file beside its name, which replaces the file only when the run is
    // over: a file this run reads is never cut short under it.
    ReplacedFile traceFile;
    std::unique_ptr<CallTrace> trace;
    const std::string traceName = options.traceFile.empty() ? "standard error" : options.traceFile;
    if (options.trace) {
        if (!options.traceFile.empty()) {
            if (const std::string clash = TraceClash(options, boardsPath); !clash.empty())
                return Fail(k_exitUsage, "the trace file " + options.traceFile + " is " + clash +
                                             ", which this run reads or writes");
            if (!traceFile.Open(options.traceFile, &error))
                return Fail(k_exitUsage, "cannot open the trace file " + options.traceFile + ": " +
                                             error.substr(error.rfind(": ") + 2));
        }
        trace = std::make_unique<CallTrace>(traceFile.Stream() != nullptr ? traceFile.Stream()
                                                                          : stderr);
    }
    int code = k_exitOperation;
    try {
        const std::string source = boardsPath.empty() ? "built-in"
                                   : options.boardsFile.empty()
                                       ? k_boardsVariable + ("=" + boardsPath)
                                       : "--boards " + boardsPath;
        code = Report(options, source, trace.get());
    } catch (const std::exception& failure) {
        code = Fail(k_exitOperation,
                    std::string(failure.what()) + " (module " + ChosenModule(options).path +
                        (boardsPath.empty() ? "" : ", boards " + boardsPath) + ")");
    }
    // Kept whatever the run came to: the trace of a failed run is the one most wanted.
    const bool failed = code != k_exitOk && code != k_exitIncomplete;
    int traceError = trace ? trace->WriteError() : 0;
    if (traceError != 0 && !failed)
        return FailedWrite(k_program, "the trace to " + traceName, traceError);
    if (traceFile.Stream() != nullptr && !traceFile.Commit(&error) && !failed) {
        const std::size_t reason = error.rfind(": ");
        return Fail(k_exitWrite, "cannot write the trace to " + traceName + error.substr(reason));
    }
    return code;
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, &options, &error))
        return Fail(k_exitUsage, WithHelpHint(error));
    if (options.help)
        return WriteToStandardOutput(HelpText(HostProgram()), "the help");
    if (options.version)
        return WriteToStandardOutput("qxzeva-host " QX_HOST_VERSION "\n", "the version");
    try {
        return Run(options);
    } catch (const std::exception& failure) {
        return Fail(k_exitOperation, failure.what());
    }
}
