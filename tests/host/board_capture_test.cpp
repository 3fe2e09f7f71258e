// --save-boards and its replay, in the program's own process so that they run on every
// target: a capture of a board file's replay reports as the file does, and a capture of a
// capture is the same file, byte for byte.
#include "host/board_file_writer.h"
#include "host/expert_session.h"
#include "host/replaced_file.h"
#include "host/unreported_boards.h"

#include <zevadriver_control.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct HostRun {
    bool accepted = false;
    std::string report;  // the JSON report and the account of the boards not reported
    std::string capture; // the board file --save-boards writes
};

// As the program runs: the boards loaded, the module's report, the census, the capture.
HostRun ReportAndCapture(const std::string& boardFile) {
    HostRun run;
    zevadriverReset();
    char reason[512] = {};
    if (zevadriverLoadDescription(boardFile.c_str(), reason, sizeof reason) != 0)
        return run;
    run.accepted = true;
    HostReport report;
    std::string error;
    ExpertSession session;
    HostExit code = session.Load(QX_MODULE_PATH, "", &error);
    if (code == k_exitOk)
        code = session.Identify(&report, &error);
    if (code == k_exitOk)
        code = session.Initialize(&error);
    if (code == k_exitOk)
        code = session.ListNames(&report, &error);
    if (code == k_exitOk)
        code = session.ReportAll(&report, &error);
    session.Close();
    const UnreportedBoards unreported = FindUnreportedBoards(report.itemNames.size());
    run.report = std::to_string(code) + " " + error + "\n" + JsonReportText(ReportJson(report)) +
                 (unreported.boards.empty() ? "" : UnreportedText(unreported));
    run.capture = BoardFileText(CaptureBoards(unreported),
                                {report.modulePath, report.version, std::time_t{0}});
    return run;
}

std::string WriteTestFile(const std::string& name, const std::string& text) {
    const std::string path = std::string(QX_TEST_DATA_DIR) + "/" + name;
    std::string error;
    EXPECT_TRUE(WriteReplacedFile(path, text, &error)) << error;
    return path;
}

// False when the driver refuses the file: there is nothing to capture.
bool ExpectRoundTrip(const std::string& boardFile) {
    SCOPED_TRACE(boardFile);
    const HostRun original = ReportAndCapture(boardFile);
    if (!original.accepted)
        return false;
    const std::string captured = WriteTestFile("capture.toml", original.capture);
    const HostRun replay = ReportAndCapture(captured);
    EXPECT_TRUE(replay.accepted) << original.capture;
    EXPECT_EQ(replay.report, original.report);
    EXPECT_EQ(replay.capture, original.capture);
    zevadriverReset();
    return true;
}

// Texts at the driver's limits, every class of ISO 8859-1 character a text may hold, a
// quote and a backslash; boards after the one whose claim is refused, one without a name
// of its own file.
constexpr char k_latin1Boards[] = R"(driver_version = 0x00000001
[[board]]
serial_number = 1
active_file = "Kamera-Ü1 \"a\" \\ ÿ\u00A0.zid"
pci_bus = 255
pci_device = 31
pci_function = 7
pci_id = 0xFFFFFFFF
board_name = "ZEVA Größe ½ ¡¿ «é» \\ \"x\" ÀÿÐþ ±×÷ ¤¥ 0123456789"
[[board]]
serial_number = 0xFFFFFFFF
claim_file = "neu.zid"
pci_bus = 0
pci_device = 0
pci_function = 0
pci_id = 0
board_name = "n"
[[board]]
serial_number = 2
claim_fails = true
pci_bus = 1
pci_device = 0
pci_function = 0
pci_id = 5
board_name = "refuses"
[[board]]
serial_number = 3
pci_bus = 2
pci_device = 0
pci_function = 0
pci_id = 6
board_name = "after it"
)";

