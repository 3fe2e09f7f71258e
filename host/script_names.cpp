#include "host/script_names.h"

#include "cli/terminal_text.h"

std::string NameForScripts(const std::string& name) {
    // The escaped text with its doubled backslashes undone is the name itself exactly when
    // nothing else in it needed escaping.
    const std::string shown = TerminalText(name);
    std::string undone;
    for (std::size_t at = 0; at < shown.size(); ++at) {
        undone += shown[at];
        if (shown[at] == '\\' && at + 1 < shown.size() && shown[at + 1] == '\\')
            ++at;
    }
    return undone == name ? name : TerminalName(name);
}

HostReport NamesForScripts(HostReport report) {
    if (!report.listedItem.empty())
        report.listedItem = NameForScripts(report.listedItem);
    for (std::string& name : report.itemNames)
        name = NameForScripts(name);
    for (ItemReading& item : report.items)
        item.name = NameForScripts(item.name);
    return report;
}
