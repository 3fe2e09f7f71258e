// --save-boards as a person runs it: the capture replays with the same report, the same
// message about boards not reported and the same exit status, and a failed write says so.
#include "host_program.h"

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
        EXPECT_EQ(replay.out, original.out);
        EXPECT_EQ(replay.err, original.err);
        EXPECT_EQ(ReadFile(again), ReadFile(capture));
    }
    EXPECT_THAT(ReadFile(capture), HasSubstr("# Captured: 1970-01-01 00:00:00 UTC\n"));
}

TEST(HostProgramCapture, Capture_that_cannot_be_written_fails_with_the_file_and_reason) {
    const Outcome outcome = RunHost("--save-boards /nonexistent/dir/site.toml");
    EXPECT_EQ(outcome.exitCode, 9);
    ExpectOneLineError(outcome,
                       "cannot write /nonexistent/dir/site.toml: No such file or directory");
}

} // namespace
