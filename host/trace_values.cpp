#include "host/trace_values.h"

#include "cli/property_labels.h"
#include "cli/terminal_text.h"
#include "cli/value_text.h"
#include "host/trace_names.h"
#include "qxzeva/qxzeva_host.h"

#include <cinttypes>
#include <cstdio>

namespace trace_values {

std::string Quoted(const QX_WCHAR* text) {
    return text == nullptr ? "null" : "\"" + TerminalText(qxzeva::ToUtf8(text)) + "\"";
}

std::string Number(std::uint32_t value) {
    // Tags read best in hexadecimal, counts in decimal: no tag is below 0x10000.
    char text[16];
    std::snprintf(text, sizeof text, value >= 0x10000 ? "0x%08" PRIX32 : "%" PRIu32, value);
    return text;
}

std::string GuidText(const _GUID& id) {
    const char* name = InterfaceName(id);
    return name != nullptr ? qxzeva::GuidText(id) + " " + name : qxzeva::GuidText(id);
}

std::string ArgText(std::uint32_t value) {
    // A tag is followed by its key, as the JSON report names it: 0x0101D000 item_name.
    const char* key = value >= 0x10000 ? PropertyKey(value) : "";
    return *key == '\0' ? Number(value) : Number(value) + " " + key;
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
    return time == nullptr ? "null" : TimestampText(*time);
}
std::string ArgText(const kcSysAttrTimestampUTC* time) {
    return time == nullptr ? "null" : UtcTimestampText(*time);
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
    return TimestampText(*time);
}
std::string OutText(CallTrace*, kcSysAttrTimestampUTC* time) {
    return UtcTimestampText(*time);
}

} // namespace trace_values
