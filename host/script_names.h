// Item names as --names-only prints them: each as it is, so that --item "$name" selects the
// same board; only a name that holds a control or format character, which no line-by-line
// reader gets back whole, is shown escaped and quoted as everywhere else.
#ifndef QX_HOST_SCRIPT_NAMES_H
#define QX_HOST_SCRIPT_NAMES_H

#include "host/report.h"

#include <string>

std::string NameForScripts(const std::string& name);

// The report with its item names so, for NamesText.
HostReport NamesForScripts(HostReport report);

#endif
