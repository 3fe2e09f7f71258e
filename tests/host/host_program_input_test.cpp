// What the program reads is bounded and never overwritten: a board description over the
// limit is refused before it is read whole, naming the file and the limit; --trace=FILE
// refuses a file the run reads and replaces its file only when the run is over.
#include "host_program.h"

#include <chrono>
#include <filesystem>

namespace {

using ::testing::HasSubstr;

struct InputCase {
    std::string arguments;
    std::string environment;
    int exitCode;
    std::string message; // empty: no message
};

TEST(HostProgramInput, Board_description_is_read_within_the_limit) {
    const std::string example = QX_EXAMPLE_BOARDS;
    const InputCase cases[] = {
        {"-b /dev/zero", "", 7,
         "bad board description: /dev/zero: more than the limit of 67108864 bytes (64 MiB) for a "
         "board description; QXZEVA_BOARDS_LIMIT raises it"},
        {"-b " + example, "QXZEVA_BOARDS_LIMIT=100", 7,
         example + ": 819 bytes, more than the limit of 100 bytes"},
        {"", "ZEVADRIVER_BOARDS=/dev/zero QXZEVA_BOARDS_LIMIT=1M", 7,
         "(ZEVADRIVER_BOARDS): /dev/zero: more than the limit of 1048576 bytes (1 MiB)"},
        {"", "QXZEVA_BOARDS_LIMIT=12Q", 1, "QXZEVA_BOARDS_LIMIT=12Q is no size"},
        {"", "QXZEVA_BOARDS_LIMIT=0", 1, "QXZEVA_BOARDS_LIMIT=0 is no size"},
        {"-n -b " + example, "QXZEVA_BOARDS_LIMIT=1K", 10, "1 of the driver's 3 boards"},
    };
    for (const InputCase& test : cases) {
        const auto start = std::chrono::steady_clock::now();
        const Outcome outcome = RunHost(test.arguments, test.environment);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(outcome.exitCode, test.exitCode) << test.arguments << " " << test.environment;
        EXPECT_THAT(outcome.err, HasSubstr(test.message));
    }
}

TEST(HostProgramInput, Board_description_from_a_pipe_is_named_as_given) {
    const Outcome bad =
        RunCommand("printf 'driver_version = x' | " QX_HOST_PROGRAM " -b /dev/stdin");
    EXPECT_EQ(bad.exitCode, 7);
    ExpectOneLineError(bad, "bad board description: /dev/stdin:1:18: ");
    const Outcome good =
        RunCommand("cat " QX_EXAMPLE_BOARDS " | " QX_HOST_PROGRAM " -n -b /dev/stdin");
    EXPECT_EQ(good.exitCode, 10);
    EXPECT_EQ(good.out, "img0\ncamera\n");
}

TEST(HostProgramInput, Trace_never_overwrites_a_file_the_run_reads_or_writes) {
    const std::string boards = WriteFile("traced_boards.toml", ReadFile(QX_EXAMPLE_BOARDS));
    const std::string capture = WriteFile("traced_capture.toml", "kept\n");
    for (const std::string& arguments :
         {"-b " + boards + " --trace=" + boards,
          "-b " + boards + " --save-boards " + capture + " --trace=" + capture,
          std::string("--module " QX_MODULE_PATH " --trace=" QX_MODULE_PATH)}) {
        const Outcome outcome = RunHost(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments;
        ExpectOneLineError(outcome, ", which this run reads or writes");
    }
    EXPECT_EQ(ReadFile(boards), ReadFile(QX_EXAMPLE_BOARDS));
    EXPECT_EQ(ReadFile(capture), "kept\n");
}

TEST(HostProgramInput, Trace_replaces_its_file_whole_when_the_run_is_over) {
    const std::string trace = WriteFile("replaced_trace.txt", "old\n");
    const Outcome failed = RunHost("--item nosuch --trace=" + trace);
    EXPECT_EQ(failed.exitCode, 6);
    EXPECT_THAT(ReadFile(trace), HasSubstr("IkcSysExpert2#1::Initialize() {"));
    std::size_t leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QX_TEST_DATA_DIR))
        leftovers += entry.path().filename().string().rfind("replaced_trace.txt.", 0) == 0;
    EXPECT_EQ(leftovers, 0u);
}

} // namespace
