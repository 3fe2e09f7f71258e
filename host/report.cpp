#include "host/report.h"

#include "cli/property_labels.h"
#include "cli/reading_text.h"
#include "cli/terminal_text.h"
#include "host/pci_slot.h"

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

std::string TagText(std::uint32_t tag) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, tag);
    return text;
}

const PropertyReading* Find(const ItemReading& item, std::uint32_t tag, std::int32_t type) {
    const auto found = std::find_if(item.properties.begin(), item.properties.end(),
                                    [&](const PropertyReading& property) {
                                        return property.tag == tag && property.type == type;
                                    });
    return found == item.properties.end() ? nullptr : &*found;
}

std::string TextOf(const ItemReading& item, std::uint32_t tag) {
    const PropertyReading* property = Find(item, tag, kcSysAttrTypeString);
    return property == nullptr || property->isNull || property->text.empty() ? "-" : property->text;
}

std::string PciAddressOf(const ItemReading& item) {
    const PropertyReading* bus = Find(item, kcSysTagPciBus, kcSysAttrTypeUnsignedInteger);
    const PropertyReading* device = Find(item, kcSysTagPciDevice, kcSysAttrTypeUnsignedInteger);
    const PropertyReading* function = Find(item, kcSysTagPciFunction, kcSysAttrTypeUnsignedInteger);
    if (bus == nullptr || device == nullptr || function == nullptr)
        return "-";
    return PciSlotText(bus->unsignedInteger, device->unsignedInteger, function->unsignedInteger);
}

std::string DriverVersionOf(const ItemReading& item) {
    const PropertyReading* version =
        Find(item, kcSysTagDriverVersion, kcSysAttrTypeUnsignedInteger);
    if (version == nullptr)
        return "-";
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, version->unsignedInteger);
    return text;
}

// The name a person and a script know the item by: the listing's spelling.
const std::string& ListedName(const HostReport& report, const ItemReading& item) {
    return report.listedItem.empty() ? item.name : report.listedItem;
}

// "nQXVersion_CompanyName" reads "Company name": the key's words after its prefix.
std::string RecordLabel(const std::string& key) {
    const std::string prefix = "nQXVersion_";
    const std::string name =
        key.compare(0, prefix.size(), prefix) == 0 ? key.substr(prefix.size()) : key;
    std::string label;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto unit = static_cast<unsigned char>(name[i]);
        if (i > 0 && std::isupper(unit) != 0 &&
            std::islower(static_cast<unsigned char>(name[i - 1])) != 0) {
            label += ' ';
            label += static_cast<char>(std::tolower(unit));
        } else {
            label += name[i];
        }
    }
    return label;
}

void AppendRow(std::string* out, const std::vector<std::string>& cells,
               const std::vector<std::size_t>& widths) {
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        line += cells[column];
        if (column + 1 < cells.size())
            line.append(widths[column] - DisplayWidth(cells[column]) + 2, ' ');
    }
    *out += line + "\n";
}

// A value as -v shows it. The PCI identifier's halves are shown in hexadecimal alone, and the
// device's half with the whole identifier as the PCI tools write it, vendor:device.
std::string VerboseValue(const ItemReading& item, const PropertyReading& property) {
    const bool pciHalf = property.tag == kcSysTagPciIdUpper || property.tag == kcSysTagPciIdLower;
    if (property.type != kcSysAttrTypeUnsignedInteger || !pciHalf)
        return ReadingText(property);
    char text[64];
    const std::uint32_t value = property.unsignedInteger;
    const PropertyReading* vendor = Find(item, kcSysTagPciIdLower, kcSysAttrTypeUnsignedInteger);
    if (property.tag == kcSysTagPciIdUpper && vendor != nullptr)
        std::snprintf(text, sizeof text, "0x%04" PRIX32 " (PCI ID %04" PRIX32 ":%04" PRIX32 ")",
                      value, vendor->unsignedInteger, value);
    else
        std::snprintf(text, sizeof text, "0x%04" PRIX32, value);
    return text;
}

