// What a terminal is shown: control characters escaped, columns counted as a terminal
// counts them, JSON with no raw control character; and a driver that returns such texts.
#include "cli/terminal_text.h"
#include "host/expert_session.h"
#include "host/report.h"

#include <zevadriver_control.h>

#include <nlohmann/json.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

TEST(TerminalText, Control_characters_and_broken_bytes_are_escaped_and_the_rest_kept) {
    const struct {
        const char* text;
        const char* shown;
    } k_cases[] = {
        {"img0", "img0"},
        {"evil\nname\t1\r", "evil\\nname\\t1\\r"},
        {"\x1b[31mred\x01\x1f", "\\x1b[31mred\\x01\\x1f"},
        {"del\x7f", "del\\x7f"},
        {"c1\xc2\x85\xc2\x9b", "c1\\u0085\\u009b"},
        {"Kamera-\xc3\x9c"
         "1 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80",
         nullptr},
        // A backslash is doubled, so a backslash and an n never read as a newline.
        {"C:\\boards\\n", "C:\\\\boards\\\\n"},
        // Format characters: they would reorder or hide the text around them.
        {"a\xe2\x80\xae"
         "b",
         "a\\u202eb"},
        {"a\xe2\x80\x8b"
         "b",
         "a\\u200bb"},
        {"a\xc2\xad"
         "b",
         "a\\u00adb"},
        {"\xf3\xa0\x81\x81", "\\U000e0041"}, // a tag character
        {"\xff\xc0\xaf", "\\xff\\xc0\\xaf"}, // never UTF-8; an overlong '/'
        {"\xed\xa0\x80", "\\xed\\xa0\\x80"}, // a surrogate
        {"\xe6\x97", "\\xe6\\x97"},          // cut short
    };
    for (const auto& entry : k_cases)
        EXPECT_EQ(TerminalText(entry.text), entry.shown != nullptr ? entry.shown : entry.text)
            << entry.text;
}

TEST(TerminalText, Display_width_counts_wide_and_combining_characters_in_columns) {
    const struct {
        const char* text;
        std::size_t width;
    } k_cases[] = {
        {"img0", 4},
        {"\xc3\x9c", 1},                 // U+00DC
        {"U\xcc\x88", 1},                // U and a combining diaeresis
        {"\xe6\x97\xa5\xe6\x9c\xac", 4}, // two ideographs
        {"\xea\xb0\x80", 2},             // a Hangul syllable
        {"\xef\xbc\xa1\xef\xbd\xb6", 3}, // a full-width A, a half-width katakana
        {"\xf0\x9f\x98\x80", 2},         // an emoji
        {"a\xe2\x80\x8b"
         "b",
         2},         // a zero-width space
        {"\xff", 1}, // shown as one escape byte would be
    };
    for (const auto& entry : k_cases)
        EXPECT_EQ(DisplayWidth(entry.text), entry.width) << entry.text;
}

TEST(TerminalText, Names_show_where_they_begin_and_end_and_long_ones_are_cut) {
    const struct {
        std::string text;
        std::string name; // TerminalName
        std::string cut;  // CutToWidth(text, 5)
    } k_cases[] = {
        {"img0", "img0", "img0"},
        {" ", "\" \"", " "},
        {"", "\"\"", ""},
        {"img0 ", "\"img0 \"", "img0 "},
        {"a\xc2\xa0"
         "b",
         "\"a\xc2\xa0"
         "b\"",
         "a\xc2\xa0"
         "b"},
        {"abcdefgh", "abcdefgh", "abcd\xe2\x80\xa6"},
        {"\xe6\x97\xa5\xe6\x9c\xac\xe6\x97\xa5", "\xe6\x97\xa5\xe6\x9c\xac\xe6\x97\xa5",
         "\xe6\x97\xa5\xe6\x9c\xac\xe2\x80\xa6"}, // whole wide characters only
    };
    for (const auto& entry : k_cases) {
        EXPECT_EQ(TerminalName(entry.text), entry.name) << entry.text;
        EXPECT_EQ(CutToWidth(entry.text, 5), entry.cut) << entry.text;
    }
}

