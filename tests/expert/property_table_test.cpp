// The property table that the expert, the host program and the reference expand, held row by
// row to the properties hosts know: a changed tag, type or fixed value, a row moved, added or
// dropped fails here, whatever the code built from the table does with it.
#include "golden_properties.h"
#include "qxzeva/property_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// A row as the table can say it: the value only where it is the same on every board.
std::string RowText(const GoldenProperty& row) {
    static const char* const k_sources[] = {
        "fixed",      "serial",         "item name", "model",      "PCI ID high",
        "PCI ID low", "driver version", "PCI bus",   "PCI device", "PCI function"};
    // A new source without its name here would be read past the list's end.
    static_assert(std::size(k_sources) == static_cast<std::size_t>(Source::Count),
                  "one name for each Source");
    char text[64];
    std::snprintf(text, sizeof text, "0x%08X type %d %s", static_cast<unsigned>(row.tag),
                  static_cast<int>(row.type), k_sources[static_cast<int>(row.source)]);
    if (row.source != Source::Fixed)
        return text;
    return text + std::string(" \"") + row.text + "\" " + std::to_string(row.number);
}

} // namespace

TEST(PropertyTable, Every_row_is_the_property_hosts_know_in_its_place) {
#define QX_GOLDEN_SERIAL Source::Serial, "", 0
#define QX_GOLDEN_ITEM_NAME Source::ItemName, "", 0
#define QX_GOLDEN_MODEL Source::Model, "", 0
#define QX_GOLDEN_PCI_ID_HIGH Source::PciIdHigh, "", 0
#define QX_GOLDEN_PCI_ID_LOW Source::PciIdLow, "", 0
#define QX_GOLDEN_DRIVER_VERSION Source::DriverVersion, "", 0
#define QX_GOLDEN_BOARD(member) Source::Board_##member, "", 0
#define QX_GOLDEN_FIXED(value) Source::Fixed, "", static_cast<std::uint32_t>(value)
#define QX_GOLDEN_TEXT(text) Source::Fixed, text, 0
// The one line that names the table's columns.
#define QX_GOLDEN_ROW(constant, tag, type, label, jsonKey, source) {tag, type, QX_GOLDEN_##source},
    const GoldenProperty table[] = {QXZEVA_PROPERTY_TABLE(QX_GOLDEN_ROW)};
    std::vector<std::string> tableRows;
    for (const GoldenProperty& row : table)
        tableRows.push_back(RowText(row));
    std::vector<std::string> goldenRows;
    for (const GoldenProperty& row : k_goldenProperties)
        goldenRows.push_back(RowText(row));
    const std::size_t rows = std::max(tableRows.size(), goldenRows.size());
    tableRows.resize(rows, "(no row)");
    goldenRows.resize(rows, "(no row)");
    for (std::size_t row = 0; row < rows; ++row)
        EXPECT_EQ(tableRows[row], goldenRows[row]) << "row " << row + 1;
    EXPECT_EQ(QXZEVA_ITEM_PROPERTY_COUNT, 22);

    // The golden board's own values are nonzero and unlike each other.
    std::set<std::uint32_t> numbers;
    for (const GoldenProperty& row : k_goldenProperties) {
        if (row.source == Source::Fixed || row.type == k_string) {
            EXPECT_TRUE(row.source == Source::Fixed || *row.text != '\0') << RowText(row);
            continue;
        }
        EXPECT_NE(row.number, 0u) << RowText(row);
        EXPECT_TRUE(numbers.insert(row.number).second) << RowText(row);
    }
}

// The values the expert fixes, whose meaning is the framework's, are labelled by what they
// are: their type, their value on the golden board and their tag. Every label differs, so
// that a person can tell any two properties apart.
TEST(PropertyTable, Labels_differ_and_a_fixed_value_is_labelled_as_what_it_is) {
#define QX_LABEL_ROW(constant, tag, type, label, jsonKey, source) {tag, label},
    const std::pair<std::uint32_t, std::string> labels[] = {QXZEVA_PROPERTY_TABLE(QX_LABEL_ROW)};
#undef QX_LABEL_ROW
    std::set<std::string> seen;
    int fixed = 0;
    for (const auto& [tag, label] : labels) {
        EXPECT_TRUE(seen.insert(label).second) << label;
        if (label.rfind("Fixed ", 0) != 0)
            continue;
        ++fixed;
        const auto golden =
            std::find_if(std::begin(k_goldenProperties), std::end(k_goldenProperties),
                         [&](const GoldenProperty& row) { return row.tag == tag; });
        ASSERT_NE(golden, std::end(k_goldenProperties)) << label;
        EXPECT_EQ(golden->source, Source::Fixed) << label;
        std::string value;
        switch (golden->type) {
        case k_flag:
            value = golden->number != 0 ? "boolean true" : "boolean false";
            break;
        case k_integer:
            value = "integer " + std::to_string(static_cast<std::int32_t>(golden->number));
            break;
        case k_unsigned:
            value = "unsigned " + std::to_string(golden->number);
            break;
        default:
            value = *golden->text == '\0' ? "empty string" : "string";
            break;
        }
        char tagText[24];
        std::snprintf(tagText, sizeof tagText, " (tag 0x%08X)", static_cast<unsigned>(tag));
        EXPECT_EQ(label, "Fixed " + value + tagText);
    }
    EXPECT_EQ(fixed, 10);
}