// An item's properties in tag order, the order a person looks a tag up in: -v's and JSON's.
std::vector<const PropertyReading*> InTagOrder(const ItemReading& item) {
    std::vector<const PropertyReading*> sorted;
    for (const PropertyReading& property : item.properties)
        sorted.push_back(&property);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const PropertyReading* left, const PropertyReading* right) {
                         return left->tag < right->tag;
                     });
    return sorted;
}

// With --item the expert reports the item's name as the caller spelled it, which -v says.
std::string VerboseLabel(std::uint32_t tag, bool asked) {
    return std::string(PropertyLabel(tag)) +
           (asked && tag == kcSysTagItemName ? " (as given)" : "");
}

std::string VerboseProperties(const ItemReading& item, bool asked) {
    const std::vector<const PropertyReading*> sorted = InTagOrder(item);
    std::size_t width = std::strlen("Property");
    for (const PropertyReading* property : sorted)
        width = std::max(width, VerboseLabel(property->tag, asked).size());
    const auto pad = [](const std::string& text, std::size_t width) {
        return text + std::string(width > text.size() ? width - text.size() : 0, ' ') + "  ";
    };
    const auto row = [&](const std::string& tag, const std::string& label, const std::string& type,
                         const std::string& value) {
        return "  " + pad(tag, 10) + pad(label, width) + pad(type, 9) + value + "\n";
    };
    std::string out = row("Tag", "Property", "Type", "Value");
    for (const PropertyReading* property : sorted)
        out += row(TagText(property->tag), VerboseLabel(property->tag, asked),
                   AttributeTypeName(property->type), VerboseValue(item, *property));
    return out;
}

// A name wider than this is cut in the listing, so that the other columns stay on the
// screen; -v and JSON show it whole.
constexpr std::size_t k_longestListedName = 40;

} // namespace

std::string ListingText(const HostReport& report) {
    std::vector<std::vector<std::string>> rows = {
        {"Item", "Serial", "Model", "PCI", "Driver version"}};
    for (const ItemReading& item : report.items)
        rows.push_back({CutToWidth(ListedName(report, item), k_longestListedName),
                        TextOf(item, kcSysTagSerialNumber), TextOf(item, kcSysTagModel),
                        PciAddressOf(item), DriverVersionOf(item)});
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], DisplayWidth(row[column]));
    std::string out;
    for (const auto& row : rows)
        AppendRow(&out, row, widths);
    return out;
}

std::string VerboseText(const HostReport& report) {
    std::string out =
        "Module        " + report.modulePath + "\n" +
        (report.boardsSource.empty() ? "" : "Boards        " + report.boardsSource + "\n") +
        "Product       " + report.displayName + "\n" + "Programmatic  " + report.programmaticName +
        "\n" + "Version       " + report.version + "\n" + "Product ID    " + report.productId +
        "\n" + "Version record\n";
    std::vector<std::pair<std::string, std::string>> record;
    std::size_t width = 0;
    for (const std::string& entry : report.versionRecord) {
        const auto equals = entry.find('=');
        record.emplace_back(RecordLabel(entry.substr(0, equals)),
                            equals == std::string::npos ? "" : entry.substr(equals + 1));
        width = std::max(width, record.back().first.size());
    }
    for (const auto& [label, value] : record)
        out.append("  ").append(label).append(width - label.size() + 2, ' ').append(value) += '\n';
    out += "\nItems (" + std::to_string(report.itemNames.size()) + ")\n";
    for (const std::string& name : report.itemNames)
        out += "  " + name + "\n";
    for (const ItemReading& item : report.items) {
        std::string heading = "\nItem " + item.name;
        if (ListedName(report, item) != item.name)
            heading += " (listed as " + ListedName(report, item) + ")";
        out += heading + ": " + std::to_string(item.properties.size()) + " properties\n" +
               VerboseProperties(item, !report.listedItem.empty());
    }
    return out;
}

std::string NamesText(const HostReport& report) {
    std::string out;
    if (report.selected) {
        for (const ItemReading& item : report.items)
            out += ListedName(report, item) + "\n";
        return out;
    }
    for (const std::string& name : report.itemNames)
        out += name + "\n";
    return out;
}

