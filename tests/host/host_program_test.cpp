// The host program run as a person runs it: what it prints, its JSON read back, and the
// exit code and one-line message of every failure it reports.
#include <nlohmann/json.hpp>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Outcome RunHost(const std::string& arguments) {
    // ctest runs cases in parallel processes: each keeps its own file.
    static int s_runs = 0;
    const std::string errPath = std::string(QX_TEST_DATA_DIR) + "/host_stderr_" +
                                std::to_string(getpid()) + "_" + std::to_string(++s_runs) + ".txt";
    const std::string command = std::string(QX_HOST_PROGRAM) + " " + arguments + " 2>" + errPath;
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
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
        ASSERT_EQ(item["properties"].size(), 22u) << item["name"];
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

TEST(HostProgram, Table_shows_identity_names_and_every_property) {
    const Outcome outcome = RunHost("");
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_THAT(outcome.out, HasSubstr("Product       QX ZEVA Sysapi Expert"));
    EXPECT_THAT(outcome.out, HasSubstr("Item img3: 22 properties"));
    EXPECT_THAT(outcome.out, HasSubstr("0x0700C000  Driver version"));
}

TEST(HostProgram, One_item_by_name_and_names_only) {
    const Outcome one = RunHost("--json --item IMG1");
    ASSERT_EQ(one.exitCode, 0) << one.err;
    const nlohmann::json report = nlohmann::json::parse(one.out);
    ASSERT_EQ(report["items"].size(), 1u);
    EXPECT_EQ(report["items"][0]["properties"][2]["value"], "IMG1");
    const Outcome names = RunHost("--names-only --json");
    ASSERT_EQ(names.exitCode, 0) << names.err;
    EXPECT_FALSE(nlohmann::json::parse(names.out).contains("items"));
}

TEST(HostProgram, A_description_file_replaces_the_default_boards) {
    const Outcome outcome = RunHost("--json --boards " QX_EXAMPLE_BOARDS);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const nlohmann::json report = nlohmann::json::parse(outcome.out);
    EXPECT_THAT(report["itemNames"].get<std::vector<std::string>>(), ElementsAre("img0", "camera"));
}

TEST(HostProgram, Each_failure_has_its_exit_code_and_one_line) {
    ExpectOneLineError(RunHost("--item nosuch"), "no item named 'nosuch'");
    EXPECT_EQ(RunHost("--item nosuch").exitCode, 6);

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
    trace.Find(tags + R"(::Next\(32\) = S_FALSE -> \[0x01001000, .*\], 22)");
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
