#include "cli/reading_text.h"

#include "cli/c_view.h"

#include <cinttypes>
#include <cstdio>

std::string ReadingText(const PropertyReading& property) {
    switch (property.type) {
    case kcSysAttrTypeBoolean:
        return property.boolean ? "true" : "false";
    case kcSysAttrTypeInteger:
        return std::to_string(property.integer);
    case kcSysAttrTypeUnsignedInteger: {
        char text[32];
        std::snprintf(text, sizeof text, "%" PRIu32 " (0x%" PRIX32 ")", property.unsignedInteger,
                      property.unsignedInteger);
        return text;
    }
    case kcSysAttrTypeDouble:
        return std::to_string(property.real);
    case kcSysAttrTypeString:
        return property.isNull ? "(null)" : "\"" + property.text + "\"";
    default:
        return property.text;
    }
}

JsonDocument ReadingJson(const PropertyReading& property) {
    switch (property.type) {
    case kcSysAttrTypeBoolean:
        return property.boolean;
    case kcSysAttrTypeInteger:
        return property.integer;
    case kcSysAttrTypeUnsignedInteger:
        return property.unsignedInteger;
    case kcSysAttrTypeDouble:
        return property.real;
    case kcSysAttrTypeString:
        return property.isNull ? JsonDocument(nullptr) : JsonDocument(property.text);
    default:
        return property.text;
    }
}
