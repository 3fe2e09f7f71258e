#include "host/report.h"

#include "host/property_labels.h"

#include <nlohmann/json.hpp>

#include <cinttypes>

namespace {

std::string TagText(std::uint32_t tag) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, tag);
    return text;
}

std::string ValueText(const PropertyReading& property) {
    switch (property.type) {
    case kcSysAttrTypeBoolean:
        return property.boolean ? "true" : "false";
    case kcSysAttrTypeInteger:
        return std::to_string(property.integer);
    case kcSysAttrTypeUnsignedInteger: {
        char text[40];
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

nlohmann::json ValueJson(const PropertyReading& property) {
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
        return property.isNull ? nlohmann::json(nullptr) : nlohmann::json(property.text);
    default:
        return property.text;
    }
}

} // namespace

void PrintReportText(const HostReport& report, std::FILE* out) {
    std::fprintf(out, "Module        %s\n", report.modulePath.c_str());
    std::fprintf(out, "Product       %s\n", report.displayName.c_str());
    std::fprintf(out, "Programmatic  %s\n", report.programmaticName.c_str());
    std::fprintf(out, "Version       %s\n", report.version.c_str());
    std::fprintf(out, "Product ID    %s\n", report.productId.c_str());
    std::fprintf(out, "Version record\n");
    for (const std::string& entry : report.versionRecord)
        std::fprintf(out, "  %s\n", entry.c_str());
    std::fprintf(out, "\nItems (%zu)\n", report.itemNames.size());
    for (const std::string& name : report.itemNames)
        std::fprintf(out, "  %s\n", name.c_str());
    if (report.namesOnly)
        return;
    for (const ItemReading& item : report.items) {
        std::fprintf(out, "\nItem %s: %zu properties\n", item.name.c_str(), item.properties.size());
        std::fprintf(out, "  %-10s  %-30s  %-9s  %s\n", "Tag", "Property", "Type", "Value");
        for (const PropertyReading& property : item.properties)
            std::fprintf(out, "  %-10s  %-30s  %-9s  %s\n", TagText(property.tag).c_str(),
                         PropertyLabel(property.tag), AttributeTypeName(property.type),
                         ValueText(property).c_str());
    }
}

void PrintReportJson(const HostReport& report, std::FILE* out) {
    nlohmann::json document;
    document["module"] = report.modulePath;
    document["product"] = {{"displayName", report.displayName},
                           {"programmaticName", report.programmaticName},
                           {"version", report.version},
                           {"id", report.productId}};
    nlohmann::json record = nlohmann::json::object();
    for (const std::string& entry : report.versionRecord) {
        const auto equals = entry.find('=');
        record[entry.substr(0, equals)] =
            equals == std::string::npos ? "" : entry.substr(equals + 1);
    }
    document["versionRecord"] = record;
    document["itemNames"] = report.itemNames;
    if (!report.namesOnly) {
        nlohmann::json items = nlohmann::json::array();
        for (const ItemReading& item : report.items) {
            nlohmann::json properties = nlohmann::json::array();
            for (const PropertyReading& property : item.properties)
                properties.push_back({{"tag", TagText(property.tag)},
                                      {"label", PropertyLabel(property.tag)},
                                      {"type", AttributeTypeName(property.type)},
                                      {"value", ValueJson(property)}});
            items.push_back({{"name", item.name}, {"properties", properties}});
        }
        document["items"] = items;
    }
    // Texts from the driver may hold bytes that are no UTF-8: replace, never throw.
    const std::string text = document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    std::fprintf(out, "%s\n", text.c_str());
}
