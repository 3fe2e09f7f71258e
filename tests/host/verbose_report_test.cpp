// The full report as a person reads it (-v): every property of the table in tag order under
// its label, the PCI identifier as vendor:device, and hexadecimal in one case, in the
// one-line listing too.
#include "cli/property_labels.h"
#include "host/report.h"
#include "qxzeva/property_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

using ::testing::HasSubstr;

namespace {

// A property as the expert reports it: the PCI location and identifier with letters in
// their hexadecimal digits, every other value plain.
PropertyReading Reading(std::uint32_t tag, std::int32_t type) {
    PropertyReading reading;
    reading.tag = tag;
    reading.type = type;
    const std::pair<std::uint32_t, std::uint32_t> pci[] = {{kcSysTagPciBus, 0x1A},
                                                           {kcSysTagPciDevice, 0x1F},
                                                           {kcSysTagPciFunction, 7},
                                                           {kcSysTagPciIdUpper, 0xABCD},
                                                           {kcSysTagPciIdLower, 0x1F0A}};
    for (const auto& [pciTag, value] : pci)
        reading.unsignedInteger = tag == pciTag ? value : reading.unsignedInteger;
    return reading;
}

// An item in the order the expert sets its properties.
ItemReading Item() {
    ItemReading item{"img0", {}};
#define QX_READING(constant, tag, type, label, key, source)                                        \
    item.properties.push_back(Reading(tag, type));
    QXZEVA_PROPERTY_TABLE(QX_READING)
#undef QX_READING
    return item;
}

} // namespace

TEST(VerboseReport, Lists_every_property_in_tag_order_under_its_label) {
    HostReport report;
    report.items.push_back(Item());
    const std::string text = VerboseText(report);
    std::istringstream lines(text.substr(text.find("  Tag ")));
    const std::regex row(R"(  0x([0-9A-F]{8})  (.*\S) +(boolean|integer|unsigned|string) +.*)");
    std::uint32_t last = 0;
    std::size_t rows = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_match(line, match, row))
            continue;
        const auto tag = static_cast<std::uint32_t>(std::stoul(match[1], nullptr, 16));
        EXPECT_GT(tag, last) << line;
        EXPECT_EQ(match[2], PropertyLabel(tag)) << line;
        last = tag;
        ++rows;
    }
    EXPECT_EQ(rows, std::size_t{QXZEVA_ITEM_PROPERTY_COUNT}) << text;
    EXPECT_THAT(text, HasSubstr("  0x1F0A\n"));
    EXPECT_THAT(text, HasSubstr("  0xABCD (PCI ID 1F0A:ABCD)\n"));
    EXPECT_THAT(text, HasSubstr("  26 (0x1A)\n"));
    EXPECT_THAT(ListingText(report), HasSubstr("  1A:1F.7  "));
}
