#include "cli/value_text.h"

#include <cinttypes>
#include <cstdio>

std::string TimestampText(const kcSysAttrTimestamp& time) {
    char text[80];
    std::snprintf(text, sizeof text,
                  "%04" PRId32 "-%02" PRId32 "-%02" PRId32 " %02" PRId32 ":%02" PRId32
                  ":%02" PRId32,
                  time.year, time.month, time.day, time.hour, time.minute, time.second);
    return text;
}

std::string UtcTimestampText(const kcSysAttrTimestampUTC& time) {
    char text[48];
    std::snprintf(text, sizeof text, "{%08" PRIX32 " %08" PRIX32 " %08" PRIX32 " %08" PRIX32 "}",
                  time.words[0], time.words[1], time.words[2], time.words[3]);
    return text;
}
