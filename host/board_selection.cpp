#include "host/board_selection.h"

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>

namespace {

// Hexadecimal digits, at most eight, up to `highest`; empty or "*" is any.
bool ParseField(const std::string& text, const char* what, std::uint32_t highest,
                std::optional<std::uint32_t>* field, std::string* why) {
    if (text.empty() || text == "*") {
        field->reset();
        return true;
    }
    std::uint64_t value = 0;
    for (const char unit : text) {
        const auto digit = static_cast<unsigned char>(unit);
        if (std::isxdigit(digit) == 0 || text.size() > 8) {
            *why =
                std::string(what) + " '" + text + "' is no hexadecimal number of 8 digits or fewer";
            return false;
        }
        value = value * 16 + static_cast<std::uint64_t>(std::isdigit(digit) != 0
                                                            ? digit - '0'
                                                            : std::tolower(digit) - 'a' + 10);
    }
    if (value > highest) {
        char limit[16];
        std::snprintf(limit, sizeof limit, "%" PRIx32, highest);
        *why = std::string(what) + " " + text + " is above " + limit;
        return false;
    }
    *field = static_cast<std::uint32_t>(value);
    return true;
}

const PropertyReading* Find(const ItemReading& item, std::uint32_t tag) {
    const auto found =
        std::find_if(item.properties.begin(), item.properties.end(),
                     [&](const PropertyReading& property) { return property.tag == tag; });
    return found == item.properties.end() ? nullptr : &*found;
}

bool Matches(const std::optional<std::uint32_t>& wanted, const ItemReading& item,
             std::uint32_t tag) {
    const PropertyReading* property = Find(item, tag);
    return !wanted || (property != nullptr && property->type == kcSysAttrTypeUnsignedInteger &&
                       property->unsignedInteger == *wanted);
}

bool SerialOf(const ItemReading& item, std::uint32_t* serial) {
    const PropertyReading* property = Find(item, kcSysTagSerialNumber);
    std::string why;
    return property != nullptr && property->type == kcSysAttrTypeString &&
           ParseSerial(property->text, serial, &why);
}

std::string Described(const BoardSelection& selection) {
    std::string text;
    if (!selection.slotText.empty())
        text += " at " + selection.slotText;
    if (selection.serial) {
        char serial[16];
        std::snprintf(serial, sizeof serial, "%08" PRIX32, *selection.serial);
        text += std::string(" with serial number ") + serial;
    }
    return text;
}

// "img0 (03:00.0, serial number 01C4A2F0)"
std::string BoardText(const HostReport& report, const ItemReading& item) {
    const auto unsignedText = [&](std::uint32_t tag, const char* format) {
        const PropertyReading* property = Find(item, tag);
        char text[16] = "?";
        if (property != nullptr && property->type == kcSysAttrTypeUnsignedInteger)
            std::snprintf(text, sizeof text, format, property->unsignedInteger);
        return std::string(text);
    };
    const PropertyReading* serial = Find(item, kcSysTagSerialNumber);
    return (report.listedItem.empty() ? item.name : report.listedItem) + " (" +
           unsignedText(kcSysTagPciBus, "%02" PRIx32) + ":" +
           unsignedText(kcSysTagPciDevice, "%02" PRIx32) + "." +
           unsignedText(kcSysTagPciFunction, "%" PRIx32) + ", serial number " +
           (serial != nullptr ? serial->text : "?") + ")";
}

} // namespace

bool ParsePciSelector(const std::string& text, PciSelector* selector, std::string* why) {
    const std::size_t colon = text.rfind(':');
    if (colon != std::string::npos && text.find(':') != colon) {
        *why = "'" + text + "' names a PCI domain, which the boards here do not have";
        return false;
    }
    const std::string bus = colon == std::string::npos ? "" : text.substr(0, colon);
    const std::string slot = colon == std::string::npos ? text : text.substr(colon + 1);
    const std::size_t dot = slot.find('.');
    const std::string device = slot.substr(0, dot);
    const std::string function = dot == std::string::npos ? "" : slot.substr(dot + 1);
    return ParseField(bus, "bus", 0xFF, &selector->bus, why) &&
           ParseField(device, "device", 0x1F, &selector->device, why) &&
           ParseField(function, "function", 0x7, &selector->function, why);
}

bool ParseSerial(const std::string& text, std::uint32_t* serial, std::string* why) {
    std::optional<std::uint32_t> value;
    if (!ParseField(text, "serial number", UINT32_MAX, &value, why))
        return false;
    if (!value) {
        *why = "a serial number is needed, not '" + text + "'";
        return false;
    }
    *serial = *value;
    return true;
}

bool CheckPciSelector(const std::string& text, std::string* why) {
    PciSelector selector;
    return ParsePciSelector(text, &selector, why);
}

bool CheckSerial(const std::string& text, std::string* why) {
    std::uint32_t serial = 0;
    return ParseSerial(text, &serial, why);
}

BoardSelection MakeSelection(const std::string& slot, const std::string& serial) {
    BoardSelection selection;
    std::string why;
    if (!slot.empty() && ParsePciSelector(slot, &selection.slot, &why))
        selection.slotText = slot;
    std::uint32_t number = 0;
    if (!serial.empty() && ParseSerial(serial, &number, &why))
        selection.serial = number;
    return selection;
}

bool IsSelected(const BoardSelection& selection, const ItemReading& item) {
    std::uint32_t serial = 0;
    return Matches(selection.slot.bus, item, kcSysTagPciBus) &&
           Matches(selection.slot.device, item, kcSysTagPciDevice) &&
           Matches(selection.slot.function, item, kcSysTagPciFunction) &&
           (!selection.serial || (SerialOf(item, &serial) && serial == *selection.serial));
}

HostExit ApplySelection(const BoardSelection& selection, HostReport* report, std::string* error) {
    if (!selection.Any())
        return k_exitOk;
    std::vector<ItemReading> kept;
    std::vector<std::string> names;
    for (const ItemReading& item : report->items)
        if (IsSelected(selection, item)) {
            kept.push_back(item);
            names.push_back(report->listedItem.empty() ? item.name : report->listedItem);
        }
    if (kept.empty()) {
        std::string there;
        for (const ItemReading& item : report->items)
            there += (there.empty() ? "" : ", ") + BoardText(*report, item);
        *error = "no board" + Described(selection) +
                 (there.empty() ? "; there are no boards" : "; the boards are " + there);
        return k_exitUnknownItem;
    }
    report->items = std::move(kept);
    report->itemNames = std::move(names);
    return k_exitOk;
}
