// The conventions of the programs' JSON reports: each opens with the version of its shape
// (schemaVersion, raised whenever a script reading it would have to change) and the module's
// absolute path, and is written indented, as a person can read it too.
#ifndef QX_CLI_JSON_REPORT_H
#define QX_CLI_JSON_REPORT_H

#include <nlohmann/json.hpp>

#include <string>

using JsonDocument = nlohmann::ordered_json;

// A report's first members: schemaVersion and module.
JsonDocument JsonReportHead(int schemaVersion, const std::string& modulePath);

// The report as text: indented by two, a byte that is no UTF-8 replaced rather than thrown
// over, no control or format character raw, one newline at the end.
std::string JsonReportText(const JsonDocument& document);

#endif
