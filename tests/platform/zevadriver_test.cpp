// The simulated image driver itself: its description files, the limits of what it writes,
// its failure injection and its call log.
#include "simulated_driver.h"

#include "board_record.h"

#include <imagedriver.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

class SimulatedDriver : public SimulatedDriverTest {
protected:
    // Writes `content` to a file of its own and loads it; the error text, empty on success.
    std::string Load(const std::string& content) {
        m_path = ::testing::TempDir() + "zevadriver_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".toml";
        std::ofstream(m_path) << content;
        char error[512];
        std::memset(error, 'x', sizeof error);
        const int result = zevadriverLoadDescription(m_path.c_str(), error, sizeof error);
        EXPECT_EQ(result == 0, error[0] == '\0') << error;
        return error;
    }
    std::uint32_t BoardCount() {
        std::uint32_t count = 0xDEAD;
        EXPECT_EQ(qxzevauGetSerialNumber(nullptr, &count), 0);
        return count;
    }

    std::string m_path;
};

const char k_oneBoard[] = R"(driver_version = 0x15030000
[[board]]
serial_number = 0x01C4A2F0
active_file = "img0.zid"
pci_bus = 3
pci_device = 0
pci_function = 0
pci_id = 0x74C11F0A
board_name = "ZEVA PCIe-4C"
)";

// k_oneBoard with `line` (1-based) replaced.
std::string WithLine(int line, const std::string& replacement) {
    std::string text = k_oneBoard;
    std::size_t start = 0;
    for (int skipped = 1; skipped < line; ++skipped)
        start = text.find('\n', start) + 1;
    return text.replace(start, text.find('\n', start) - start, replacement);
}

} // namespace

TEST_F(SimulatedDriver, A_description_file_replaces_the_boards_and_the_version) {
    ASSERT_EQ(Load(std::string(k_oneBoard) + R"([[board]]
serial_number = 7
claim_file = "camera.zid"
pci_bus = 255
pci_device = 31
pci_function = 7
pci_id = 0xFFFFFFFF
board_name = "ZEVA PCIe-CL with a name of forty-nine characters"
)"),
              "");
    std::uint32_t version = 0;
    EXPECT_EQ(qxzevauGetDriverVersion(&version), 0);
    EXPECT_EQ(version, 0x15030000u);
    ASSERT_EQ(BoardCount(), 2u);
    std::uint32_t serials[2] = {};
    std::uint32_t count = 2;
    EXPECT_EQ(qxzevauGetSerialNumber(serials, &count), 0);
    EXPECT_THAT(serials, ElementsAre(0x01C4A2F0u, 7u));

    char name[QXZEVAU_INTERFACE_FILE_BUFFER] = {};
    EXPECT_EQ(qxzevauGetActiveInterfaceFile(7, name), ZEVADRIVER_ERROR_NO_ACTIVE_FILE);
    EXPECT_EQ(qxzevauClaimNewInterfaceFile(7, name), 0);
    EXPECT_STREQ(name, "camera.zid");
    EXPECT_EQ(qxzevauSetActiveInterfaceFile(7, name), 0);
    std::uint32_t location[3] = {};
    EXPECT_EQ(qxzevauGetBoardPCILocation(7, &location[0], &location[1], &location[2]), 0);
    EXPECT_THAT(location, ElementsAre(255u, 31u, 7u));
    char boardName[QXZEVAU_BOARD_NAME_BUFFER];
    EXPECT_EQ(qxzevauGetBoardName(7, boardName), 0);
    EXPECT_EQ(std::strlen(boardName), 49u);
}

TEST_F(SimulatedDriver, The_example_description_beside_the_driver_loads) {
    const std::string path = QX_SOURCE_DIR "/platform/imagedriver/example_boards.toml";
    char error[512] = {};
    EXPECT_EQ(zevadriverLoadDescription(path.c_str(), error, sizeof error), 0) << error;
    EXPECT_EQ(BoardCount(), 3u);
}

// What qxzeva-boards(5) says of a key, from the key table: "(integer, 0 to 255; required)".
std::string KeySummary(const char* kind, std::uint32_t limit, bool required) {
    char range[32];
    std::snprintf(range, sizeof range, limit > 0xFFFF ? "0x%X" : "%u",
                  static_cast<unsigned>(limit));
    std::string summary = std::strcmp(kind, "INTEGER") == 0 ? std::string("integer, 0 to ") + range
                          : std::strcmp(kind, "FLAG") == 0
                              ? std::string("boolean")
                              : std::string("text, 1 to ") + range + " bytes";
    return summary + (required ? "; required" : "; optional");
}

