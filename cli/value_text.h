// How the programs write the values that have no text of their own: the two timestamp records.
#ifndef QX_CLI_VALUE_TEXT_H
#define QX_CLI_VALUE_TEXT_H

#include "cli/c_view.h"

#include <string>

// "2018-06-30 12:00:05"
std::string TimestampText(const kcSysAttrTimestamp& time);

// "{00000000 01D40FE1 2A3B4C5D 00000000}": the record's four words, first to last.
std::string UtcTimestampText(const kcSysAttrTimestampUTC& time);

#endif
