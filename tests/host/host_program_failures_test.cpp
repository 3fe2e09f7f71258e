// The host program's failures: the exit code and one-line message of each, and a write that
// fails, never reported as success.
#include "host_program.h"

#include <csignal>

using ::testing::HasSubstr;

// Each failure's exit code and the words that say what is wrong, in one table.
TEST(HostProgram, Each_failure_names_what_is_wrong) {
    const std::string noBoards = WriteFile("no_boards.toml", "driver_version = 1\n");
    const std::string badBoards =
        WriteFile("bad_boards.toml", "driver_version = 1\n[[board]]\nserial_number = \"x\"\n");
    const std::string broken = WriteFile("broken_boards.toml", "driver_version = \"x\"\n");
    const std::string brokenProblem = broken + ":1:18: expected an integer, found a string";
    const std::string folder = QX_TEST_DATA_DIR;
    const struct {
        std::string arguments;
        std::string environment;
        int exitCode;
        std::string message;
    } k_cases[] = {
        {"--item nosuch", "", 6, "no item named 'nosuch'; the items are img0, img1, img2, img3"},
        {"--item img0 --boards " + noBoards, "", 6, "no item named 'img0'; there are no items"},
        {"--module /nonexistent/module.so", "", 2, "module not found: /nonexistent/module.so"},
        {"--module " QX_EXAMPLE_BOARDS, "", 2, "module not loadable: " QX_EXAMPLE_BOARDS ": "},
        {"--boards " + badBoards, "", 7, "bad board description: " + badBoards + ":3:"},
        // A broken or unreadable board file fails alike by either route.
        {"--boards " + broken, "", 7, brokenProblem},
        {"", "ZEVADRIVER_BOARDS=" + broken, 7, brokenProblem},
        {"--boards " + folder, "", 7, folder + ": is a directory"},
        {"", "ZEVADRIVER_BOARDS=" + folder, 7, folder + ": is a directory"},
        {"", "ZEVADRIVER_BOARDS=/nonexistent/boards.toml", 7,
         "(ZEVADRIVER_BOARDS): /nonexistent/boards.toml: cannot be read: No such file or "
         "directory"},
        // A read that fails midway is a read error, never a file that parses as far as it got.
        {"--boards /proc/self/mem", "", 7, "/proc/self/mem: read error: Input/output error"},
        {"--frobnicate", "", 1, "unknown option --frobnicate"},
        {"--item ''", "", 1, "needs a non-empty value"},
        {"--item=", "", 1, "needs a non-empty value"},
        {"-i ''", "", 1, "needs a non-empty value"},
        {"--boards ''", "", 1, "needs a non-empty value"},
        {"--module=", "", 1, "needs a non-empty value"},
        {"--trace=", "", 1, "--trace= needs a file name"},
        {"--trace=/nonexistent/dir/t.txt", "", 1,
         "cannot open the trace file /nonexistent/dir/t.txt: No such file or directory"},
        {"--save-boards /nonexistent/dir/site.toml", "", 9,
         "cannot write /nonexistent/dir/site.toml: No such file or directory"},
        // A failed write is never success.
        {">/dev/full", "", 9, "to standard output: No space left on device"},
        {"--json >/dev/full", "", 9, "to standard output: No space left on device"},
        {"-v >/dev/full", "", 9, "to standard output: No space left on device"},
        {"--names-only >/dev/full", "", 9, "to standard output: No space left on device"},
        {"--help >/dev/full", "", 9, "to standard output: No space left on device"},
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
        EXPECT_EQ(outcome.exitCode, failure.exitCode) << failure.arguments << failure.environment;
        ExpectOneLineError(outcome, failure.message);
    }
}

// A refused right-to-left override reaches standard error escaped, at its own column; a
// board file given with --boards is read and ZEVADRIVER_BOARDS's is not.
TEST(HostProgram, Board_file_problems_are_shown_safely_and_the_option_wins) {
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
    const std::string broken = WriteFile("broken_boards.toml", "driver_version = \"x\"\n");
    const Outcome both = RunHost("-n --boards " QX_EXAMPLE_BOARDS, "ZEVADRIVER_BOARDS=" + broken);
    EXPECT_EQ(both.out, "img0\ncamera\n") << both.err;
}

TEST(HostProgram, A_failed_trace_write_is_never_success) {
    const Outcome trace = RunHost("-n --trace=/dev/full");
    EXPECT_EQ(trace.exitCode, 9);
    EXPECT_EQ(trace.out, "img0\nimg1\nimg2\nimg3\n") << "the report is still written";
    EXPECT_THAT(trace.err,
                HasSubstr("cannot write the trace to /dev/full: No space left on device"));

    const Outcome toStandardError =
        RunCommand("sh -c '" QX_HOST_PROGRAM " -n --trace 2>/dev/full'");
    EXPECT_EQ(toStandardError.exitCode, 9) << "a trace on a full standard error";
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
    const std::string file = WriteFile("many_boards.toml", boards);
    const Outcome outcome = RunHost("-s 14: --boards " + file);
    EXPECT_EQ(outcome.exitCode, 6);
    ExpectOneLineError(outcome, "img7 (00:00.7, serial number 00000008) and 4992 more");
    EXPECT_LT(outcome.err.size(), 1000u);
    // Every filter alike: --item too.
    const Outcome item = RunHost("-i nomatch --boards " + file);
    EXPECT_EQ(item.exitCode, 6);
    ExpectOneLineError(item, "the items are img0, img1, img2, img3, img4, img5, img6, img7 and "
                             "4992 more");
}
