#include "host/trace_values.h"

#include "host/bag_reader.h"
#include "host/trace_names.h"

#include <cinttypes>
#include <cstdio>

namespace {

std::string LocalTimeText(const kcSysAttrTimestamp& time) {
    char text[80];
    std::snprintf(text, sizeof text,
                  "%04" PRId32 "-%02" PRId32 "-%02" PRId32 " %02" PRId32 ":%02" PRId32
                  ":%02" PRId32,
                  time.year, time.month, time.day, time.hour, time.minute, time.second);
    return text;
}

std::string UtcTimeText(const kcSysAttrTimestampUTC& time) {
    char text[48];
    std::snprintf(text, sizeof text, "{%08" PRIX32 " %08" PRIX32 " %08" PRIX32 " %08" PRIX32 "}",
                  time.words[0], time.words[1], time.words[2], time.words[3]);
    return text;
}

} // namespace

namespace trace_values {

std::string Quoted(const QX_WCHAR* text) {
    return text == nullptr ? "null" : "\"" + Utf8FromWide(text) + "\"";
}

std::string Number(std::uint32_t value) {
    // Tags read best in hexadecimal, counts in decimal: no tag is below 0x10000.
    char text[16];
    std::snprintf(text, sizeof text, value >= 0x10000 ? "0x%08" PRIX32 : "%" PRIu32, value);
    return text;
}

std::string GuidText(const _GUID& id) {
    const char* name = InterfaceName(id);
    return name != nullptr ? FormatGuid(id) + " " + name : FormatGuid(id);
}

std::string ArgText(std::uint32_t value) {
    return Number(value);
}
std::string ArgText(std::int32_t value) {
    return std::to_string(value);
}
std::string ArgText(double value) {
    return std::to_string(value);
}
std::string ArgText(_GUID value) {
    return GuidText(value);
}
std::string ArgText(const _GUID* iid) {
    return iid == nullptr ? "null" : GuidText(*iid);
}
std::string ArgText(const QX_WCHAR* text) {
    return Quoted(text);
}
std::string ArgText(const std::uint32_t* tags) {
    return tags == nullptr ? "null" : "tags";
}
std::string ArgText(const kcSysAttrTimestamp* time) {
    return time == nullptr ? "null" : LocalTimeText(*time);
}
std::string ArgText(const kcSysAttrTimestampUTC* time) {
    return time == nullptr ? "null" : UtcTimeText(*time);
}
std::string OutText(CallTrace*, QX_WCHAR** text) {
    return Quoted(*text);
}
std::string OutText(CallTrace*, std::uint32_t* value) {
    return Number(*value);
}
std::string OutText(CallTrace*, std::int32_t* value) {
    return std::to_string(*value);
}
std::string OutText(CallTrace*, double* value) {
    return std::to_string(*value);
}
std::string OutText(CallTrace*, _GUID* value) {
    return GuidText(*value);
}
std::string OutText(CallTrace*, kcSysAttributeType* type) {
    return AttributeTypeName(*type);
}
std::string OutText(CallTrace*, kcSysAttrTimestamp* time) {
    return LocalTimeText(*time);
}
std::string OutText(CallTrace*, kcSysAttrTimestampUTC* time) {
    return UtcTimeText(*time);
}

} // namespace trace_values
