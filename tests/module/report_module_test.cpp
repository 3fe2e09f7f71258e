// The whole report of the simulated driver's default boards, as a host sees it through the
// loaded module: every item, all 22 properties, each with its type and value.
#include "com/enuminterfaces.h"
#include "expert/expert_interfaces.h"
#include "keeping_collection.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/tags.h"
#include "test_helpers.h"

#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct DefaultBoard {
    const char* item;
    const char* serial;
    std::uint32_t bus, device, function, pciId;
    const char* model;
};

// The simulated driver's built-in boards; the last has no active file and gets a claimed one.
const DefaultBoard k_boards[] = {
    {"img0", "01C4A2F0", 3, 0, 0, 0x74C11F0A, "PCIe-4C"},
    {"img1", "01C4A2F7", 4, 0, 0, 0x72C21F0A, "PCIe-2C"},
    {"img2", "00E93B15", 7, 2, 0, 0x61B01F0A, "PCI-1C"},
    {"img3", "0203D4C8", 9, 0, 1, 0x7CF41F0A, "PCIe-CL"},
};
constexpr std::uint32_t k_driverVersion = 0x15030000;

struct Expected {
    std::uint32_t tag;
    kcSysAttributeType type;
    std::string text; // strings
    std::uint32_t number;
};

std::vector<Expected> ExpectedProperties(const DefaultBoard& board) {
    return {{kcSysTagSerialNumber, kcSysAttrTypeString, board.serial, 0},
            {kcSysTagConstant1C, kcSysAttrTypeInteger, "", 1},
            {kcSysTagItemName, kcSysAttrTypeString, board.item, 0},
            {kcSysTagItemAlias, kcSysAttrTypeString, board.item, 0},
            {kcSysTagFlag54, kcSysAttrTypeBoolean, "", 0},
            {kcSysTagConstant2A, kcSysAttrTypeInteger, "", 99},
            {kcSysTagFlag01, kcSysAttrTypeBoolean, "", 1},
            {kcSysTagFlag28, kcSysAttrTypeBoolean, "", 0},
            {kcSysTagConstant24, kcSysAttrTypeInteger, "", 1},
            {kcSysTagFlag08, kcSysAttrTypeBoolean, "", 1},
            {kcSysTagPciIdUpper, kcSysAttrTypeUnsignedInteger, "", board.pciId >> 16},
            {kcSysTagPciIdLower, kcSysAttrTypeUnsignedInteger, "", board.pciId & 0xFFFF},
            {kcSysTagVendor, kcSysAttrTypeString, "Verantic", 0},
            {kcSysTagModel, kcSysAttrTypeString, board.model, 0},
            {kcSysTagEmptyText, kcSysAttrTypeString, "", 0},
            {kcSysTagConstant0B, kcSysAttrTypeInteger, "", 0xFFFFFFFF},
            {kcSysTagDriverVersion, kcSysAttrTypeUnsignedInteger, "", k_driverVersion},
            {kcSysTagDriverFamily, kcSysAttrTypeString, "ZEVA", 0},
            {kcSysTagCount02, kcSysAttrTypeUnsignedInteger, "", 1},
            {kcSysTagPciBus, kcSysAttrTypeUnsignedInteger, "", board.bus},
            {kcSysTagPciDevice, kcSysAttrTypeUnsignedInteger, "", board.device},
            {kcSysTagPciFunction, kcSysAttrTypeUnsignedInteger, "", board.function}};
}

std::string Narrow(const char16_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text)
        out += static_cast<char>(*text);
    return out;
}

void ExpectProperty(IkcSysPropertyBag* bag, const Expected& expected, const char* item) {
    SCOPED_TRACE(std::string(item) + " tag " + std::to_string(expected.tag));
    kcSysAttributeType type{};
    ASSERT_EQ(bag->GetPropertyType(expected.tag, &type), S_OK);
    ASSERT_EQ(type, expected.type);
    switch (expected.type) {
    case kcSysAttrTypeString: {
        char16_t* text = nullptr;
        ASSERT_EQ(bag->GetStringProperty(expected.tag, &text), S_OK);
        EXPECT_EQ(Narrow(text), expected.text);
        FreeBoundaryString(text);
        break;
    }
    case kcSysAttrTypeInteger: {
        std::int32_t value = 0;
        ASSERT_EQ(bag->GetIntegerProperty(expected.tag, &value), S_OK);
        EXPECT_EQ(value, static_cast<std::int32_t>(expected.number));
        break;
    }
    case kcSysAttrTypeUnsignedInteger: {
        std::uint32_t value = 0;
        ASSERT_EQ(bag->GetUnsignedIntegerProperty(expected.tag, &value), S_OK);
        EXPECT_EQ(value, expected.number);
        break;
    }
    default: {
        int value = -1;
        ASSERT_EQ(bag->GetBooleanProperty(expected.tag, &value), S_OK);
        EXPECT_EQ(value, static_cast<int>(expected.number));
    }
    }
}

} // namespace

TEST(ModuleReport, Default_boards_report_every_item_with_all_22_typed_properties) {
    zevadriverReset();
    LoadedModule module;
    ASSERT_TRUE(module.Loaded()) << module.Error();
    void* pointer = nullptr;
    ASSERT_EQ(module.factory()(&pointer), S_OK);
    auto* expert = static_cast<IkcSysExpert2*>(pointer);
    ASSERT_EQ(expert->Initialize(), S_OK);

    KeepingCollection collection;
    ASSERT_EQ(expert->SearchForItemsAndProperties(&collection), S_OK);
    ASSERT_EQ(collection.m_bags.size(), std::size(k_boards));
    for (std::size_t i = 0; i < std::size(k_boards); ++i) {
        IkcSysPropertyBag* bag = collection.m_bags[i];
        const std::vector<Expected> expected = ExpectedProperties(k_boards[i]);
        for (const Expected& property : expected)
            ExpectProperty(bag, property, k_boards[i].item);
        IkcSysEnumPropertyTag* tags = nullptr;
        ASSERT_EQ(bag->EnumProperties(&tags), S_OK);
        std::uint32_t batch[32];
        std::uint32_t fetched = 0;
        EXPECT_EQ(tags->Next(32, batch, &fetched), S_FALSE);
        EXPECT_EQ(fetched, 22u) << "no other tags";
        EXPECT_EQ(tags->Release(), 0);
    }

    IkcSysPropertyBag* one = nullptr;
    ASSERT_EQ(expert->GetPropertiesOfItem(u"IMG2", &one), S_OK);
    ExpectProperty(one, {kcSysTagSerialNumber, kcSysAttrTypeString, "00E93B15", 0}, "IMG2");
    EXPECT_EQ(one->Release(), 0);
    EXPECT_EQ(expert->Finalize(), S_OK);
    EXPECT_EQ(expert->Release(), 0);
    zevadriverReset();
}
