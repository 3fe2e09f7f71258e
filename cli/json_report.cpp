#include "cli/json_report.h"

#include "cli/module_choice.h"
#include "cli/terminal_text.h"

JsonDocument JsonReportHead(int schemaVersion, const std::string& modulePath) {
    JsonDocument document;
    document["schemaVersion"] = schemaVersion;
    document["module"] = AbsoluteModulePath(modulePath);
    return document;
}

std::string JsonReportText(const JsonDocument& document) {
    return JsonWithoutRawControls(
               document.dump(2, ' ', false, JsonDocument::error_handler_t::replace)) +
           "\n";
}
