#include "host/board_selection.h"

#include "host/pci_slot.h"

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

// "img0 (03:00.0, serial number 01C4A2F0)"
std::string BoardText(const std::string& name, const ItemReading& item) {
    const auto unsignedText = [&](std::uint32_t tag, const char* format) {
        const PropertyReading* property = Find(item, tag);
        char text[16] = "?";
        if (property != nullptr && property->type == kcSysAttrTypeUnsignedInteger)
            std::snprintf(text, sizeof text, format, property->unsignedInteger);
        return std::string(text);
    };
    std::uint32_t serial = 0;
    return name + " (" + unsignedText(kcSysTagPciBus, "%02" PRIX32) + ":" +
           unsignedText(kcSysTagPciDevice, "%02" PRIX32) + "." +
           unsignedText(kcSysTagPciFunction, "%" PRIX32) + ", serial number " +
           (SerialOf(item, &serial) ? SerialText(serial) : "?") + ")";
}

bool SlotMatches(const PciSelector& slot, const UnreportedBoard& board) {
    const auto matches = [](const std::optional<std::uint32_t>& wanted,
                            const std::optional<std::uint32_t>& value) {
        return !wanted || (value && *value == *wanted);
    };
    return matches(slot.bus, board.bus) && matches(slot.device, board.device) &&
           matches(slot.function, board.function);
}

// The selection of each option but --item, one option at a time, named as it was given.
struct OptionPart {
    std::string option; // "--slot 03:"
    BoardSelection alone;
};

std::vector<OptionPart> Parts(const BoardSelection& selection) {
    std::vector<OptionPart> parts;
    if (!selection.slotText.empty()) {
        BoardSelection slot;
        slot.slotText = selection.slotText;
        slot.slot = selection.slot;
        parts.push_back({"--slot " + selection.slotText, slot});
    }
    if (!selection.idText.empty()) {
        BoardSelection id;
        id.idText = selection.idText;
        id.id = selection.id;
        parts.push_back({"-d " + selection.idText, id});
    }
    if (selection.serial) {
        BoardSelection serial;
        serial.serial = selection.serial;
        parts.push_back({"--serial " + SerialText(*selection.serial), serial});
    }
    return parts;
}

std::string Options(const std::vector<OptionPart>& parts, const std::string& item) {
    std::string options;
    for (const OptionPart& part : parts)
        options += (options.empty() ? "" : " and ") + part.option;
    return item.empty() ? options : options + " and --item " + item;
}

std::string BoardList(const std::vector<ItemReading>& items, const BoardSelection* only) {
    std::vector<std::string> boards;
    for (const ItemReading& item : items)
        if (only == nullptr || IsSelected(*only, item))
            boards.push_back(BoardText(item.name, item));
    return boards.empty() ? "none" : BoundedList(boards);
}

// The driver's boards that the module did not report but that the selection asks for.
std::vector<std::string> UnreportedMatches(const BoardSelection& selection,
                                           const SelectionContext& context) {
    std::vector<std::string> serials;
    if (!context.item.empty() || context.unreported == nullptr)
        return serials; // --item names a reported item only
    for (const UnreportedBoard& board : context.unreported->boards)
        if (IsSelected(selection, board))
            serials.push_back(SerialText(board.serialNumber));
    return serials;
}

std::string NothingSelected(const BoardSelection& selection, const SelectionContext& context,
                            const HostReport& report) {
    const std::vector<OptionPart> parts = Parts(selection);
    const std::vector<ItemReading>& every = *context.every;
    if (parts.size() == 1 && context.item.empty())
        return "no board matches " + parts.front().option +
               (every.empty() ? "; there are no boards"
                              : "; the boards are " + BoardList(every, nullptr));
    std::string alone;
    for (const OptionPart& part : parts)
        alone += "; " + part.option + " alone selects " + BoardList(every, &part.alone);
    if (!context.item.empty())
        alone += "; --item " + context.item + " alone selects " + BoardList(report.items, nullptr);
    return "no board matches " + Options(parts, context.item) + " together" + alone;
}

} // namespace

