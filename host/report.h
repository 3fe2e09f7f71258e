// What the host program learned from the module, and how it is shown.
#ifndef QX_HOST_REPORT_H
#define QX_HOST_REPORT_H

#include "host/bag_reader.h"

#include <cstdio>
#include <string>
#include <vector>

struct HostReport {
    std::string modulePath;
    std::string displayName;
    std::string programmaticName;
    std::string version;
    std::string productId;
    std::vector<std::string> versionRecord; // "key=value" entries
    std::vector<std::string> itemNames;
    bool namesOnly = false;
    std::vector<ItemReading> items;
};

void PrintReportText(const HostReport& report, std::FILE* out);
void PrintReportJson(const HostReport& report, std::FILE* out);

#endif
