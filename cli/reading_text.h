// A property as read from a bag (bag_reader.h), as text and as JSON: the one way the
// programs write a value.
#ifndef QX_CLI_READING_TEXT_H
#define QX_CLI_READING_TEXT_H

#include "cli/bag_reader.h"
#include "cli/json_report.h"

#include <string>

// true, -5, 7 (0x7), 2.500000, "text" or (null) for a string holding none, a GUID in braces,
// a timestamp as local time.
std::string ReadingText(const PropertyReading& property);

// The value in its JSON type: a string holding none is null.
JsonDocument ReadingJson(const PropertyReading& property);

#endif
