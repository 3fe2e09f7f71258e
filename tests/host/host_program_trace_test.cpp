// The host program's trace: every call across the module's interfaces, in order.
#include "host_program.h"

#include <nlohmann/json.hpp>

#include <regex>
#include <sstream>

using ::testing::HasSubstr;

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

    // img0 is the first board, serial number 0x01C4A2F0, as in the example's board file. The
    // driver's calls show what they wrote.
    const std::string expert = trace.Find(R"(createZEVASysapiExpert\(\) = S_OK -> (\S+))");
    trace.Find(expert + R"(::Initialize\(\) \{)");
    trace.Find(R"(  driver qxzevauGetSerialNumber\(\) = 0 -> \[0x01C4A2F0, 0x01C4A2F7, .*\], 4)");
    trace.Find(R"(  driver qxzevauGetActiveInterfaceFile\(0x01C4A2F0\) = 0 -> "img0\.zid")");
    trace.Find(R"(  driver qxzevauGetBoardPCILocation\(0x01C4A2F0\) = 0 -> 03:00\.0)");
    trace.Find(R"(  driver qxzevauGetBoardName\(0x01C4A2F0\) = 0 -> "ZEVA PCIe-4C")");
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
    trace.Find(bag + R"(::GetStringProperty\(0x0101D000 item_name\) = S_OK -> "img0")");
    trace.Find(bag + R"(::Release\(\) = 0)");
    trace.Find(expert + R"(::Finalize\(\) = S_OK)");
    trace.Find(expert + R"(::Release\(\) = 0)");
    // Then the program's own question: which boards the driver knows, read-only.
    trace.Find(R"(driver qxzevauGetSerialNumber\(\) = 0 -> 4)");
    EXPECT_TRUE(trace.AtEnd()) << "the program's census is the last call";
    // One bag per item; they are filled inside the module: no Set call crosses to the host.
    const std::regex given("  " + collection + R"(::AddPropertyBag\(\S+\) \{)");
    int bags = 0;
    for (const std::string& line : trace.Lines()) {
        bags += std::regex_match(line, given) ? 1 : 0;
        EXPECT_EQ(line.find("::Set"), std::string::npos) << line;
    }
    EXPECT_EQ(bags, 4);

    // The trace empties the driver's log as it goes, yet the reason boards are missing is
    // still the module's own failed call, as without a trace.
    const Outcome missing = RunHost("--boards " QX_EXAMPLE_BOARDS " --trace=" + tracePath);
    EXPECT_EQ(missing.exitCode, 10);
    EXPECT_EQ(missing.err, RunHost("--boards " QX_EXAMPLE_BOARDS).err);
    EXPECT_THAT(missing.err, HasSubstr("claim refused (ZEVADRIVER_ERROR_CLAIM_REFUSED)"));
    EXPECT_THAT(ReadFile(tracePath),
                HasSubstr("  driver qxzevauGetBoardPCILocation(0x01C4A2F0) = 0 -> 03:00.0\n"));
    std::remove(tracePath.c_str());

    const Outcome toStandardError = RunHost("--json --names-only --trace");
    ASSERT_EQ(toStandardError.exitCode, 0) << toStandardError.err;
    EXPECT_NO_THROW(nlohmann::json::parse(toStandardError.out));
    EXPECT_THAT(toStandardError.err, HasSubstr("::Release() = 0"));
}
