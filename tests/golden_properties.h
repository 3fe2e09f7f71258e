// The properties every item's bag holds, written out once more on purpose, as hosts know them:
// each tag with its type code, where its value comes from and the value it has on the golden
// board. Tests hold the property table and the bags the expert reports to this list; nothing
// here is worked out from the table.
#ifndef QX_TESTS_GOLDEN_PROPERTIES_H
#define QX_TESTS_GOLDEN_PROPERTIES_H

#include "com/enuminterfaces.h"
#include "propertybag/propertybag_interfaces.h"
#include "simulated_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>

// Fixed: the same on every board. Board_<member>: that member of the driver's board record.
enum class Source {
    Fixed,
    Serial,
    ItemName,
    Model,
    PciIdHigh,
    PciIdLow,
    DriverVersion,
    Board_pciBus,
    Board_pciDevice,
    Board_pciFunction,
    Count // not a source: how many there are, which sizes the lists that name each one
};

struct GoldenProperty {
    std::uint32_t tag;
    std::int32_t type; // the type code
    Source source;
    const char* text;     // a string's value
    std::uint32_t number; // else the integer's bits, the unsigned value or the flag
};

// Each of its own values is nonzero and unlike the others, so that a value discovery never
// read, or read into another field, cannot pass.
inline constexpr std::uint32_t k_goldenDriverVersion = 0x15030000;
inline TestBoard GoldenBoard() {
    return TestBoard()
        .Serial(0x01C4A2F0)
        .Active("img0.zid")
        .Pci(3, 14, 6)
        .Id(0x7A911093)
        .Name("ZEVA PCIe-4C");
}

enum : std::int32_t { k_flag = 1, k_integer = 2, k_unsigned = 3, k_string = 6 };

// In the order the expert sets them.
inline constexpr GoldenProperty k_goldenProperties[] = {
    {0x01007000, k_string, Source::Serial, "01C4A2F0", 0},
    {0x0101C000, k_integer, Source::Fixed, "", 1},
    {0x0101D000, k_string, Source::ItemName, "img0", 0},
    {0x0101F000, k_string, Source::ItemName, "img0", 0},
    {0x01054000, k_flag, Source::Fixed, "", 0},
    {0x0102A000, k_integer, Source::Fixed, "", 99},
    {0x01001000, k_flag, Source::Fixed, "", 1},
    {0x01028000, k_flag, Source::Fixed, "", 0},
    {0x01024000, k_integer, Source::Fixed, "", 1},
    {0x01008000, k_flag, Source::Fixed, "", 1},
    {0x01005000, k_unsigned, Source::PciIdHigh, "", 0x7A91},
    {0x01003000, k_unsigned, Source::PciIdLow, "", 0x1093},
    {0x01004000, k_string, Source::Fixed, "Verantic", 0},
    {0x01006000, k_string, Source::Model, "PCIe-4C", 0},
    {0x0100A000, k_string, Source::Fixed, "", 0},
    {0x0100B000, k_integer, Source::Fixed, "", 0xFFFFFFFF}, // -1
    {0x0700C000, k_unsigned, Source::DriverVersion, "", k_goldenDriverVersion},
    {0x0700D000, k_string, Source::Fixed, "ZEVA", 0},
    {0x01002000, k_unsigned, Source::Fixed, "", 1},
    {0x01018000, k_unsigned, Source::Board_pciBus, "", 3},
    {0x01019000, k_unsigned, Source::Board_pciDevice, "", 14},
    {0x0101A000, k_unsigned, Source::Board_pciFunction, "", 6},
};

inline std::string NarrowUnits(const char16_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text)
        out += static_cast<char>(*text);
    return out;
}

// The value under a tag, read by the getter of the given type code as text or number; each
// out-value starts as what no read of this test writes.
inline std::string ReadProperty(IkcSysPropertyBag* bag, std::uint32_t tag, std::int32_t type) {
    HRESULT result = E_FAIL;
    std::string read;
    if (type == k_string) {
        char16_t* text = reinterpret_cast<char16_t*>(0x1);
        result = bag->GetStringProperty(tag, &text);
        if (result == S_OK && text != nullptr) { // a boundary block: its length lies before it
            read = "\"" + NarrowUnits(text) + "\"";
            std::free(reinterpret_cast<unsigned char*>(text) - 4);
        }
    } else if (type == k_integer) {
        std::int32_t value = 0x5A5A5A5A;
        result = bag->GetIntegerProperty(tag, &value);
        read = std::to_string(static_cast<std::uint32_t>(value));
    } else if (type == k_unsigned) {
        std::uint32_t value = 0x5A5A5A5A;
        result = bag->GetUnsignedIntegerProperty(tag, &value);
        read = std::to_string(value);
    } else {
        int value = 7;
        result = bag->GetBooleanProperty(tag, &value);
        read = std::to_string(value);
    }
    return result == S_OK ? read : "result " + std::to_string(result);
}

// The bag holds every golden tag with its type and the golden board's value, and no other;
// the item name as the caller spelled it.
inline void ExpectGoldenBag(IkcSysPropertyBag* bag, const std::string& itemName = "img0") {
    for (const GoldenProperty& golden : k_goldenProperties) {
        char tag[16];
        std::snprintf(tag, sizeof tag, "0x%08X", static_cast<unsigned>(golden.tag));
        kcSysAttributeType type{};
        EXPECT_EQ(bag->GetPropertyType(golden.tag, &type), S_OK) << tag;
        EXPECT_EQ(type, golden.type) << tag;
        const std::string text = golden.source == Source::ItemName ? itemName : golden.text;
        EXPECT_EQ(ReadProperty(bag, golden.tag, golden.type),
                  golden.type == k_string ? "\"" + text + "\"" : std::to_string(golden.number))
            << tag;
    }
    IkcSysEnumPropertyTag* tags = nullptr;
    ASSERT_EQ(bag->EnumProperties(&tags), S_OK);
    std::uint32_t batch[2 * std::size(k_goldenProperties)];
    std::uint32_t fetched = 0;
    EXPECT_EQ(tags->Next(std::size(batch), batch, &fetched), S_FALSE);
    EXPECT_EQ(fetched, std::size(k_goldenProperties)) << "no other tags";
    EXPECT_EQ(tags->Release(), 0);
}

#endif
