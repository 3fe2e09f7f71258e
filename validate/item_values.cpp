#include "validate/item_values.h"

#include <cstdio>
#include <map>

namespace {

// Where a row's value comes from.
enum class From {
    fixed,         // the row's number or text
    serialNumber,  // "%08X" of the serial number
    askedName,     // the item name as the caller passed it
    model,         // the board name less a leading "ZEVA "
    driverVersion, // the driver's version
    pciIdHigh,     // the PCI identifier's upper 16 bits
    pciIdLow,      // its lower 16 bits
    pciBus,
    pciDevice,
    pciFunction
};

struct Row {
    std::uint32_t tag;
    kcSysAttributeType type;
    From from;
    std::int64_t number;  // a fixed boolean or integer
    const char16_t* text; // a fixed string
};

constexpr kcSysAttributeType B = kcSysAttrTypeBoolean;
constexpr kcSysAttributeType I = kcSysAttrTypeInteger;
constexpr kcSysAttributeType U = kcSysAttrTypeUnsignedInteger;
constexpr kcSysAttributeType S = kcSysAttrTypeString;

// clang-format off
const Row k_rows[] = {
    {0x01007000u, S, From::serialNumber, 0, nullptr},
    {0x0101C000u, I, From::fixed, 1, nullptr},
    {0x0101D000u, S, From::askedName, 0, nullptr},
    {0x0101F000u, S, From::askedName, 0, nullptr},
    {0x01054000u, B, From::fixed, 0, nullptr},
    {0x0102A000u, I, From::fixed, 99, nullptr},
    {0x01001000u, B, From::fixed, 1, nullptr},
    {0x01028000u, B, From::fixed, 0, nullptr},
    {0x01024000u, I, From::fixed, 1, nullptr},
    {0x01008000u, B, From::fixed, 1, nullptr},
    {0x01005000u, U, From::pciIdHigh, 0, nullptr},
    {0x01003000u, U, From::pciIdLow, 0, nullptr},
    {0x01004000u, S, From::fixed, 0, u"Verantic"},
    {0x01006000u, S, From::model, 0, nullptr},
    {0x0100A000u, S, From::fixed, 0, u""},
    {0x0100B000u, I, From::fixed, -1, nullptr},
    {0x0700C000u, U, From::driverVersion, 0, nullptr},
    {0x0700D000u, S, From::fixed, 0, u"ZEVA"},
    {0x01002000u, U, From::fixed, 1, nullptr},
    {0x01018000u, U, From::pciBus, 0, nullptr},
    {0x01019000u, U, From::pciDevice, 0, nullptr},
    {0x0101A000u, U, From::pciFunction, 0, nullptr},
};
// clang-format on

const char* TypeName(kcSysAttributeType type) {
    const char* name = qxTypeName(type);
    return name != nullptr ? name : "an unknown type";
}

std::u16string Model(const std::string& boardName) {
    const std::string prefix = "ZEVA ";
    return Widened(boardName.size() > prefix.size() && boardName.compare(0, 5, prefix) == 0
                       ? boardName.substr(prefix.size())
                       : boardName);
}

std::string SerialText(std::uint32_t serial) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(serial));
    return text;
}

// The text ExactText gives for the row's reading, or empty when the row's source is unknown.
std::string Expected(const Row& row, const ItemFacts& facts) {
    const std::string ok = ResultText(S_OK) + " ";
    const DriverBoard* b = facts.board;
    if (row.from == From::fixed)
        return ok + (row.text != nullptr ? Quoted(std::u16string(row.text))
                     : row.type == U     ? Hex(static_cast<std::uint32_t>(row.number))
                                         : std::to_string(row.number));
    if (row.from == From::askedName)
        return ok + Quoted(facts.askedName);
    if (b == nullptr)
        return "";
    switch (row.from) {
    case From::serialNumber:
        return ok + Quoted(Widened(SerialText(b->serialNumber)));
    case From::model:
        return ok + Quoted(Model(b->boardName));
    case From::driverVersion:
        return ok + Hex(facts.driverVersion);
    case From::pciIdHigh:
        return ok + Hex(b->pciId >> 16);
    case From::pciIdLow:
        return ok + Hex(b->pciId & 0xFFFFu);
    case From::pciBus:
        return ok + Hex(b->pciBus);
    case From::pciDevice:
        return ok + Hex(b->pciDevice);
    case From::pciFunction:
        return ok + Hex(b->pciFunction);
    case From::fixed:
    case From::askedName:
        break; // answered above
    }
    // No default: a source added without its value here does not compile (-Wswitch).
    return "";
}

} // namespace

std::u16string Widened(const std::string& text) {
    std::u16string wide;
    for (const char byte : text)
        wide += static_cast<char16_t>(static_cast<unsigned char>(byte));
    return wide;
}

const char* const k_itemValuesRule =
    "an item's bag holds exactly the 22 properties, each of its type and with its value, fixed "
    "or from the driver's answers for the board";

std::vector<ValueBreach> ItemValueBreaches(CheckContext& cx, IkcSysPropertyBag3* bag,
                                           const ItemFacts& facts) {
    std::vector<ValueBreach> breaches;
    std::vector<PropertyReading> read;
    const HRESULT result = ReadProperties(cx, bag, &read);
    if (QX_FAILED(result)) {
        breaches.push_back({"reading the bag: " + ResultText(result) +
                                (read.empty() ? "" : " at tag " + Hex(read.back().tag)),
                            "every property read with S_OK"});
        return breaches;
    }
    std::map<std::uint32_t, const PropertyReading*> held;
    for (const PropertyReading& property : read)
        held[property.tag] = &property;
    for (const Row& row : k_rows) {
        const char* name = qxTagName(row.tag);
        const std::string label =
            "tag " + Hex(row.tag) + (name != nullptr ? std::string(" ") + name : "");
        const auto found = held.find(row.tag);
        if (found == held.end()) {
            breaches.push_back({label + " missing", label});
            continue;
        }
        const PropertyReading& property = *found->second;
        held.erase(found);
        const auto type = static_cast<kcSysAttributeType>(property.type);
        if (type != row.type) {
            breaches.push_back(
                {label + ": " + ResultText(property.result) + ", type " + TypeName(type),
                 std::string("type ") + TypeName(row.type)});
            continue;
        }
        const std::string expected = Expected(row, facts);
        const std::string got = ExactText(property);
        const std::string named = label + ": ";
        if (!expected.empty() && got != expected)
            breaches.push_back({named + got, named + expected});
    }
    for (const auto& extra : held)
        breaches.push_back({"an extra tag " + Hex(extra.first), "the 22 tags alone"});
    return breaches;
}

void ExpectItemValues(CheckContext& cx, IkcSysPropertyBag3* bag, const ItemFacts& facts,
                      const std::string& call) {
    for (const ValueBreach& breach : ItemValueBreaches(cx, bag, facts))
        cx.Expect(false, k_itemValuesRule, call, breach.got, breach.expected);
}

namespace {

char16_t UpperAscii(char16_t unit) {
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

bool SameWithoutCase(const std::u16string& left, const std::u16string& right) {
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (UpperAscii(left[i]) != UpperAscii(right[i]))
            return false;
    return true;
}

} // namespace

const DriverBoard* FirstMatch(const std::vector<DriverBoard>& boards, const std::u16string& name) {
    for (const DriverBoard& board : boards)
        if (SameWithoutCase(Widened(ItemNameOf(board.activeFile)), name))
            return &board;
    return nullptr;
}