namespace {

ItemReading Item(const std::string& name, const std::string& serial) {
    ItemReading item;
    item.name = name;
    PropertyReading property;
    property.tag = kcSysTagSerialNumber;
    property.type = kcSysAttrTypeString;
    property.text = serial;
    item.properties.push_back(property);
    return item;
}

} // namespace

TEST(TerminalText, Listing_columns_line_up_by_display_width) {
    HostReport report;
    for (const char* name : {"img0", "\xe6\x97\xa5\xe6\x9c\xac",
                             "U\xcc\x88"
                             "ber",
                             "\xc3\x9c"
                             "ber"})
        report.items.push_back(Item(name, "S"));
    std::istringstream lines(ListingText(report));
    std::vector<std::size_t> columns;
    for (std::string line; std::getline(lines, line);)
        columns.push_back(DisplayWidth(line.substr(0, line.find("  S") + 2)));
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_THAT(columns, ::testing::Each(columns[0]));
}

TEST(TerminalText, Json_escapes_every_control_character_and_reads_back_exactly) {
    HostReport report;
    report.namesOnly = true;
    const std::string name = "a\nb\x1b\x7f\xc2\x85\xc3\x9c\xe2\x80\xae\xf3\xa0\x81\x81";
    report.itemNames = {name};
    const std::string json = JsonReportText(ReportJson(report));
    for (const char raw : {'\x1b', '\x7f'})
        EXPECT_EQ(json.find(raw), std::string::npos) << int(raw);
    EXPECT_EQ(json.find("\xc2\x85"), std::string::npos);
    EXPECT_EQ(json.find("\xe2\x80\xae"), std::string::npos);
    EXPECT_THAT(json, ::testing::HasSubstr(std::string(R"("a\nb\u001b\u007f\u0085)") + "\xc3\x9c" +
                                           R"(\u202e\udb40\udc41")"));
    EXPECT_EQ(nlohmann::json::parse(json)["itemNames"][0], name);
}

TEST(TerminalText, Texts_a_driver_returns_with_control_characters_are_shown_escaped) {
    zevadriverClearBoards();
    zevadriverBoard board = {};
    board.size = ZEVADRIVER_BOARD_SIZE;
    board.serialNumber = 0x0000ABCD;
    board.activeFile = "evil\n\x1b[31mname\x9b.zid";
    board.claimFile = "";
    board.pciBus = 1;
    board.pciId = 0x12345678;
    board.boardName = "tab\tmodel";
    ASSERT_EQ(zevadriverAddBoardUnchecked(&board), 0);
    HostReport report;
    std::string error;
    {
        ExpertSession session;
        ASSERT_EQ(session.Load(QX_MODULE_PATH, "", &error), k_exitOk) << error;
        ASSERT_EQ(session.Identify(&report, &error), k_exitOk) << error;
        ASSERT_EQ(session.Initialize(&error), k_exitOk) << error;
        ASSERT_EQ(session.ListNames(&report, &error), k_exitOk) << error;
        ASSERT_EQ(session.ReportAll(&report, &error), k_exitOk) << error;
    }
    zevadriverReset();
    const HostReport shown = TerminalReport(report);
    EXPECT_EQ(NamesText(shown), "evil\\n\\x1b[31mname\\u009b\n");
    EXPECT_THAT(ListingText(shown), ::testing::HasSubstr("evil\\n\\x1b[31mname\\u009b  0000ABCD"));
    const std::string verbose = VerboseText(shown);
    EXPECT_EQ(verbose.find('\x1b'), std::string::npos);
    EXPECT_THAT(verbose, ::testing::HasSubstr("tab\\tmodel"));
}
