// The validator's report: one line per check and each failure spelled out, or one JSON
// document (qxzeva-validate-report.schema.json).
#ifndef QX_VALIDATE_REPORT_H
#define QX_VALIDATE_REPORT_H

#include "validate/options.h"
#include "validate/runner.h"

#include <string>
#include <vector>

struct RunSummary {
    std::vector<CheckResult> results; // one per check, the first run that did not pass
    std::vector<unsigned> failedRuns; // per check, how many of the runs did not pass
};

std::string TextReport(const ValidateOptions& options, const RunSummary& run);
// The version of the JSON report's shape, written into it as schemaVersion, which its schema
// holds; raised whenever a script reading the report would have to change.
constexpr int k_validateReportSchemaVersion = 1;
std::string JsonReport(const ValidateOptions& options, const RunSummary& run);
std::string CheckList(const std::vector<const CheckRow*>& checks);

#endif
