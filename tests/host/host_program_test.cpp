// The host program run as a person runs it: what it prints, its JSON read back, and the
// exit code and one-line message of every failure it reports.
#include "qxzeva/property_table.h"

#include <nlohmann/json.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const std::string k_propertyCount = std::to_string(QXZEVA_ITEM_PROPERTY_COUNT);

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Runs a shell command, its standard error kept apart.
Outcome RunCommand(const std::string& command) {
    // ctest runs cases in parallel processes: each keeps its own file.
    static int s_runs = 0;
    const std::string errPath = std::string(QX_TEST_DATA_DIR) + "/host_stderr_" +
                                std::to_string(getpid()) + "_" + std::to_string(++s_runs) + ".txt";
    Outcome outcome;
    FILE* pipe = popen((command + " 2>" + errPath).c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        outcome.out.append(buffer, read);
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = ReadFile(errPath);
    std::remove(errPath.c_str());
    return outcome;
}

// environment: "NAME=value ..." set for the program alone.
Outcome RunHost(const std::string& arguments, const std::string& environment = "") {
    return RunCommand("env " + environment + " " + QX_HOST_PROGRAM + " " + arguments);
}

std::string WriteFile(const std::string& name, const std::string& text) {
    const std::string path = std::string(QX_TEST_DATA_DIR) + "/" + name;
    std::ofstream(path) << text;
    return path;
}

// One line, naming the program.
void ExpectOneLineError(const Outcome& outcome, const std::string& part) {
    EXPECT_THAT(outcome.err, HasSubstr("qxzeva-host: "));
    EXPECT_THAT(outcome.err, HasSubstr(part));
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_EQ(outcome.out, "");
}

} // namespace

TEST(HostProgram, Json_report_of_the_default_boards_reads_back_whole) {
    const Outcome outcome = RunHost("--json");
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const nlohmann::json report = nlohmann::json::parse(outcome.out);
    EXPECT_EQ(report["product"]["displayName"], "QX ZEVA Sysapi Expert");
    EXPECT_EQ(report["product"]["version"], "18.5");
    EXPECT_EQ(report["product"]["id"], "{2AB917E5-7A6D-4F53-A31F-048F22A05608}");
    EXPECT_EQ(report["versionRecord"]["nQXVersion_ProductVersion"], "18.5.0f0");
    EXPECT_EQ(report["versionRecord"].size(), 9u);
    EXPECT_THAT(report["itemNames"].get<std::vector<std::string>>(),
                ElementsAre("img0", "img1", "img2", "img3"));
    ASSERT_EQ(report["items"].size(), 4u);
    for (const auto& item : report["items"]) {
        ASSERT_EQ(item["properties"].size(), std::size_t{QXZEVA_ITEM_PROPERTY_COUNT})
            << item["name"];
        const auto& serial = item["properties"][0];
        EXPECT_EQ(serial["tag"], "0x01007000");
        EXPECT_EQ(serial["label"], "Serial number");
        EXPECT_EQ(serial["type"], "string");
    }
    const auto& img2 = report["items"][2];
    EXPECT_EQ(img2["name"], "img2");
    EXPECT_EQ(img2["properties"][0]["value"], "00E93B15");
    EXPECT_EQ(img2["properties"][13]["value"], "PCI-1C");
    EXPECT_EQ(img2["properties"][19]["label"], "PCI bus");
    EXPECT_EQ(img2["properties"][19]["value"], 7);
    EXPECT_EQ(img2["properties"][4]["value"], false);
    EXPECT_EQ(img2["properties"][15]["value"], -1);
}

TEST(HostProgram, Default_output_is_a_heading_and_one_line_per_board) {
    const Outcome outcome = RunHost("");
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "Item  Serial    Model    PCI      Driver version\n"
                           "img0  01C4A2F0  PCIe-4C  03:00.0  0x15030000\n"
                           "img1  01C4A2F7  PCIe-2C  04:00.0  0x15030000\n"
                           "img2  00E93B15  PCI-1C   07:02.0  0x15030000\n"
                           "img3  0203D4C8  PCIe-CL  09:00.1  0x15030000\n");
    EXPECT_EQ(outcome.err, "");
}

TEST(HostProgram, Verbose_shows_identity_labelled_version_record_and_every_property) {
    const Outcome outcome = RunHost("-v");
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_THAT(outcome.out, HasSubstr("Product       QX ZEVA Sysapi Expert"));
    EXPECT_THAT(outcome.out, HasSubstr("\n  Company name       Verantic Corporation\n"));
    EXPECT_THAT(outcome.out, HasSubstr("\n  Product version    18.5.0f0\n"));
    EXPECT_EQ(outcome.out.find("nQXVersion_"), std::string::npos) << "keys belong to the JSON";
    EXPECT_THAT(outcome.out, HasSubstr("Item img3: " + k_propertyCount + " properties"));
    EXPECT_THAT(outcome.out, HasSubstr("0x0700C000  Driver version"));
}

