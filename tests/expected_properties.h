// What the property table says an item's bag holds, worked out from the driver's values for
// its board, and the check that a bag holds exactly that: each tag with its type and value,
// and no other tag. Reads the bag only through its interface.
#ifndef QX_TESTS_EXPECTED_PROPERTIES_H
#define QX_TESTS_EXPECTED_PROPERTIES_H

#include "com/enuminterfaces.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/property_table.h"
#include "simulated_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct ExpectedProperty {
    std::uint32_t tag;
    kcSysAttributeType type;
    std::string text;     // strings
    std::uint32_t number; // the integer's bits, the unsigned value, or the flag
};

// Each row's value from the board, by the kind of source the table names for it.
inline std::vector<ExpectedProperty> ExpectedProperties(const TestBoard& board,
                                                        const std::string& itemName,
                                                        std::uint32_t driverVersion) {
    char serial[16];
    std::snprintf(serial, sizeof serial, "%08X", static_cast<unsigned>(board.serialNumber));
    const std::string boardName = board.boardName == nullptr ? "" : board.boardName;
    const bool familyPrefixed = boardName.size() > 5 && boardName.compare(0, 5, "ZEVA ") == 0;
    const std::string model = familyPrefixed ? boardName.substr(5) : boardName;
#define QX_EXPECT_SERIAL serial, 0
#define QX_EXPECT_ITEM_NAME itemName, 0
#define QX_EXPECT_MODEL model, 0
#define QX_EXPECT_PCI_ID_HIGH "", board.pciId >> 16
#define QX_EXPECT_PCI_ID_LOW "", board.pciId & 0xFFFFu
#define QX_EXPECT_DRIVER_VERSION "", driverVersion
#define QX_EXPECT_BOARD(member) "", board.member
#define QX_EXPECT_FIXED(value) "", static_cast<std::uint32_t>(value)
#define QX_EXPECT_TEXT(text) text, 0
#define QX_EXPECTED(constant, tag, type, label, jsonKey, source) {tag, type, QX_EXPECT_##source},
    return {QXZEVA_PROPERTY_TABLE(QX_EXPECTED)};
#undef QX_EXPECTED
#undef QX_EXPECT_TEXT
#undef QX_EXPECT_FIXED
#undef QX_EXPECT_BOARD
#undef QX_EXPECT_DRIVER_VERSION
#undef QX_EXPECT_PCI_ID_LOW
#undef QX_EXPECT_PCI_ID_HIGH
#undef QX_EXPECT_MODEL
#undef QX_EXPECT_ITEM_NAME
#undef QX_EXPECT_SERIAL
}

inline std::string NarrowUnits(const char16_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text)
        out += static_cast<char>(*text);
    return out;
}

// The value under a tag, read by the getter of its expected type, as the number or text of
// an ExpectedProperty; each out-value starts as what no read of this test writes.
inline ExpectedProperty ReadProperty(IkcSysPropertyBag* bag, const ExpectedProperty& expected) {
    ExpectedProperty read{expected.tag, expected.type, "(unread)", 0x5A5A5A5A};
    switch (expected.type) {
    case kcSysAttrTypeString: {
        char16_t* text = reinterpret_cast<char16_t*>(0x1);
        EXPECT_EQ(bag->GetStringProperty(expected.tag, &text), S_OK);
        read.text = NarrowUnits(text);
        read.number = 0;
        if (text != nullptr) // a boundary block: its length lies before the text
            std::free(reinterpret_cast<unsigned char*>(text) - 4);
        break;
    }
    case kcSysAttrTypeInteger: {
        std::int32_t value = 0x5A5A5A5A;
        EXPECT_EQ(bag->GetIntegerProperty(expected.tag, &value), S_OK);
        read = {expected.tag, expected.type, "", static_cast<std::uint32_t>(value)};
        break;
    }
    case kcSysAttrTypeUnsignedInteger: {
        std::uint32_t value = 0x5A5A5A5A;
        EXPECT_EQ(bag->GetUnsignedIntegerProperty(expected.tag, &value), S_OK);
        read = {expected.tag, expected.type, "", value};
        break;
    }
    default: {
        int value = 7;
        EXPECT_EQ(bag->GetBooleanProperty(expected.tag, &value), S_OK);
        read = {expected.tag, expected.type, "", static_cast<std::uint32_t>(value)};
    }
    }
    return read;
}

// The bag holds every expected tag, with its type and value, and no other.
inline void ExpectBagHolds(IkcSysPropertyBag* bag, const std::vector<ExpectedProperty>& expected) {
    for (const ExpectedProperty& property : expected) {
        SCOPED_TRACE("tag " + std::to_string(property.tag));
        kcSysAttributeType type{};
        ASSERT_EQ(bag->GetPropertyType(property.tag, &type), S_OK);
        ASSERT_EQ(type, property.type);
        const ExpectedProperty read = ReadProperty(bag, property);
        EXPECT_EQ(read.text, property.text);
        EXPECT_EQ(read.number, property.number);
    }
    IkcSysEnumPropertyTag* tags = nullptr;
    ASSERT_EQ(bag->EnumProperties(&tags), S_OK);
    std::uint32_t batch[2 * QXZEVA_ITEM_PROPERTY_COUNT];
    std::uint32_t fetched = 0;
    EXPECT_EQ(tags->Next(2 * QXZEVA_ITEM_PROPERTY_COUNT, batch, &fetched), S_FALSE);
    EXPECT_EQ(fetched, expected.size()) << "no other tags";
    EXPECT_EQ(tags->Release(), 0);
}

#endif