bool ParsePciSelector(const std::string& text, PciSelector* selector, std::string* why) {
    std::string location = text;
    const std::size_t colon = text.rfind(':');
    if (colon != std::string::npos && text.find(':') != colon) {
        // A domain, as lspci -D writes it: the boards here are all in domain 0.
        const std::string domain = text.substr(0, text.find(':'));
        std::optional<std::uint32_t> number;
        std::string ignored;
        if (!ParseField(domain, "domain", 0xFFFF, &number, &ignored) || number.value_or(1) != 0) {
            *why = "'" + text + "' names PCI domain " + domain +
                   "; the boards here are all in domain 0000";
            return false;
        }
        location = text.substr(text.find(':') + 1);
    }
    const std::size_t busEnd = location.rfind(':');
    const std::string bus = busEnd == std::string::npos ? "" : location.substr(0, busEnd);
    const std::string slot = busEnd == std::string::npos ? location : location.substr(busEnd + 1);
    const std::size_t dot = slot.find('.');
    const std::string device = slot.substr(0, dot);
    const std::string function = dot == std::string::npos ? "" : slot.substr(dot + 1);
    return ParseField(bus, "bus", 0xFF, &selector->bus, why) &&
           ParseField(device, "device", 0x1F, &selector->device, why) &&
           ParseField(function, "function", 0x7, &selector->function, why);
}

bool ParseSerial(const std::string& text, std::uint32_t* serial, std::string* why) {
    // Written as the board description and the manual write it (0x01C4A2F0), or as the
    // listing shows it (01C4A2F0).
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::optional<std::uint32_t> value;
    if (!ParseField(prefixed ? text.substr(2) : text, "serial number", UINT32_MAX, &value, why))
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

bool ParsePciIdSelector(const std::string& text, PciIdSelector* selector, std::string* why) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) {
        *why = "'" + text + "' is no [VENDOR]:[DEVICE] in hexadecimal, as lspci -d takes it";
        return false;
    }
    return ParseField(text.substr(0, colon), "vendor", 0xFFFF, &selector->vendor, why) &&
           ParseField(text.substr(colon + 1), "device", 0xFFFF, &selector->device, why);
}

bool CheckPciIdSelector(const std::string& text, std::string* why) {
    PciIdSelector selector;
    return ParsePciIdSelector(text, &selector, why);
}

BoardSelection MakeSelection(const std::string& slot, const std::string& serial,
                             const std::string& id) {
    BoardSelection selection;
    std::string why;
    if (!id.empty() && ParsePciIdSelector(id, &selection.id, &why))
        selection.idText = id;
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
           Matches(selection.id.vendor, item, kcSysTagPciIdLower) &&
           Matches(selection.id.device, item, kcSysTagPciIdUpper) &&
           (!selection.serial || (SerialOf(item, &serial) && serial == *selection.serial));
}

std::vector<UnreportedReading> SelectedUnreported(const BoardSelection& selection,
                                                  const UnreportedBoards& unreported) {
    std::vector<UnreportedReading> readings;
    for (const UnreportedBoard& board : unreported.boards) {
        if (!IsSelected(selection, board))
            continue;
        std::string location;
        if (board.bus && board.device && board.function)
            location = PciSlotText(*board.bus, *board.device, *board.function);
        const bool first = board.serialNumber == unreported.boards.front().serialNumber;
        readings.push_back(
            {SerialText(board.serialNumber), location,
             first ? unreported.reason
                   : "discovery stopped at " + SerialText(unreported.boards.front().serialNumber)});
    }
    return readings;
}

bool IsSelected(const BoardSelection& selection, const UnreportedBoard& board) {
    const auto half = [&](const std::optional<std::uint32_t>& wanted, int shift) {
        return !wanted || (board.pciId && ((*board.pciId >> shift) & 0xFFFF) == *wanted);
    };
    return (!selection.serial || board.serialNumber == *selection.serial) &&
           half(selection.id.vendor, 0) && half(selection.id.device, 16) &&
           (selection.slotText.empty() || SlotMatches(selection.slot, board));
}

HostExit ApplySelection(const BoardSelection& selection, const SelectionContext& context,
                        HostReport* report, std::string* error) {
    if (!selection.Any())
        return k_exitOk;
    report->selected = true;
    std::vector<ItemReading> kept;
    for (const ItemReading& item : report->items)
        if (IsSelected(selection, item))
            kept.push_back(item);
    if (!kept.empty()) {
        report->items = std::move(kept);
        return k_exitOk;
    }
    const std::vector<std::string> unreported = UnreportedMatches(selection, context);
    if (!unreported.empty()) {
        report->items.clear(); // the report then holds only the boards not reported
        *error = "the driver knows " + std::string(unreported.size() == 1 ? "board " : "boards ") +
                 BoundedList(unreported) + ", which " + Options(Parts(selection), "") +
                 " selects, but the module did not report " +
                 (unreported.size() == 1 ? "it" : "them") + ": " +
                 UnreportedText(*context.unreported);
        return k_exitIncomplete;
    }
    *error = NothingSelected(selection, context, *report);
    return k_exitUnknownItem;
}