namespace {

// One board: its properties by key, and the same values typed and tagged for tools that
// want tags; both in tag order.
JsonDocument BoardJson(const HostReport& report, const ItemReading& item) {
    JsonDocument board = {{"name", item.name}, {"listedName", ListedName(report, item)}};
    if (report.namesOnly)
        return board;
    // The forms lspci writes and --slot and -d take, beside the numbers.
    const auto number = [&](std::uint32_t tag) -> std::optional<std::uint32_t> {
        for (const PropertyReading& property : item.properties)
            if (property.tag == tag && property.type == kcSysAttrTypeUnsignedInteger)
                return property.unsignedInteger;
        return std::nullopt;
    };
    const auto bus = number(kcSysTagPciBus), device = number(kcSysTagPciDevice),
               function = number(kcSysTagPciFunction);
    const auto vendorId = number(kcSysTagPciIdLower), deviceId = number(kcSysTagPciIdUpper);
    char text[32];
    if (bus && device && function)
        board["slot"] = PciSlotText(*bus, *device, *function);
    if (vendorId && deviceId) {
        std::snprintf(text, sizeof text, "%04" PRIX32 ":%04" PRIX32, *vendorId, *deviceId);
        board["pciId"] = text;
    }
    JsonDocument byKey = JsonDocument::object();
    JsonDocument typed = JsonDocument::array();
    for (const PropertyReading* property : InTagOrder(item)) {
        // A tag the expert does not set has no key of its own: only the typed list holds it.
        if (*PropertyKey(property->tag) != '\0')
            byKey[PropertyKey(property->tag)] = ReadingJson(*property);
        typed.push_back({{"tag", TagText(property->tag)},
                         {"key", PropertyKey(property->tag)},
                         {"label", PropertyLabel(property->tag)},
                         {"type", AttributeTypeName(property->type)},
                         {"value", ReadingJson(*property)}});
    }
    board["properties"] = byKey;
    board["typedProperties"] = typed;
    return board;
}

} // namespace

JsonDocument ReportJson(const HostReport& report) {
    JsonDocument document = JsonReportHead(k_reportSchemaVersion, report.modulePath);
    if (!report.boardsSource.empty())
        document["boardsSource"] = report.boardsSource;
    document["product"] = {{"displayName", report.displayName},
                           {"programmaticName", report.programmaticName},
                           {"version", report.version},
                           {"id", report.productId}};
    JsonDocument record = JsonDocument::object();
    for (const std::string& entry : report.versionRecord) {
        const auto equals = entry.find('=');
        record[entry.substr(0, equals)] =
            equals == std::string::npos ? "" : entry.substr(equals + 1);
    }
    document["versionRecord"] = record;
    document["itemNames"] = report.itemNames;
    JsonDocument boards = JsonDocument::array();
    if (report.selected || !report.namesOnly) {
        for (const ItemReading& item : report.items)
            boards.push_back(BoardJson(report, item));
    } else {
        for (const std::string& name : report.itemNames)
            boards.push_back({{"name", name}, {"listedName", name}});
    }
    document["boards"] = boards;
    JsonDocument unreported = JsonDocument::array();
    for (const UnreportedReading& board : report.unreported)
        unreported.push_back(
            {{"serialNumber", board.serialNumber},
             {"pciLocation",
              board.pciLocation.empty() ? JsonDocument(nullptr) : JsonDocument(board.pciLocation)},
             {"reason", board.reason}});
    document["unreportedBoards"] = unreported;
    return document;
}

HostReport TerminalReport(HostReport report) {
    for (std::string* text : {&report.modulePath, &report.boardsSource, &report.displayName,
                              &report.programmaticName, &report.version, &report.productId})
        *text = TerminalText(*text);
    if (!report.listedItem.empty())
        report.listedItem = TerminalName(report.listedItem);
    for (std::string& entry : report.versionRecord)
        entry = TerminalText(entry);
    for (std::string& name : report.itemNames)
        name = TerminalName(name);
    for (ItemReading& item : report.items) {
        item.name = TerminalName(item.name);
        for (PropertyReading& property : item.properties)
            property.text = TerminalText(property.text);
    }
    return report;
}
