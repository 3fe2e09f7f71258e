// What the host program learned from the module, and the ways it is shown: a line per
// board, the full report, the names alone, JSON.
#ifndef QX_HOST_REPORT_H
#define QX_HOST_REPORT_H

#include "cli/bag_reader.h"
#include "cli/json_report.h"

#include <string>
#include <vector>

// A board the driver knows but the module did not report.
struct UnreportedReading {
    std::string serialNumber; // "00E93B15"
    std::string pciLocation;  // "07:02.0"; empty when the driver cannot say
    std::string reason;       // why the module did not report it
};

struct HostReport {
    std::string modulePath;
    // Where the driver's boards came from: "built-in", "--boards FILE" or
    // "ZEVADRIVER_BOARDS=FILE".
    std::string boardsSource;
    std::string displayName;
    std::string programmaticName;
    std::string version;
    std::string productId;
    std::vector<std::string> versionRecord; // "key=value" entries
    std::vector<std::string> itemNames;     // every name the expert lists, whatever the options
    bool namesOnly = false;
    // --item, --slot or --serial chose the items: only they are shown, their names too.
    bool selected = false;
    std::vector<ItemReading> items; // each named as the expert's bag names it
    // With --item: the name as the listing spells it, which may differ in case from the
    // name asked for (and so from the bag's).
    std::string listedItem;
    // The driver's boards the module did not report, as far as --slot and --serial select
    // them; none with --item.
    std::vector<UnreportedReading> unreported;
};

// A heading, then one line per item: name, serial number, model, PCI bus:device.function
// and driver version.
std::string ListingText(const HostReport& report);
// Identity, version record, names, and every property of each item.
std::string VerboseText(const HostReport& report);
// The item names, one a line: the chosen items' when options chose some.
std::string NamesText(const HostReport& report);

// The version of the JSON report's shape, written into it as schemaVersion, which its
// schema holds; raised whenever a script reading the report would have to change.
constexpr int k_reportSchemaVersion = 3;
JsonDocument ReportJson(const HostReport& report);

// The report with every text it shows passed through TerminalText.
HostReport TerminalReport(HostReport report);

#endif
