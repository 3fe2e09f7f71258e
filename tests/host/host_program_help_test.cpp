// Each program's --help and its manual page: the same options and exit codes, both made from
// the program's tables by the kit, in one layout; the README names neither, it points at the
// manuals.
#include "host_program.h"

#include <regex>
#include <sstream>

using ::testing::HasSubstr;

namespace {

// "  N  meaning" lines of --help's exit status, or the manual's.
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

// The long names of the options a text introduces, one a line: "  -i, --item NAME ..."
std::vector<std::string> OptionNames(const std::string& text, const std::regex& row) {
    std::vector<std::string> names;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, row))
            names.push_back(match[1]);
    }
    return names;
}

std::string Section(const std::string& page, const std::string& from, const std::string& to) {
    const std::size_t start = page.find(from);
    return start == std::string::npos ? "" : page.substr(start, page.find(to, start) - start);
}

} // namespace

namespace {

struct ProgramPages {
    const char* program;
    const char* manual;
    const char* afterOptions; // the manual's section after OPTIONS
    std::size_t exitCodes;
};

const ProgramPages k_programs[] = {
    {QX_HOST_PROGRAM, QX_HOST_MAN_PAGE, "\nEXIT STATUS", 11},
    {QX_VALIDATE_PROGRAM, QX_VALIDATE_MAN_PAGE, "\nCHECKS", 6},
};

} // namespace

TEST(HostProgram, Help_and_manual_page_show_the_same_options) {
    for (const ProgramPages& pages : k_programs) {
        const Outcome help = RunCommand(std::string(pages.program) + " --help");
        ASSERT_EQ(help.exitCode, 0) << pages.program;
        const auto names = OptionNames(help.out, std::regex(R"(^  (?:-., |    )(--[a-z-]+))"));
        ASSERT_GE(names.size(), 9u) << help.out;
        const std::string page = RunCommand(std::string("MANWIDTH=200 man -l ") + pages.manual).out;
        const std::string options = Section(page, "\nOPTIONS", pages.afterOptions);
        EXPECT_EQ(OptionNames(options, std::regex(R"(^       (?:-., )?(--[a-z-]+))")), names)
            << options;
    }
}

TEST(HostProgram, Help_and_manual_page_show_the_same_exit_codes) {
    for (const ProgramPages& pages : k_programs) {
        const Outcome help = RunCommand(std::string(pages.program) + " --help");
        ASSERT_EQ(help.exitCode, 0) << pages.program;
        const auto codes = ExitCodes(help.out, std::regex(R"(  ([0-9]+)  (.+))"));
        ASSERT_EQ(codes.size(), pages.exitCodes) << help.out;
        // Both programs' shared statuses, by number.
        EXPECT_EQ(codes[1].second.substr(0, 11), "usage error") << pages.program;

        const Outcome rendered = RunCommand(std::string("MANWIDTH=200 man -l ") + pages.manual);
        std::string exitStatus = Section(rendered.out, "\nEXIT STATUS", "\nENVIRONMENT");
        EXPECT_EQ(ExitCodes(exitStatus, std::regex(R"( +([0-9]+) +(\S.*))")), codes) << exitStatus;
    }
}

TEST(HostProgram, Manual_pages_render_without_warnings) {
    for (const std::string page : {QX_HOST_MAN_PAGE, QX_BOARDS_MAN_PAGE, QX_VALIDATE_MAN_PAGE}) {
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
    EXPECT_THAT(version.out, HasSubstr("qxzeva-host 18.7.0"));
}
