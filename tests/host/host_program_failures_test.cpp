// The host program's failures: the exit code and one-line message of each, and a write that
// fails, never reported as success.
#include "host_program.h"

#include <csignal>

using ::testing::HasSubstr;

TEST(HostProgram, Each_failure_has_its_exit_code_and_one_line) {
    const Outcome unknown = RunHost("--item nosuch");
    EXPECT_EQ(unknown.exitCode, 6);
    ExpectOneLineError(unknown, "no item named 'nosuch'; the items are img0, img1, img2, img3");
    const std::string none = WriteFile("no_boards.toml", "driver_version = 1\n");
    ExpectOneLineError(RunHost("--item img0 --boards " + none), "there are no items");

    const Outcome missing = RunHost("--module /nonexistent/module.so");
    EXPECT_EQ(missing.exitCode, 2);
    ExpectOneLineError(missing, "module not found");

    const Outcome notElf = RunHost("--module " QX_EXAMPLE_BOARDS);
    EXPECT_EQ(notElf.exitCode, 2);
    ExpectOneLineError(notElf, "not loadable");

    const Outcome noExports = RunHost("--module " QX_NOT_A_MODULE);
    EXPECT_EQ(noExports.exitCode, 3);
    ExpectOneLineError(noExports, "_ctors");

    const std::string bad =
        WriteFile("bad_boards.toml", "driver_version = 1\n[[board]]\nserial_number = \"x\"\n");
    const Outcome badBoards = RunHost("--boards " + bad);
    EXPECT_EQ(badBoards.exitCode, 7);
    ExpectOneLineError(badBoards, "bad board description: ");
    EXPECT_THAT(badBoards.err, HasSubstr("bad_boards.toml:3"));

    const Outcome usage = RunHost("--frobnicate");
    EXPECT_EQ(usage.exitCode, 1);
    ExpectOneLineError(usage, "unknown option --frobnicate");
}

// Each failure's exit code and the words that say what is wrong, in one table.
TEST(HostProgram, Each_failure_names_what_is_wrong) {
    const struct {
        const char* arguments;
        const char* environment;
        int exitCode;
        std::string message;
    } k_cases[] = {
        {"", "QXZEVA_MODULE=/nonexistent.so", 2,
         "module not found: /nonexistent.so (named by QXZEVA_MODULE)"},
        {"--module /nonexistent.so", "QXZEVA_MODULE=" QX_MODULE_PATH, 2,
         "module not found: /nonexistent.so (given with --module)"},
        {"--module " QX_EXAMPLE_BOARDS, "", 2, QX_EXAMPLE_BOARDS},
        {"--module " QX_NOT_A_MODULE, "", 3,
         "module does not export _ctors and _dtors: " QX_NOT_A_MODULE " (given with --module)"},
        {"--module " QX_MODULE_WITHOUT_FACTORY, "", 3,
         "module does not export createZEVASysapiExpert: " QX_MODULE_WITHOUT_FACTORY},
        {"--module " QX_MODULE_STAND_IN, "QX_STAND_IN_FACTORY_RESULT=8007000E", 4,
         "the factory of module " QX_MODULE_STAND_IN " failed with E_OUTOFMEMORY (0x8007000E)"},
        {"--module " QX_MODULE_STAND_IN, "", 4,
         "the factory of module " QX_MODULE_STAND_IN " returned S_OK (0x00000000) but no expert"},
        {"-s 10:", "", 6,
         "no board matches --slot 10:; the boards are img0 (03:00.0, serial number 01C4A2F0), "
         "img1 (04:00.0"},
        {"-n --serial 1", "", 6, "no board matches --serial 00000001; the boards are img0"},
        // Together the options select nothing: each is named with what it alone selects.
        {"--serial 1c4a2f7 -i img0", "", 6,
         "no board matches --serial 01C4A2F7 and --item img0 together; --serial 01C4A2F7 alone "
         "selects img1 (04:00.0, serial number 01C4A2F7); --item img0 alone selects img0 "
         "(03:00.0, serial number 01C4A2F0)"},
        {"--item img1 -s 03:", "", 6,
         "no board matches --slot 03: and --item img1 together; --slot 03: alone selects img0 "
         "(03:00.0, serial number 01C4A2F0); --item img1 alone selects img1 (04:00.0"},
        {"-s 03: --serial 1", "", 6, "--serial 00000001 alone selects none"},
        // A board the driver knows that discovery never reached.
        {"--serial 0xE93B15 --boards " QX_EXAMPLE_BOARDS, "", 10,
         "the driver knows board 00E93B15, which --serial 00E93B15 selects, but the module did "
         "not report it: 1 of the driver's 3 boards was not reported: serial number 00E93B15; "
         "discovery stopped at 00E93B15: claim refused (ZEVADRIVER_ERROR_CLAIM_REFUSED); the "
         "module reports no board from the first it cannot claim, activate or locate on"},
        {"-s 07:02 --boards " QX_EXAMPLE_BOARDS, "", 10, "board 00E93B15, which --slot 07:02"},
        {"-i img9 --boards " QX_EXAMPLE_BOARDS, "", 6,
         "no item named 'img9'; the items are img0, camera; 1 of the driver's 3 boards"},
        {"-s 1:2:3", "", 1, "names PCI domain 1; the boards here are all in domain 0000"},
        {"-s 0000:1:2:3", "", 1, "bus '1:2' is no hexadecimal number"},
        {"--json=1", "", 1, "option --json takes no value"},
        {"-s 20", "", 1, "device 20 is above 1f"},
        {"-s 100:", "", 1, "bus 100 is above ff"},
        {"-s .8", "", 1, "function 8 is above 7"},
        {"-s 0x3", "", 1, "device '0x3' is no hexadecimal number"},
        {"--serial 123456789", "", 1, "serial number '123456789' is no hexadecimal number of 8"},
        {"--item img0 --item img1", "", 1, "option --item given twice"},
        {"--trace /tmp/x", "", 1,
         "unexpected argument /tmp/x (a file name for --trace follows an '=' sign: "
         "--trace=/tmp/x)"},
    };
    for (const auto& failure : k_cases) {
        const Outcome outcome = RunHost(failure.arguments, failure.environment);
        EXPECT_EQ(outcome.exitCode, failure.exitCode) << failure.arguments;
        ExpectOneLineError(outcome, failure.message);
    }
}