TEST(HostProgram, Names_only_prints_exactly_the_names) {
    EXPECT_EQ(RunHost("--names-only").out, "img0\nimg1\nimg2\nimg3\n");
    const Outcome example = RunHost("-n --boards " QX_EXAMPLE_BOARDS);
    ASSERT_EQ(example.exitCode, 0) << example.err;
    EXPECT_EQ(example.out, "img0\ncamera\n");
    const Outcome none = RunHost("-n --boards " + WriteFile("none.toml", "driver_version = 1\n"));
    ASSERT_EQ(none.exitCode, 0) << none.err;
    EXPECT_EQ(none.out, "");

    const Outcome json = RunHost("--names-only --json");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_FALSE(nlohmann::json::parse(json.out).contains("items"));
}

TEST(HostProgram, An_item_found_by_another_spelling_shows_the_listed_name) {
    const Outcome json = RunHost("--json --item IMG1");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const nlohmann::json report = nlohmann::json::parse(json.out);
    ASSERT_EQ(report["items"].size(), 1u);
    EXPECT_EQ(report["items"][0]["name"], "IMG1");
    EXPECT_EQ(report["items"][0]["listedName"], "img1");
    EXPECT_EQ(report["items"][0]["properties"][2]["value"], "IMG1");

    const Outcome line = RunHost("--item ImG2");
    ASSERT_EQ(line.exitCode, 0) << line.err;
    EXPECT_THAT(line.out, HasSubstr("\nimg2  00E93B15  PCI-1C  07:02.0  0x15030000\n"));
    EXPECT_THAT(RunHost("-v --item ImG2").out,
                HasSubstr("Item ImG2 (listed as img2): " + k_propertyCount + " properties"));
    EXPECT_THAT(RunHost("-v --item img2").out,
                HasSubstr("Item img2: " + k_propertyCount + " properties"));
}

TEST(HostProgram, A_description_file_replaces_the_default_boards_by_either_route) {
    const Outcome outcome = RunHost("--json --boards " QX_EXAMPLE_BOARDS);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const nlohmann::json report = nlohmann::json::parse(outcome.out);
    EXPECT_THAT(report["itemNames"].get<std::vector<std::string>>(), ElementsAre("img0", "camera"));
    const Outcome variable = RunHost("-n", "ZEVADRIVER_BOARDS=" QX_EXAMPLE_BOARDS);
    EXPECT_EQ(variable.out, "img0\ncamera\n");
    EXPECT_EQ(variable.err, "");
}

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
    const Outcome missing = RunHost("", "ZEVADRIVER_BOARDS=/nonexistent/boards.toml");
    EXPECT_EQ(missing.exitCode, 7);
    ExpectOneLineError(missing, "(ZEVADRIVER_BOARDS): /nonexistent/boards.toml: cannot be read: "
                                "No such file or directory");
    // --boards wins, and the variable's file is then not read at all.
    const Outcome both = RunHost("-n --boards " QX_EXAMPLE_BOARDS, "ZEVADRIVER_BOARDS=" + broken);
    EXPECT_EQ(both.exitCode, 0) << both.err;
    EXPECT_EQ(both.err, "");
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

namespace {

// "  N  meaning" lines of --help's exit status, or "| N | meaning |" rows of the README's.
std::vector<std::pair<int, std::string>> ExitCodes(const std::string& text, const std::regex& row) {
    std::vector<std::pair<int, std::string>> codes;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_match(line, match, row))
            codes.emplace_back(std::stoi(match[1]), match[2]);
    }
    return codes;
}

} // namespace

TEST(HostProgram, Help_manual_page_and_readme_show_the_same_exit_codes) {
    const Outcome help = RunHost("--help");
    ASSERT_EQ(help.exitCode, 0);
    const auto codes = ExitCodes(help.out, std::regex(R"(  ([0-9]+)  (.+))"));
    ASSERT_EQ(codes.size(), 10u) << help.out;
    EXPECT_EQ(ExitCodes(ReadFile(QX_README), std::regex(R"(\| ([0-9]+) \| (.+) \|)")), codes);

    const Outcome rendered = RunCommand("MANWIDTH=200 man -l " QX_HOST_MAN_PAGE);
    std::string exitStatus = rendered.out.substr(rendered.out.find("EXIT STATUS"));
    exitStatus = exitStatus.substr(0, exitStatus.find("\nENVIRONMENT"));
    EXPECT_EQ(ExitCodes(exitStatus, std::regex(R"( +([0-9]+) +(\S.*))")), codes) << exitStatus;
}