TEST_F(SimulatedDriver, The_manual_lists_each_board_key_as_the_key_table_gives_it) {
    const std::string path = QX_SOURCE_DIR "/host/qxzeva-boards.5.in";
    std::ifstream manual(path);
    ASSERT_TRUE(manual) << path;
    std::vector<std::string> listed;
    bool inBoardKeys = false;
    std::string previous;
    for (std::string line; std::getline(manual, line); previous = line) {
        if (line.rfind(".SH ", 0) == 0)
            inBoardKeys = line == ".SH BOARD KEYS";
        else if (inBoardKeys && (previous == ".TP" || previous == ".TQ"))
            listed.push_back(line.substr(line.find(' ') + 1));
    }
    std::vector<std::string> expected;
#define QX_KEY_LINE(member, key, kind, limit, required, meaning)                                   \
    expected.push_back(std::string(key) + " \" (" + KeySummary(#kind, limit, required) + ")\"");
    ZEVADRIVER_BOARD_FIELDS(QX_KEY_LINE)
#undef QX_KEY_LINE
    EXPECT_EQ(listed, expected);
}

TEST_F(SimulatedDriver, A_bad_description_is_refused_naming_file_line_and_problem) {
    struct Case {
        std::string content;
        std::string where; // "line:column"
        std::string problem;
    };
    const Case cases[] = {
        {WithLine(4, "active_file = \"img0.zid"), "4:", "the string is not valid TOML: "},
        {WithLine(3, "# no serial number"), "2:1", "missing key 'serial_number'"},
        {WithLine(1, "# no version"), "1:1", "missing key 'driver_version'"},
        {WithLine(5, "pci_bus = \"3\""), "5:11", "expected an integer, found a string"},
        {WithLine(6, "pci_device = 32"), "6:14", "value 32 is out of range 0..31"},
        {WithLine(3, "serial_number = -1"), "3:", "out of range 0..4294967295"},
        {WithLine(9, "board_name = \"" + std::string(50, 'Z') + "\""), "9:14",
         "the text has 50 bytes; the driver's buffer holds 49"},
        {WithLine(4, "active_file = \"" + std::string(252, 'f') + ".zid\""), "4:15",
         "256 bytes; the driver's buffer holds 255"},
        {WithLine(4, "active_file = \"img0.txt\""), "4:15", "needs a name ending in .zid"},
        {WithLine(4, "active_file = \"a/img0.zid\""), "4:15", "is a path"},
        {WithLine(4, "actve_file = \"img0.zid\""), "4:1", "unknown key 'actve_file'"},
        {WithLine(2, "[board]"), "2:1", "must be an array of tables"},
        {std::string(k_oneBoard) + WithLine(1, "").substr(1), "11:17",
         "serial number 01C4A2F0 is already used at line 3"},
        {WithLine(4, "active_file = \".zid\""), "4:15",
         "interface file '.zid' has an empty name before .zid"},
        {std::string(k_oneBoard) + "[[board]]\nserial_number = 2\nactive_file = \"img1.zid\"\n" +
             WithLine(1, "").substr(WithLine(1, "").find("pci_bus")),
         "13:11", "PCI location 03:00.0 is already used at line 5"},
        // Texts are 8-bit: ISO 8859-1 (\u00FF fits), no control character, no wider one.
        {WithLine(9, "board_name = \"\u00FF\u30AB\u30E1\u30E9\""),
         "9:16:", "U+30AB '\u30AB', which is not in ISO 8859-1: the driver's texts are 8-bit"},
        // Where the parser skips blanks, a letter of ISO 8859-1 is refused like any other.
        {WithLine(3, "\u00E9 = 1"), "3:1", "but found '\u00E9'"},
        {WithLine(5, "pci_bus = \u00C4"), "5:11", "could not"},
        {WithLine(5, "pci_bus = -\u00C41"), "5:12",
         "the decimal integer is not valid TOML: expected digit or sign but found '\u00C4'"},
        {WithLine(4, "active_file = \"evil\\nname.zid\""), "4:20:", "control character U+000A"},
        {WithLine(9, "board_name = \"\\u001b[31mred\""), "9:15:", "control character U+001B"},
        {WithLine(9, "board_name = \"del\\u007F\""), "9:18:", "control character U+007F"},
        {WithLine(9, "board_name = \"c1\\u0085\""), "9:17:", "control character U+0085"},
        {WithLine(9, "board_name = \"nul\\u0000\""), "9:18:", "control character U+0000"},
        // A character's column is its own, escapes counted as written; a decomposed letter
        // gets a hint, with the mark itself never quoted.
        {WithLine(9, "board_name = \"Kame\u0301ra\""), "9:19:",
         "the combining mark U+0301, which is not in ISO 8859-1: write \u00E9 as one character, "
         "U+00E9"},
        {WithLine(9, "board_name = \"\\u00e9\\u0308\""), "9:21:",
         "the combining mark U+0308, "
         "which is not in ISO 8859-1"},
        {WithLine(9, "board_name = \"" + std::string(24, 'Z') + "\u00C4" + std::string(25, 'Z') +
                         "\""),
         "9:14", "the text has 50 bytes; the driver's buffer holds 49"},
        {WithLine(2, "[board"), "2:", "the table header is not valid TOML: expected ']' but found"},
        {WithLine(1, "driver_version = " + std::string(300, '[')),
         "1:", "exceeded maximum nested value depth of 256"},
    };
    for (const Case& bad : cases) {
        SCOPED_TRACE(bad.content);
        zevadriverReset();
        const std::string error = Load(bad.content);
        EXPECT_THAT(error, StartsWith(m_path + ":" + bad.where));
        EXPECT_THAT(error, HasSubstr(bad.problem));
        EXPECT_THAT(error, Not(HasSubstr("Error while"))) << "in the description's own words";
        EXPECT_THAT(error, Not(HasSubstr("TOML_"))) << "no name of the reader's own";
        EXPECT_EQ(BoardCount(), 4u) << "a refused file leaves the boards as they were";
    }
}

// The board of k_oneBoard, and a second one unlike it in every value.
TestBoard OneBoard() {
    return TestBoard()
        .Serial(0x01C4A2F0)
        .Active("img0.zid")
        .Pci(3, 0, 0)
        .Id(0x74C11F0A)
        .Name("ZEVA PCIe-4C");
}
TestBoard SecondBoard() {
    return TestBoard().Serial(2).Active("img1.zid").Pci(4, 0, 0).Id(1).Name("B");
}
const char k_secondBoard[] = R"([[board]]
serial_number = 2
active_file = "img1.zid"
pci_bus = 4
pci_device = 0
pci_function = 0
pci_id = 1
board_name = "B"
)";

// k_secondBoard with the line of `key` replaced.
std::string SecondWith(const std::string& key, const std::string& replacement) {
    std::string text = k_secondBoard;
    const std::size_t start = text.find("\n" + key + " ") + 1;
    return text.replace(start, text.find('\n', start) - start, replacement);
}

// Each rule a board meets, through both ways in: a description whose board breaks it, and the
// same board through zevadriverAddBoard (zevadriverSetActiveFile too for a file name). Both
// refuse with the same reason; the control interface gives the rule's status, and
// zevadriverAddBoardUnchecked lets the board in exactly when the rule is on its values.
TEST_F(SimulatedDriver, Every_rule_refuses_a_board_alike_from_a_file_and_from_the_control) {
    struct Row {
        const char* what;
        std::string file;                     // the description
        std::function<void(TestBoard&)> edit; // the same board for the control
        bool second;                          // the board edited is the second, after OneBoard
        std::int32_t status;
        std::string reason;
        bool valueRule;
    };
    const auto activeFile = [](const char* name) { return [=](TestBoard& b) { b.Active(name); }; };
    const auto boardName = [](const char* name) { return [=](TestBoard& b) { b.Name(name); }; };
    const std::string two = k_oneBoard;
    const Row rows[] = {
        {"bus", WithLine(5, "pci_bus = 999"), [](TestBoard& b) { b.pciBus = 999; }, false,
         ZEVADRIVER_ERROR_OUT_OF_RANGE, "pci_bus: value 999 is out of range 0..255", true},
        {"device", WithLine(6, "pci_device = 99"), [](TestBoard& b) { b.pciDevice = 99; }, false,
         ZEVADRIVER_ERROR_OUT_OF_RANGE, "pci_device: value 99 is out of range 0..31", true},
        {"function", WithLine(7, "pci_function = 42"), [](TestBoard& b) { b.pciFunction = 42; },
         false, ZEVADRIVER_ERROR_OUT_OF_RANGE, "pci_function: value 42 is out of range 0..7", true},
        {"empty name", WithLine(9, "board_name = \"\""), boardName(""), false,
         ZEVADRIVER_ERROR_MISSING_TEXT, "board_name: the text is empty", true},
        {"null name", WithLine(9, "board_name = \"\""), boardName(nullptr), false,
         ZEVADRIVER_ERROR_MISSING_TEXT, "board_name: the text is empty", true},
        {"long name", WithLine(9, "board_name = \"" + std::string(50, 'Z') + "\""),
         [](TestBoard& b) {
             static const std::string name(50, 'Z');
             b.Name(name.c_str());
         },
         false, ZEVADRIVER_ERROR_NAME_TOO_LONG,
         "board_name: the text has 50 bytes; the driver's buffer holds 49", false},
        {"tab", WithLine(9, "board_name = \"tab\\tmodel\""), boardName("tab\tmodel"), false,
         ZEVADRIVER_ERROR_CONTROL_CHARACTER,
         "board_name: the text holds the control character U+0009; texts may not hold control "
         "characters",
         true},
        {"C1", WithLine(9, "board_name = \"c1\\u0085\""), boardName("c1\x85"), false,
         ZEVADRIVER_ERROR_CONTROL_CHARACTER,
         "board_name: the text holds the control character U+0085", true},
        {"escape in a file", WithLine(4, "active_file = \"evil\\u001b.zid\""),
         activeFile("evil\x1b.zid"), false, ZEVADRIVER_ERROR_CONTROL_CHARACTER,
         "active_file: the text holds the control character U+001B", true},
        {"not a file", WithLine(4, "active_file = \"not/a/file\""), activeFile("not/a/file"), false,
         ZEVADRIVER_ERROR_BAD_FILE_NAME,
         "active_file: interface file 'not/a/file' needs a name ending in .zid", true},
        {"a path", WithLine(4, "active_file = \"a/img0.zid\""), activeFile("a/img0.zid"), false,
         ZEVADRIVER_ERROR_BAD_FILE_NAME,
         "active_file: interface file 'a/img0.zid' is a path, not a file name", true},
        {"no name", WithLine(4, "claim_file = \".zid\""), [](TestBoard& b) { b.Claim(".zid"); },
         false, ZEVADRIVER_ERROR_BAD_FILE_NAME,
         "claim_file: interface file '.zid' has an empty name before .zid", true},
        {"long file", WithLine(4, "active_file = \"" + std::string(252, 'f') + ".zid\""),
         [](TestBoard& b) {
             static const std::string name = std::string(252, 'f') + ".zid";
             b.Active(name.c_str());
         },
         false, ZEVADRIVER_ERROR_NAME_TOO_LONG,
         "active_file: the text has 256 bytes; the driver's buffer holds 255", false},
        {"one PCI location", two + SecondWith("pci_bus", "pci_bus = 3"),
         [](TestBoard& b) { b.Pci(3, 0, 0); }, true, ZEVADRIVER_ERROR_DUPLICATE_LOCATION,
         "PCI location 03:00.0 is already used", true},
        {"one serial", two + SecondWith("serial_number", "serial_number = 0x01C4A2F0"),
         [](TestBoard& b) { b.serialNumber = 0x01C4A2F0; }, true, ZEVADRIVER_ERROR_DUPLICATE_SERIAL,
         "serial number 01C4A2F0 is already used", false},
        {"one file", two + SecondWith("active_file", "active_file = \"img0.zid\""),
         activeFile("img0.zid"), true, ZEVADRIVER_ERROR_FILE_EXISTS,
         "interface file 'img0.zid' is already used", false},
        {"claimed file", two + SecondWith("active_file", "claim_file = \"img0.zid\""),
         [](TestBoard& b) { b.Claim("img0.zid").Active(nullptr); }, true,
         ZEVADRIVER_ERROR_FILE_EXISTS, "interface file 'img0.zid' is already used", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        zevadriverReset();
        const std::string error = Load(row.file);
        EXPECT_THAT(error, HasSubstr(": " + row.reason));

        zevadriverClearBoards();
        TestBoard board = row.second ? SecondBoard() : OneBoard();
        if (row.second)
            AddBoard(OneBoard());
        row.edit(board);
        EXPECT_EQ(zevadriverAddBoard(&board), row.status);
        const char* reason = zevadriverLastBoardError();
        ASSERT_NE(reason, nullptr);
        EXPECT_THAT(reason, StartsWith(row.reason));
        EXPECT_THAT(error, HasSubstr(std::string(": ") + reason)) << "the same words both ways";
        EXPECT_EQ(BoardCount(), row.second ? 1u : 0u);

        EXPECT_EQ(zevadriverAddBoardUnchecked(&board), row.valueRule ? 0 : row.status);
    }
}

// zevadriverSetActiveFile meets the rules of a file name as a board's active_file does.
TEST_F(SimulatedDriver, Setting_an_active_file_meets_the_rules_of_a_file_name) {
    AddBoard(OneBoard());
    AddBoard(SecondBoard());
    const struct {
        const char* name;
        std::int32_t status;
        const char* reason;
    } rows[] = {
        {"not/a/file", ZEVADRIVER_ERROR_BAD_FILE_NAME,
         "active_file: interface file 'not/a/file' needs a name ending in .zid"},
        {"a/b.zid", ZEVADRIVER_ERROR_BAD_FILE_NAME,
         "active_file: interface file 'a/b.zid' is a path"},
        {"", ZEVADRIVER_ERROR_MISSING_TEXT, "active_file: the text is empty"},
        {"bell\a.zid", ZEVADRIVER_ERROR_CONTROL_CHARACTER,
         "active_file: the text holds the control character U+0007"},
        {"img1.zid", ZEVADRIVER_ERROR_FILE_EXISTS, "interface file 'img1.zid' is already used"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(zevadriverSetActiveFile(0x01C4A2F0, row.name), row.status);
        ASSERT_NE(zevadriverLastBoardError(), nullptr);
        EXPECT_THAT(zevadriverLastBoardError(), StartsWith(row.reason));
    }
    EXPECT_EQ(zevadriverSetActiveFile(0x01C4A2F0, "own.zid"), 0);
    EXPECT_EQ(zevadriverLastBoardError(), nullptr);
}

TEST_F(SimulatedDriver, A_description_that_never_ends_is_refused_not_read_to_the_end) {
    char error[256] = {};
    EXPECT_EQ(zevadriverLoadDescription("/dev/zero", error, sizeof error), -1);
    EXPECT_THAT(error, StartsWith("/dev/zero: is longer than 67108864 bytes"));
}

TEST_F(SimulatedDriver, A_missing_description_file_is_refused_with_its_name) {
    char error[256] = {};
    EXPECT_EQ(zevadriverLoadDescription("/nonexistent/boards.toml", error, sizeof error), -1);
    EXPECT_THAT(error, StartsWith("/nonexistent/boards.toml: cannot be read"));
    // A short error buffer gets a cut, terminated text.
    char shortError[8];
    EXPECT_EQ(zevadriverLoadDescription("/nonexistent/boards.toml", shortError, sizeof shortError),
              -1);
    EXPECT_STREQ(shortError, "/nonexi");
    // The whole reason is kept, not the cut one, until a description is accepted or a reset.
    ASSERT_NE(zevadriverLastDescriptionError(), nullptr);
    EXPECT_THAT(zevadriverLastDescriptionError(), StartsWith("/nonexistent/boards.toml: cannot"));
    EXPECT_EQ(Load("driver_version = 1\n"), "");
    EXPECT_EQ(zevadriverLastDescriptionError(), nullptr);
    EXPECT_EQ(zevadriverLoadDescription(nullptr, nullptr, 0), -1);
    EXPECT_STREQ(zevadriverLastDescriptionError(), "no description file named");
    zevadriverReset();
    EXPECT_EQ(zevadriverLastDescriptionError(), nullptr);
}

TEST_F(SimulatedDriver, The_built_in_boards_have_distinct_serials_and_one_needs_a_claim) {
    zevadriverReset();
    const std::uint32_t count = BoardCount();
    ASSERT_GE(count, 3u);
    std::vector<std::uint32_t> serials(count);
    std::uint32_t filled = count;
    ASSERT_EQ(qxzevauGetSerialNumber(serials.data(), &filled), 0);
    int withoutActiveFile = 0;
    for (std::uint32_t serial : serials) {
        EXPECT_EQ(std::count(serials.begin(), serials.end(), serial), 1);
        char boardName[QXZEVAU_BOARD_NAME_BUFFER] = {};
        EXPECT_EQ(qxzevauGetBoardName(serial, boardName), 0);
        EXPECT_THAT(boardName, StartsWith("ZEVA "));
        char file[QXZEVAU_INTERFACE_FILE_BUFFER] = {};
        if (qxzevauGetActiveInterfaceFile(serial, file) != 0) {
            ++withoutActiveFile;
            EXPECT_EQ(qxzevauClaimNewInterfaceFile(serial, file), 0);
            EXPECT_EQ(qxzevauSetActiveInterfaceFile(serial, file), 0);
        }
    }
    EXPECT_EQ(withoutActiveFile, 1);
}

TEST_F(SimulatedDriver, Texts_stay_inside_their_buffers) {
    const std::string longest = std::string(ZEVADRIVER_MAX_FILE_NAME - 4, 'n') + ".zid";
    AddBoard(TestBoard()
                 .Serial(1)
                 .Active(longest.c_str())
                 .Name("ZEVA PCIe-4C with a name of 49 characters, exact"));
    char file[QXZEVAU_REFRESH_FILE_BUFFER];
    std::memset(file, 0x7F, sizeof file);
    EXPECT_EQ(qxzevauGetActiveInterfaceFile(1, file), 0);
    EXPECT_EQ(std::string(file), longest);
    EXPECT_EQ(file[QXZEVAU_INTERFACE_FILE_BUFFER], 0x7F) << "wrote past 256 bytes";

    zevadriverSetUnterminatedTexts(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, 1);
    zevadriverSetUnterminatedTexts(ZEVADRIVER_GET_BOARD_NAME, 1);
    std::memset(file, 0x7F, sizeof file);
    EXPECT_EQ(qxzevauGetActiveInterfaceFile(1, file), 0);
    EXPECT_EQ(std::string(file, QXZEVAU_INTERFACE_FILE_BUFFER), longest + "#");
    EXPECT_EQ(file[QXZEVAU_INTERFACE_FILE_BUFFER], 0x7F);
    char boardName[QXZEVAU_BOARD_NAME_BUFFER + 1];
    std::memset(boardName, 0x7F, sizeof boardName);
    EXPECT_EQ(qxzevauGetBoardName(1, boardName), 0);
    EXPECT_EQ(boardName[QXZEVAU_BOARD_NAME_BUFFER - 1], '#');
    EXPECT_EQ(boardName[QXZEVAU_BOARD_NAME_BUFFER], 0x7F);

    // A name that fills a 256-byte buffer without a zero is refused, not read beyond.
    std::vector<char> unterminated(QXZEVAU_INTERFACE_FILE_BUFFER, 'n');
    EXPECT_EQ(qxzevauSetActiveInterfaceFile(1, unterminated.data()),
              ZEVADRIVER_ERROR_NAME_TOO_LONG);
    const std::string tooLong(ZEVADRIVER_MAX_FILE_NAME + 1, 'n');
    EXPECT_EQ(zevadriverSetActiveFile(1, tooLong.c_str()), ZEVADRIVER_ERROR_NAME_TOO_LONG);
    EXPECT_EQ(zevadriverAddBoard(&TestBoard().Serial(2).Name(tooLong.c_str())),
              ZEVADRIVER_ERROR_NAME_TOO_LONG);
}

TEST_F(SimulatedDriver, Only_a_file_of_the_board_can_become_its_active_file) {
    AddBoard(TestBoard().Serial(1).Active("img0.zid"));
    AddBoard(TestBoard().Serial(2));
    char file[QXZEVAU_INTERFACE_FILE_BUFFER] = {};
    EXPECT_EQ(qxzevauSetActiveInterfaceFile(2, "img0.zid"), ZEVADRIVER_ERROR_UNKNOWN_FILE);
    EXPECT_EQ(qxzevauSetActiveInterfaceFile(2, "img9.zid"), ZEVADRIVER_ERROR_UNKNOWN_FILE);
    ASSERT_EQ(qxzevauClaimNewInterfaceFile(2, file), 0);
    EXPECT_STREQ(file, "img1.zid"); // the first free name
    EXPECT_EQ(qxzevauSetActiveInterfaceFile(1, file), ZEVADRIVER_ERROR_UNKNOWN_FILE);
    EXPECT_EQ(qxzevauSetActiveInterfaceFile(2, file), 0);
    EXPECT_EQ(zevadriverSetActiveFile(2, "img0.zid"), ZEVADRIVER_ERROR_FILE_EXISTS);

    ASSERT_EQ(zevadriverSetClaimStatus(2, -5), 0);
    EXPECT_EQ(qxzevauClaimNewInterfaceFile(2, file), -5);
    ASSERT_EQ(zevadriverSetActiveFile(2, nullptr), 0);
    EXPECT_EQ(qxzevauGetActiveInterfaceFile(2, file), ZEVADRIVER_ERROR_NO_ACTIVE_FILE);
    EXPECT_EQ(qxzevauGetActiveInterfaceFile(3, file), ZEVADRIVER_ERROR_UNKNOWN_SERIAL);
}

TEST_F(SimulatedDriver, Serial_numbers_need_room_and_the_count_can_be_overridden_once) {
    AddBoard(TestBoard().Serial(1).Active("img0.zid"));
    AddBoard(TestBoard().Serial(2).Active("img1.zid"));
    zevadriverOverrideSerialCount(0xFFFFFFFF);
    EXPECT_EQ(BoardCount(), 0xFFFFFFFFu);
    EXPECT_EQ(BoardCount(), 2u);
    std::uint32_t serials[2] = {0xAAAA, 0xBBBB};
    std::uint32_t count = 1;
    EXPECT_EQ(qxzevauGetSerialNumber(serials, &count), ZEVADRIVER_ERROR_BUFFER_TOO_SMALL);
    EXPECT_EQ(count, 2u);
    EXPECT_THAT(serials, ElementsAre(1u, 0xBBBBu));
    EXPECT_EQ(zevadriverAddBoard(nullptr), ZEVADRIVER_ERROR_BAD_ARGUMENT);
    EXPECT_EQ(zevadriverAddBoard(&TestBoard().Serial(2).Pci(9, 0, 0)),
              ZEVADRIVER_ERROR_DUPLICATE_SERIAL);
}

TEST_F(SimulatedDriver, Scripted_failures_write_nothing_and_fail_always_or_once) {
    AddBoard(TestBoard().Serial(1).Active("img0.zid").Id(0x1234));
    zevadriverFailOnCall(ZEVADRIVER_GET_BOARD_PCI_ID, 2, -7);
    std::uint32_t ids[3] = {0xAAAA, 0xBBBB, 0xCCCC};
    EXPECT_EQ(imgGetBoardPCIID(1, &ids[0]), 0);
    EXPECT_EQ(imgGetBoardPCIID(1, &ids[1]), -7);
    EXPECT_EQ(imgGetBoardPCIID(1, &ids[2]), 0);
    EXPECT_THAT(ids, ElementsAre(0x1234u, 0xBBBBu, 0x1234u));

    zevadriverFailAlways(ZEVADRIVER_DEPLOY_INTERFACE_FILES, -8);
    EXPECT_EQ(qxzevauDeployInterfaceFiles(), -8);
    EXPECT_EQ(qxzevauDeployInterfaceFiles(), -8);
    zevadriverFailAlways(ZEVADRIVER_DEPLOY_INTERFACE_FILES, 0);
    EXPECT_EQ(qxzevauDeployInterfaceFiles(), 0);

    zevadriverFailAlways(ZEVADRIVER_GET_DRIVER_VERSION, -9);
    zevadriverClearFailures();
    std::uint32_t version = 0;
    EXPECT_EQ(qxzevauGetDriverVersion(&version), 0);
}

TEST_F(SimulatedDriver, The_log_holds_every_call_in_order_with_serial_and_status) {
    AddBoard(TestBoard().Serial(0x22).Active("img0.zid"));
    std::uint32_t value = 0;
    zevadriverFailOnCall(ZEVADRIVER_GET_BOARD_PCI_LOCATION, 1, -3);
    qxzevauGetDriverVersion(&value);
    qxzevauGetBoardPCILocation(0x22, &value, &value, &value);
    imgGetBoardPCIID(0x99, &value);

    zevadriverCall calls[4] = {};
    calls[0].size = ZEVADRIVER_CALL_SIZE;
    std::size_t count = 0;
    ASSERT_EQ(zevadriverReadLog(calls, 4, &count), 0);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(calls[0].function, ZEVADRIVER_GET_DRIVER_VERSION);
    EXPECT_EQ(calls[1].size, ZEVADRIVER_CALL_SIZE);
    EXPECT_EQ(calls[1].function, ZEVADRIVER_GET_BOARD_PCI_LOCATION);
    EXPECT_EQ(calls[1].serialNumber, 0x22u);
    EXPECT_EQ(calls[1].status, -3);
    EXPECT_EQ(calls[2].function, ZEVADRIVER_GET_BOARD_PCI_ID);
    EXPECT_EQ(calls[2].serialNumber, 0x99u);
    EXPECT_EQ(calls[2].status, ZEVADRIVER_ERROR_UNKNOWN_SERIAL);
    EXPECT_EQ(calls[3].size, 0u) << "nothing past the log's entries";
    // What each call wrote: the version; nothing for the call made to fail or refused.
    EXPECT_EQ(calls[0].valueCount, 1u);
    EXPECT_EQ(calls[0].values[0], value);
    EXPECT_EQ(calls[1].valueCount, 0u);
    EXPECT_EQ(calls[2].valueCount, 0u);

    // A size no layout had is refused: nothing written, the count still given.
    for (const std::uint32_t size : {0u, 4u, ZEVADRIVER_CALL_SIZE + 8}) {
        zevadriverCall unknown[2] = {};
        unknown[0].size = size;
        count = 0;
        EXPECT_EQ(zevadriverReadLog(unknown, 2, &count), ZEVADRIVER_ERROR_BAD_RECORD_SIZE);
        EXPECT_EQ(count, 3u);
        EXPECT_EQ(unknown[0].serialNumber, 0u);
    }
    // A host built with the record before it held what calls wrote gets the four fields it
    // knows, its records that size apart.
    struct EarlierCall {
        std::uint32_t size;
        zevadriverFunction function;
        std::uint32_t serialNumber;
        std::int32_t status;
    };
    EarlierCall earlier[3] = {};
    earlier[0].size = sizeof(EarlierCall);
    ASSERT_EQ(zevadriverReadLog(reinterpret_cast<zevadriverCall*>(earlier), 3, &count), 0);
    EXPECT_EQ(earlier[1].size, sizeof(EarlierCall));
    EXPECT_EQ(earlier[1].serialNumber, 0x22u);
    EXPECT_EQ(earlier[2].status, ZEVADRIVER_ERROR_UNKNOWN_SERIAL);
    zevadriverClearLog();
    EXPECT_EQ(zevadriverReadLog(nullptr, 0, &count), 0);
    EXPECT_EQ(count, 0u);
}

TEST_F(SimulatedDriver, The_log_holds_what_each_call_wrote) {
    AddBoard(TestBoard()
                 .Serial(0x22)
                 .Active("img0.zid")
                 .Pci(3, 0x1F, 7)
                 .Id(0x74C11F0A)
                 .Name("Kan\xE4l"));
    for (std::uint32_t serial = 0x30; serial < 0x3A; ++serial)
        AddBoard(TestBoard().Serial(serial).Pci(4, serial - 0x30, 0));
    zevadriverSetUnterminatedTexts(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, 1);
    zevadriverSetTextBufferSize(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, 300);
    std::uint32_t bus = 0, device = 0, function = 0, id = 0, count = 0;
    std::uint32_t serials[3] = {};
    char text[300];
    qxzevauGetBoardPCILocation(0x22, &bus, &device, &function);
    imgGetBoardPCIID(0x22, &id);
    qxzevauGetSerialNumber(nullptr, &count);
    count = 3;
    qxzevauGetSerialNumber(serials, &count);
    std::uint32_t all[11] = {};
    count = 11;
    qxzevauGetSerialNumber(all, &count);
    qxzevauGetBoardName(0x22, text);
    qxzevauGetActiveInterfaceFile(0x22, text);
    qxzevauSetActiveInterfaceFile(0x22, "other.zid");
    zevadriverFailAlways(ZEVADRIVER_GET_BOARD_NAME, ZEVADRIVER_ERROR_INJECTED);
    qxzevauGetBoardName(0x22, text);

    const std::vector<zevadriverCall> calls = LoggedCalls();
    ASSERT_EQ(calls.size(), 9u);
    const auto values = [](const zevadriverCall& call) {
        return std::vector<std::uint32_t>(call.values, call.values + call.valueCount);
    };
    const auto listed = [](const zevadriverCall& call) {
        return std::vector<std::uint32_t>(
            call.serials,
            call.serials + std::min<std::uint32_t>(call.serialCount, ZEVADRIVER_CALL_SERIALS));
    };
    EXPECT_EQ(values(calls[0]), (std::vector<std::uint32_t>{3, 0x1F, 7}));
    EXPECT_EQ(values(calls[1]), (std::vector<std::uint32_t>{0x74C11F0A}));
    EXPECT_EQ(values(calls[2]), (std::vector<std::uint32_t>{11}));
    EXPECT_EQ(calls[2].serialCount, 0u) << "a null array gets the count alone";
    // An array too short gets what fits and the count all the same.
    EXPECT_EQ(calls[3].status, ZEVADRIVER_ERROR_BUFFER_TOO_SMALL);
    EXPECT_EQ(values(calls[3]), (std::vector<std::uint32_t>{11}));
    EXPECT_EQ(listed(calls[3]), (std::vector<std::uint32_t>{0x22, 0x30, 0x31}));
    EXPECT_EQ(calls[4].serialCount, 11u) << "every serial number written is counted";
    EXPECT_EQ(listed(calls[4]),
              (std::vector<std::uint32_t>{0x22, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36}));
    EXPECT_STREQ(calls[5].text, "Kan\xE4l");
    EXPECT_EQ(calls[5].textLength, 5u);
    // A text without its terminating zero: as much as the record holds, and its length.
    EXPECT_EQ(calls[6].textLength, 300u);
    EXPECT_EQ(std::string(calls[6].text),
              "img0.zid" + std::string(ZEVADRIVER_MAX_FILE_NAME - 8, '#'));
    // The name a call was given, though the call refused it.
    EXPECT_EQ(calls[7].status, ZEVADRIVER_ERROR_UNKNOWN_FILE);
    EXPECT_STREQ(calls[7].text, "other.zid");
    EXPECT_EQ(calls[8].textLength, 0u) << "a call made to fail writes nothing";
    EXPECT_STREQ(calls[8].text, "");
}

TEST_F(SimulatedDriver, A_board_record_of_a_size_no_release_had_is_refused) {
    for (const std::uint32_t size :
         {0u, 4u, ZEVADRIVER_BOARD_SIZE - 8, ZEVADRIVER_BOARD_SIZE + 8}) {
        TestBoard board = TestBoard().Serial(1).Active("img0.zid");
        board.size = size;
        EXPECT_EQ(zevadriverAddBoard(&board), ZEVADRIVER_ERROR_BAD_RECORD_SIZE) << size;
        EXPECT_EQ(zevadriverAddBoardUnchecked(&board), ZEVADRIVER_ERROR_BAD_RECORD_SIZE) << size;
        ASSERT_NE(zevadriverLastBoardError(), nullptr);
        EXPECT_THAT(zevadriverLastBoardError(), HasSubstr("size " + std::to_string(size)));
    }
    EXPECT_EQ(BoardCount(), 0u);
    AddBoard(TestBoard().Serial(1).Active("img0.zid"));
    EXPECT_EQ(zevadriverLastBoardError(), nullptr) << "a board accepted clears the reason";
}

// A host built against an earlier layout hands a record that ends before the later fields:
// they are never read and keep their defaults. Here claimFails stands for a field a later
// release added, and the record is allocated to the earlier size exactly.
TEST(BoardRecord, An_earlier_layout_is_read_up_to_its_size_and_no_further) {
    const std::uint32_t earlier =
        zevadriver::RecordSizeEndingAt(offsetof(zevadriverBoard, boardName) + sizeof(char*));
    const std::uint32_t sizes[] = {earlier, ZEVADRIVER_BOARD_SIZE};
    const zevadriver::RecordSizes layouts = {sizes, 2};
    ASSERT_LT(earlier, offsetof(zevadriverBoard, claimFails) + sizeof(int));

    std::vector<unsigned char> bytes(ZEVADRIVER_BOARD_SIZE, 0xFF); // what lies beyond
    zevadriverBoard record = TestBoard().Serial(7).Active("a.zid").Pci(1, 2, 3).Name("n");
    record.size = earlier;
    std::memcpy(bytes.data(), &record, earlier);
    const auto older = std::make_unique<unsigned char[]>(earlier);
    std::memcpy(older.get(), &record, earlier);
    zevadriver::Board board;
    ASSERT_TRUE(zevadriver::BoardFromRecord(*reinterpret_cast<const zevadriverBoard*>(older.get()),
                                            layouts, &board));
    EXPECT_EQ(board.serialNumber, 7u);
    EXPECT_EQ(board.activeFile, "a.zid");
    EXPECT_EQ(board.pciFunction, 3u);
    EXPECT_EQ(board.boardName, "n");
    EXPECT_FALSE(board.claimFails);
    // The same bytes at the later size: the field beyond is read.
    std::memcpy(bytes.data(), &record, earlier);
    auto* later = reinterpret_cast<zevadriverBoard*>(bytes.data());
    later->size = ZEVADRIVER_BOARD_SIZE;
    zevadriver::Board laterBoard;
    ASSERT_TRUE(zevadriver::BoardFromRecord(*later, layouts, &laterBoard));
    EXPECT_TRUE(laterBoard.claimFails);
    later->size = earlier + 1;
    EXPECT_FALSE(zevadriver::BoardFromRecord(*later, layouts, &laterBoard));
}