TEST(HostProgram, Empty_values_are_usage_errors) {
    for (const char* arguments : {"--item ''", "--item=", "-i ''", "--boards ''", "--module="}) {
        const Outcome outcome = RunHost(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments;
        ExpectOneLineError(outcome, "needs a non-empty value");
    }
    const Outcome trace = RunHost("--trace=");
    EXPECT_EQ(trace.exitCode, 1);
    ExpectOneLineError(trace, "--trace= needs a file name");
}

TEST(HostProgram, A_broken_or_unreadable_board_file_fails_alike_by_either_route) {
    const std::string broken = WriteFile("broken_boards.toml", "driver_version = \"x\"\n");
    for (const std::string& environment : {std::string(), "ZEVADRIVER_BOARDS=" + broken}) {
        const Outcome outcome =
            environment.empty() ? RunHost("--boards " + broken) : RunHost("", environment);
        EXPECT_EQ(outcome.exitCode, 7) << environment;
        ExpectOneLineError(outcome, "broken_boards.toml:1:18: expected an integer, found a string");
    }
    const std::string folder = QX_TEST_DATA_DIR;
    for (const Outcome& outcome :
         {RunHost("--boards " + folder), RunHost("", "ZEVADRIVER_BOARDS=" + folder)}) {
        EXPECT_EQ(outcome.exitCode, 7);
        ExpectOneLineError(outcome, folder + ": is a directory");
    }
    // A read that fails midway is a read error, never a file that parses as far as it got.
    const Outcome unreadable = RunHost("--boards /proc/self/mem");
    EXPECT_EQ(unreadable.exitCode, 7);
    ExpectOneLineError(unreadable, "/proc/self/mem: read error: Input/output error");
    // A refused right-to-left override reaches standard error escaped, at its own column.
    const std::string reversing =
        WriteFile("reversing.toml", "driver_version = 1\n[[board]]\nserial_number = 1\npci_id = 1\n"
                                    "pci_bus = 1\npci_device = 0\npci_function = 0\n"
                                    "board_name = \"ab\xe2\x80\xae"
                                    "cd\"\n");
    const Outcome reversed = RunHost("--boards " + reversing);
    EXPECT_EQ(reversed.exitCode, 7);
    ExpectOneLineError(reversed,
                       "reversing.toml:8:17: board_name: the text holds U+202E '\\u202e'");
    EXPECT_EQ(reversed.err.find("\xe2\x80\xae"), std::string::npos);
    const Outcome missing = RunHost("", "ZEVADRIVER_BOARDS=/nonexistent/boards.toml");
    EXPECT_EQ(missing.exitCode, 7);
    ExpectOneLineError(missing, "(ZEVADRIVER_BOARDS): /nonexistent/boards.toml: cannot be read: "
                                "No such file or directory");
    // --boards wins, and the variable's file is then not read at all.
    const Outcome both = RunHost("-n --boards " QX_EXAMPLE_BOARDS, "ZEVADRIVER_BOARDS=" + broken);
    EXPECT_EQ(both.out, "img0\ncamera\n") << both.err;
}

TEST(HostProgram, A_failed_write_is_never_success) {
    for (const char* arguments : {"", "--json", "-v", "--names-only", "--help"}) {
        const Outcome outcome = RunHost(std::string(arguments) + " >/dev/full");
        EXPECT_EQ(outcome.exitCode, 9) << arguments;
        EXPECT_THAT(outcome.err, HasSubstr("to standard output: No space left on device"));
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
    const Outcome trace = RunHost("-n --trace=/dev/full");
    EXPECT_EQ(trace.exitCode, 9);
    EXPECT_EQ(trace.out, "img0\nimg1\nimg2\nimg3\n") << "the report is still written";
    EXPECT_THAT(trace.err,
                HasSubstr("cannot write the trace to /dev/full: No space left on device"));

    const Outcome toStandardError =
        RunCommand("sh -c '" QX_HOST_PROGRAM " -n --trace 2>/dev/full'");
    EXPECT_EQ(toStandardError.exitCode, 9) << "a trace on a full standard error";

    const Outcome unopenable = RunHost("--trace=/nonexistent/dir/t.txt");
    EXPECT_EQ(unopenable.exitCode, 1);
    ExpectOneLineError(
        unopenable, "cannot open the trace file /nonexistent/dir/t.txt: No such file or directory");
}

namespace {

// Runs the program with standard output a pipe that no one reads any more, as after a
// pager quits; returns the wait status and what it wrote to standard error.
int RunIntoClosedPipe(bool ignoreSigpipe, std::string* err) {
    const std::string errPath =
        std::string(QX_TEST_DATA_DIR) + "/closed_pipe_" + std::to_string(getpid()) + ".txt";
    int ends[2];
    if (pipe(ends) != 0)
        return -1;
    close(ends[0]);
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGPIPE, ignoreSigpipe ? SIG_IGN : SIG_DFL);
        dup2(ends[1], STDOUT_FILENO);
        if (std::freopen(errPath.c_str(), "w", stderr) == nullptr)
            _exit(127);
        execl(QX_HOST_PROGRAM, QX_HOST_PROGRAM, "--json", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    int status = -1;
    waitpid(child, &status, 0);
    *err = ReadFile(errPath);
    std::remove(errPath.c_str());
    return status;
}

} // namespace

TEST(HostProgram, A_reader_that_went_away_ends_it_quietly_but_not_as_success) {
    std::string err;
    const int killed = RunIntoClosedPipe(false, &err);
    EXPECT_TRUE(WIFSIGNALED(killed) && WTERMSIG(killed) == SIGPIPE) << killed;
    EXPECT_EQ(err, "");
    const int ignored = RunIntoClosedPipe(true, &err);
    EXPECT_TRUE(WIFEXITED(ignored) && WEXITSTATUS(ignored) == 9) << ignored;
    EXPECT_EQ(err, "");
}

TEST(HostProgram, Messages_about_many_boards_stay_short) {
    std::string boards = "driver_version = 1\n";
    for (int board = 0; board < 5000; ++board)
        boards += "[[board]]\nserial_number = " + std::to_string(board + 1) +
                  "\nboard_name = \"ZEVA PCIe-4C\"\npci_id = 1\npci_bus = " +
                  std::to_string(board / 256) +
                  "\npci_device = " + std::to_string(board % 256 / 8) +
                  "\npci_function = " + std::to_string(board % 8) + "\n";
    const Outcome outcome = RunHost("-s 14: --boards " + WriteFile("many_boards.toml", boards));
    EXPECT_EQ(outcome.exitCode, 6);
    ExpectOneLineError(outcome, "img7 (00:00.7, serial number 00000008) and 4992 more");
    EXPECT_LT(outcome.err.size(), 1000u);
}