TEST(HostProgram, Manual_pages_render_without_warnings) {
    for (const std::string page : {QX_HOST_MAN_PAGE, QX_BOARDS_MAN_PAGE}) {
        const Outcome rendered = RunCommand("man --warnings -l " + page);
        EXPECT_EQ(rendered.exitCode, 0) << page;
        EXPECT_EQ(rendered.err, "") << page;
        EXPECT_THAT(rendered.out, HasSubstr("EXAMPLES")) << page;
    }
}

TEST(HostProgram, Help_and_version_succeed) {
    const Outcome help = RunHost("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("--boards FILE"));
    const Outcome version = RunHost("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_THAT(version.out, HasSubstr("qxzeva-host 18.5.0"));
}

namespace {

// Walks a trace forward: each Find moves past the first line, from where the last one
// stopped, that matches the pattern, and hands back its first group.
class TraceReader {
public:
    explicit TraceReader(const std::string& text) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            m_lines.push_back(line);
    }

    std::string Find(const std::string& pattern) {
        const std::regex wanted(pattern);
        for (; m_next < m_lines.size(); ++m_next) {
            std::smatch match;
            if (std::regex_match(m_lines[m_next], match, wanted)) {
                ++m_next;
                return match.size() > 1 ? match[1].str() : m_lines[m_next - 1];
            }
        }
        ADD_FAILURE() << "no line from here on matches " << pattern;
        return "\\?";
    }

    bool AtEnd() const { return m_next == m_lines.size(); }
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
};

} // namespace

TEST(HostProgram, Trace_holds_every_call_for_an_item_in_order_and_changes_no_result) {
    const std::string tracePath = std::string(QX_TEST_DATA_DIR) + "/trace.txt";
    const Outcome traced = RunHost("--json --trace=" + tracePath);
    ASSERT_EQ(traced.exitCode, 0) << traced.err;
    EXPECT_EQ(traced.out, RunHost("--json").out);
    TraceReader trace(ReadFile(tracePath));
    std::remove(tracePath.c_str());

    // img0 is the first board, serial number 0x01C4A2F0.
    const std::string expert = trace.Find(R"(createZEVASysapiExpert\(\) = S_OK -> (\S+))");
    trace.Find(expert + R"(::Initialize\(\) \{)");
    trace.Find(R"(  driver qxzevauGetActiveInterfaceFile\(0x01C4A2F0\) = 0)");
    trace.Find(R"(  driver qxzevauGetBoardName\(0x01C4A2F0\) = 0)");
    trace.Find(R"(\} Initialize = S_OK)");
    trace.Find(expert + R"(::SearchForItemNames\(\) \{)");
    const std::string names = trace.Find(R"(\} SearchForItemNames = S_OK -> (\S+))");
    trace.Find(names + R"(::Next\(1\) = S_OK -> \["img0"\], 1)");
    trace.Find(names + R"(::Next\(1\) = S_FALSE -> \[\], 0)");
    trace.Find(names + R"(::Release\(\) = 0)");
    const std::string collection =
        trace.Find(expert + R"(::SearchForItemsAndProperties\((\S+)\) \{)");
    const std::string bag = trace.Find("  " + collection + R"(::AddPropertyBag\((\S+)\) \{)");
    trace.Find("    " + bag + R"(::AddRef\(\) = 2)");
    trace.Find(R"(  \} AddPropertyBag = S_OK)");
    trace.Find(R"(\} SearchForItemsAndProperties = S_OK)");
    const std::string tags = trace.Find(bag + R"(::EnumProperties\(\) = S_OK -> (\S+))");
    trace.Find(tags + R"(::Next\(32\) = S_FALSE -> \[0x01001000, .*\], )" + k_propertyCount);
    trace.Find(bag + R"(::GetStringProperty\(0x0101D000\) = S_OK -> "img0")");
    trace.Find(bag + R"(::Release\(\) = 0)");
    trace.Find(expert + R"(::Finalize\(\) = S_OK)");
    trace.Find(expert + R"(::Release\(\) = 0)");
    EXPECT_TRUE(trace.AtEnd()) << "the expert's last Release is the last call";
    // One bag per item; they are filled inside the module: no Set call crosses to the host.
    const std::regex given("  " + collection + R"(::AddPropertyBag\(\S+\) \{)");
    int bags = 0;
    for (const std::string& line : trace.Lines()) {
        bags += std::regex_match(line, given) ? 1 : 0;
        EXPECT_EQ(line.find("::Set"), std::string::npos) << line;
    }
    EXPECT_EQ(bags, 4);

    const Outcome toStandardError = RunHost("--json --names-only --trace");
    ASSERT_EQ(toStandardError.exitCode, 0) << toStandardError.err;
    EXPECT_NO_THROW(nlohmann::json::parse(toStandardError.out));
    EXPECT_THAT(toStandardError.err, HasSubstr("::Release() = 0"));
}
