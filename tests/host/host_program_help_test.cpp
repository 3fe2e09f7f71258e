// Each program's --help and its manual page: the same options and exit codes, both made from
// the program's tables by the kit, in one layout; the README names neither, it points at the
// manuals.
#include "host_program.h"

#include <regex>
#include <sstream>

using ::testing::HasSubstr;

namespace {

// What `row` captures in each line of `text` it finds: group 1 and, where there is one,
// group 2 ("  -i, --item NAME ..." gives "--item"; "  6  no board" gives "6" and "no board").
std::vector<std::pair<std::string, std::string>> Captures(const std::string& text,
                                                          const std::regex& row) {
    std::vector<std::pair<std::string, std::string>> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, row))
            found.emplace_back(match[1], match.size() > 2 ? match[2].str() : "");
    }
    return found;
}

std::string Section(const std::string& page, const std::string& from, const std::string& to) {
    const std::size_t start = page.find(from);
    return start == std::string::npos ? "" : page.substr(start, page.find(to, start) - start);
}

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

TEST(HostProgram, Help_and_manual_page_show_the_same_options_and_exit_codes) {
    for (const ProgramPages& pages : k_programs) {
        const Outcome help = RunCommand(std::string(pages.program) + " --help");
        ASSERT_EQ(help.exitCode, 0) << pages.program;
        const std::string page = RunCommand(std::string("MANWIDTH=200 man -l ") + pages.manual).out;
        const auto names = Captures(help.out, std::regex(R"(^  (?:-., |    )(--[a-z-]+))"));
        ASSERT_GE(names.size(), 9u) << help.out;
        const std::string options = Section(page, "\nOPTIONS", pages.afterOptions);
        EXPECT_EQ(Captures(options, std::regex(R"(^       (?:-., )?(--[a-z-]+))")), names)
            << options;

        const auto codes = Captures(help.out, std::regex(R"(^  ([0-9]+)  (.+)$)"));
        ASSERT_EQ(codes.size(), pages.exitCodes) << help.out;
        // Both programs' shared statuses, by number.
        EXPECT_EQ(codes[1].second.substr(0, 11), "usage error") << pages.program;
        const std::string exitStatus = Section(page, "\nEXIT STATUS", "\nENVIRONMENT");
        EXPECT_EQ(Captures(exitStatus, std::regex(R"(^ +([0-9]+) +(\S.*)$)")), codes) << exitStatus;
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
