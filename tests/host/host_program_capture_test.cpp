// --save-boards as a person runs it: the capture replays with the same report, the same
// message about boards not reported and the same exit status (a failed write: the failures'
// table).
#include "host_program.h"

#include <nlohmann/json.hpp>

namespace {

using ::testing::HasSubstr;

TEST(HostProgramCapture, Replay_of_a_capture_reports_as_the_system_it_came_from) {
    const std::string capture = std::string(QX_TEST_DATA_DIR) + "/site.toml";
    const std::string again = std::string(QX_TEST_DATA_DIR) + "/site_again.toml";
    for (const std::string& boards :
         {std::string("--boards ") + QX_EXAMPLE_BOARDS, std::string("")}) {
        const Outcome original =
            RunHost(boards + " --json --save-boards " + capture, "SOURCE_DATE_EPOCH=0");
        const Outcome replay = RunHost("--json --boards " + capture + " --save-boards " + again,
                                       "SOURCE_DATE_EPOCH=0");
        EXPECT_EQ(replay.exitCode, original.exitCode) << boards;
        // The same report but for where the boards came from.
        nlohmann::json originalReport = nlohmann::json::parse(original.out);
        nlohmann::json replayReport = nlohmann::json::parse(replay.out);
        EXPECT_EQ(replayReport["boardsSource"], "--boards " + capture);
        originalReport.erase("boardsSource");
        replayReport.erase("boardsSource");
        EXPECT_EQ(replayReport, originalReport);
        EXPECT_EQ(replay.err, original.err);
        EXPECT_EQ(ReadFile(again), ReadFile(capture));
    }
    EXPECT_THAT(ReadFile(capture), HasSubstr("# Captured: 1970-01-01 00:00:00 UTC\n"));
}

} // namespace