TEST(SaveBoards, Replay_reports_as_the_original_and_a_capture_of_a_capture_is_the_same) {
    EXPECT_TRUE(ExpectRoundTrip(QX_EXAMPLE_BOARDS));
    EXPECT_TRUE(ExpectRoundTrip(WriteTestFile("latin1_boards.toml", k_latin1Boards)));
    EXPECT_TRUE(ExpectRoundTrip(WriteTestFile("no_boards.toml", "driver_version = 7\n")));
    // Every board file of the fuzzer's corpus the driver accepts; those it refuses are counted.
    std::size_t accepted = 0;
    std::size_t refused = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QX_BOARD_CORPUS))
        ++(ExpectRoundTrip(entry.path().string()) ? accepted : refused);
    std::printf("corpus: %zu board files replayed, %zu refused by the driver and skipped\n",
                accepted, refused);
    EXPECT_GE(accepted, 10u) << "the corpus keeps files the driver accepts";
}

TEST(SaveBoards, Capture_says_where_discovery_stopped_and_keeps_texts_exact) {
    const HostRun run = ReportAndCapture(WriteTestFile("latin1_capture.toml", k_latin1Boards));
    EXPECT_THAT(run.capture, HasSubstr("# Captured: 1970-01-01 00:00:00 UTC\n"));
    EXPECT_THAT(run.capture, HasSubstr("# Boards: 4, of which the module reported 2\n"));
    EXPECT_THAT(run.capture, HasSubstr("active_file = \"Kamera-Ü1 \\\"a\\\" \\\\ ÿ\u00A0.zid\""));
    EXPECT_THAT(run.capture, HasSubstr("active_file = \"neu.zid\"")); // claimed by the module
    EXPECT_THAT(run.capture, HasSubstr("# Discovery stopped here: claim refused "
                                       "(ZEVADRIVER_ERROR_CLAIM_REFUSED).\n# Neither this board "
                                       "nor any after it is reported.\n[[board]]\n"
                                       "serial_number = 0x00000002\nclaim_fails = true\n"));
    EXPECT_EQ(run.capture.find("claim_fails"), run.capture.rfind("claim_fails"));
    zevadriverReset();
}

TEST(SaveBoards, Value_the_driver_refuses_is_left_out_so_the_replay_refuses_too) {
    zevadriverReset();
    zevadriverFailAlways(ZEVADRIVER_GET_BOARD_NAME, ZEVADRIVER_ERROR_INJECTED);
    const std::string text = BoardFileText(CaptureBoards({}), {"m.so", "", std::time_t{0}});
    zevadriverReset();
    EXPECT_THAT(text, HasSubstr("# qxzevauGetBoardName refused with -20099 "
                                "(ZEVADRIVER_ERROR_INJECTED): the value is left out\n"));
    EXPECT_THAT(text, Not(HasSubstr("board_name")));
    char reason[512] = {};
    EXPECT_NE(zevadriverLoadDescription(WriteTestFile("refused.toml", text).c_str(), reason,
                                        sizeof reason),
              0);
    EXPECT_THAT(reason, HasSubstr("missing key 'board_name'"));
    zevadriverReset();
}

TEST(SaveBoards, Toml_string_escapes_what_toml_needs_and_widens_the_rest) {
    EXPECT_EQ(TomlString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(TomlString("\t\x7F\x9F"), R"("\u0009\u007F\u009F")");
    EXPECT_EQ(TomlString("\xA0\xDC\xFF"), "\"\u00A0\u00DC\u00FF\"");
}

TEST(ReplacedFile, Failed_write_leaves_the_old_file_and_no_temporary_one) {
    const std::string path = WriteTestFile("kept.toml", "old\n");
    {
        ReplacedFile file;
        std::string error;
        ASSERT_TRUE(file.Open(path, &error)) << error;
        std::fputs("new\n", file.Stream());
    } // not committed
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old\n");
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QX_TEST_DATA_DIR))
        files += entry.path().filename().string().rfind("kept.toml", 0) == 0 ? 1 : 0;
    EXPECT_EQ(files, 1u);
    std::string error;
    EXPECT_FALSE(WriteReplacedFile(std::string(QX_TEST_DATA_DIR) + "/no/such/dir/f", "", &error));
    EXPECT_THAT(error, HasSubstr("no/such/dir/f: No such file or directory"));
}

} // namespace
