#include "validate/report.h"

#include "cli/json_report.h"
#include "cli/terminal_text.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

std::string Group(const CheckRow& row) {
    const std::string name = row.name;
    return name.substr(0, name.find('.'));
}

bool Listed(const ValidateOptions& options, const CheckResult& result) {
    return !options.onlyFailed ||
           (result.outcome != Outcome::passed && result.outcome != Outcome::skipped);
}

std::string Counts(const RunSummary& run) {
    unsigned counts[k_outcomeCount] = {};
    for (const CheckResult& result : run.results)
        ++counts[static_cast<int>(result.outcome)];
    return std::to_string(run.results.size()) + " checks: " + std::to_string(counts[0]) +
           " passed, " + std::to_string(counts[1]) + " warned, " + std::to_string(counts[2]) +
           " failed, " + std::to_string(counts[3]) + " crashed, " + std::to_string(counts[4]) +
           " timed out, " + std::to_string(counts[5]) + " skipped";
}

// A breach's grade as the report gives it: a choice breached fails only under --strict.
std::string Grading(const ValidateOptions& options, const Failure& failure) {
    if (failure.grade == Grade::must)
        return "must";
    return options.strict ? "choice, failing under --strict" : "choice, a warning";
}

std::string Header(const ValidateOptions& options) {
    return std::string("level ") + (options.full ? "full" : "quick") +
           (options.strict ? ", strict" : "") + ", seed " + std::to_string(options.seed) +
           ", boards: " + TerminalText(options.boardSet);
}

} // namespace

std::string TextReport(const ValidateOptions& options, const RunSummary& run) {
    std::string text = "qxzeva-validate " QX_VALIDATE_VERSION ": " +
                       TerminalText(options.modulePath) + ", " + Header(options) + "\n";
    for (std::size_t i = 0; i < run.results.size(); ++i) {
        const CheckResult& result = run.results[i];
        if (!Listed(options, result))
            continue;
        std::string line = std::string(OutcomeName(result.outcome)) + "  " + result.row->name;
        line += std::string(line.size() < 48 ? 48 - line.size() : 1, ' ') +
                Seconds(result.seconds) + " s";
        if (options.repeat > 1 && run.failedRuns[i] > 0)
            line += ", " + std::to_string(run.failedRuns[i]) + " of " +
                    std::to_string(options.repeat) + " runs did not pass";
        text += line + "\n";
        if (result.outcome == Outcome::crashed || result.outcome == Outcome::timedOut)
            text += "      " + TerminalText(result.detail) + " in " +
                    TerminalText(result.lastOperation) + "\n";
        else if (result.outcome == Outcome::skipped)
            text += "      skipped: " + TerminalText(result.detail) + "\n";
        if (!result.note.empty())
            text += "      note: " + TerminalText(result.note) + "\n";
        if (!result.failures.empty())
            text += std::string("      source:   ") + result.row->source + "\n";
        for (const Failure& failure : result.failures)
            text += "      rule:     " + failure.rule + " (" + Grading(options, failure) + ")" +
                    "\n      call:     " + TerminalText(failure.call) +
                    "\n      got:      " + TerminalText(failure.got) +
                    "\n      expected: " + TerminalText(failure.expected) + "\n";
    }
    return text + Counts(run) + "\n";
}

std::string JsonReport(const ValidateOptions& options, const RunSummary& run) {
    unsigned counts[k_outcomeCount] = {};
    JsonDocument checks = JsonDocument::array();
    for (std::size_t i = 0; i < run.results.size(); ++i) {
        const CheckResult& result = run.results[i];
        ++counts[static_cast<int>(result.outcome)];
        if (!Listed(options, result))
            continue;
        JsonDocument failures = JsonDocument::array();
        for (const Failure& failure : result.failures)
            failures.push_back({{"rule", failure.rule},
                                {"call", failure.call},
                                {"got", failure.got},
                                {"expected", failure.expected},
                                {"grade", GradeName(failure.grade)}});
        JsonDocument check = {{"name", result.row->name},
                              {"group", Group(*result.row)},
                              {"level", result.row->level == CheckLevel::full ? "full" : "quick"},
                              {"grade", GradeName(result.row->grade)},
                              {"source", result.row->source},
                              {"contract", result.row->contract},
                              {"outcome", OutcomeName(result.outcome)},
                              {"seconds", std::round(result.seconds * 1000) / 1000},
                              {"failedRuns", run.failedRuns[i]}};
        if (!result.detail.empty())
            check["detail"] = result.detail;
        if (!result.note.empty())
            check["note"] = result.note;
        if (result.outcome == Outcome::crashed || result.outcome == Outcome::timedOut)
            check["lastOperation"] = result.lastOperation;
        check["failures"] = failures;
        checks.push_back(check);
    }
    JsonDocument document = JsonReportHead(k_validateReportSchemaVersion, options.modulePath);
    document["validator"] = QX_VALIDATE_VERSION;
    document["level"] = options.full ? "full" : "quick";
    document["strict"] = options.strict;
    document["boards"] = options.boardSet;
    document["seed"] = options.seed;
    document["repeat"] = options.repeat;
    document["checks"] = checks;
    document["summary"] = {{"passed", counts[0]},  {"warned", counts[1]},   {"failed", counts[2]},
                           {"crashed", counts[3]}, {"timedOut", counts[4]}, {"skipped", counts[5]}};
    return JsonReportText(document);
}

std::string CheckList(const std::vector<const CheckRow*>& checks) {
    std::string text;
    for (const CheckRow* row : checks) {
        std::string line =
            std::string(row->name) + (row->level == CheckLevel::full ? " (full)" : "");
        line += std::string(line.size() < 36 ? 36 - line.size() : 1, ' ') + GradeName(row->grade);
        text += line + std::string(line.size() < 44 ? 44 - line.size() : 1, ' ') + row->contract +
                " [" + row->source + "]\n";
    }
    return text;
}
