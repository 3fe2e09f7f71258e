// The kit's parser, --help and manual page, on a program of its own: what each spelling of
// an option gives, and the one-line reason of each usage error.
#include "cli/command_line.h"
#include "cli/manual_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using ::testing::HasSubstr;

namespace {

constexpr OptionRow k_rows[] = {
    {'v', "verbose", OptionValue::none, nullptr, nullptr, false, "more", "More."},
    {'i', "item", OptionValue::required, "NAME", "a name", false, "one item", "One item."},
    {'\0', "items", OptionValue::none, nullptr, nullptr, false, "every item", "Every item."},
    {'\0', "trace", OptionValue::optional, "FILE", "a file name", false, "trace\nto FILE",
     "Trace to the file (--trace=calls.txt), see QXZEVA_MODULE; a \\ stays."},
    {'h', "help", OptionValue::none, nullptr, nullptr, true, "show this help", "Help."},
};

ProgramInterface Program(const char* operand) {
    OptionRows rows;
    for (const OptionRow& row : k_rows)
        rows.push_back(&row);
    return {"qxzeva-try", operand, "Tries.\n", rows, {{0, "success"}, {1, "usage error"}}};
}

// "verbose item=img1 trace trace=FILE | MODULE", or "error: reason".
std::string Parsed(const std::string& arguments, const char* operand = "MODULE") {
    std::vector<std::string> words = {"qxzeva-try"};
    std::istringstream split(arguments);
    for (std::string word; split >> word;)
        words.push_back(word == "''" ? "" : word);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    CommandLine line;
    std::string error;
    const ProgramInterface program = Program(operand);
    if (!ParseCommandLine(int(argv.size()), argv.data(), program, &line, &error))
        return "error: " + error;
    std::string text;
    for (const GivenOption& given : line.options)
        text += std::string(text.empty() ? "" : " ") + given.row->longName +
                (given.hasValue ? "=" + given.value : "");
    return line.operand.empty() ? text : text + " | " + line.operand;
}

} // namespace

TEST(CommandLine, Reads_each_spelling_of_an_option) {
    const struct {
        const char* arguments;
        const char* parsed;
    } k_cases[] = {
        {"-v -i img1", "verbose item=img1"},
        {"-vi img1", "verbose item=img1"},
        {"-iimg1 -v", "item=img1 verbose"},
        {"--item img1 --verbose", "item=img1 verbose"},
        {"--item=img1", "item=img1"},
        {"--item=-v", "item=-v"},
        {"--verb", "verbose"}, // an unambiguous start
        {"--items", "items"},  // a whole name, though it starts another
        {"--trace", "trace"},  // an optional value only after '='
        {"--trace=t.txt", "trace=t.txt"},
        {"-v -v", "verbose verbose"}, // a flag may be repeated
        {"m.so -v", "verbose | m.so"},
        {"-- -v.so", " | -v.so"},
        {"-", " | -"},
    };
    for (const auto& test : k_cases)
        EXPECT_EQ(Parsed(test.arguments), test.parsed) << test.arguments;
}

TEST(CommandLine, Names_what_is_wrong_in_one_line) {
    const struct {
        const char* arguments;
        const char* operand;
        const char* error;
    } k_cases[] = {
        {"--frobnicate", "MODULE", "unknown option --frobnicate"},
        {"-vx", "MODULE", "unknown option -x"},
        {"--ite", "MODULE", "ambiguous option --ite"},
        {"--", "MODULE", ""},
        {"--verbose=1", "MODULE", "option --verbose takes no value"},
        {"--item", "MODULE", "option --item needs a value"},
        {"-i", "MODULE", "option -i needs a value"},
        {"--item ''", "MODULE", "option --item needs a non-empty value"},
        {"-i img1 --item img2", "MODULE", "option --item given twice"},
        {"--trace=", "MODULE", "option --trace= needs a file name (--trace alone takes none)"},
        {"a.so b.so", "MODULE", "unexpected argument b.so"},
        {"m.so", nullptr, "unexpected argument m.so"},
        {"--trace t.txt", nullptr,
         "unexpected argument t.txt (a file name for --trace follows an '=' sign: "
         "--trace=t.txt)"},
    };
    for (const auto& test : k_cases)
        EXPECT_EQ(Parsed(test.arguments, test.operand),
                  *test.error == '\0' ? "" : std::string("error: ") + test.error)
            << test.arguments;
}

TEST(CommandLine, Help_and_manual_page_show_the_same_rows) {
    const ProgramInterface program = Program("MODULE");
    EXPECT_EQ(HelpText(program), "Usage: qxzeva-try [options] [MODULE]\n"
                                 "Tries.\n"
                                 "\n"
                                 "  -v, --verbose       more\n"
                                 "  -i, --item NAME     one item\n"
                                 "      --items         every item\n"
                                 "      --trace[=FILE]  trace\n"
                                 "                      to FILE\n"
                                 "  -h, --help          show this help\n"
                                 "\n"
                                 "Exit status:\n"
                                 "  0  success\n"
                                 "  1  usage error\n");
    EXPECT_EQ(ManualSynopsis(program), ".B qxzeva\\-try\n"
                                       ".RB [ \\-v ]\n"
                                       ".RB [ \\-i\n.IR name ]\n"
                                       ".RB [ \\-\\-items ]\n"
                                       ".RB [ \\-\\-trace [ =\\c\n.IR file ]]\n"
                                       ".RI [ module ]\n"
                                       ".br\n.B qxzeva\\-try\n.BR \\-h\n");
    // Option names and variables in bold; a backslash is roff's escape, so it is written \e.
    EXPECT_THAT(ManualOptions(program),
                HasSubstr("Trace to the file (\\fB\\-\\-trace\\fR=calls.txt), see "
                          "\\fBQXZEVA_MODULE\\fR; a \\e stays."));
    EXPECT_EQ(RoffPlain("QX_NAME(3) -v a\\b"), "QX_NAME(3) \\-v a\\eb");
    EXPECT_EQ(ManualExitStatus(program), ".TP\n.B 0\nsuccess\n.TP\n.B 1\nusage error\n");
    EXPECT_EQ(ManualPage(program, ".\\\" generated: synopsis\n"), "");
    EXPECT_THAT(ManualPage(program,
                           ".SH A\n.\\\" generated: synopsis\n.\\\" generated: options\n"
                           ".\\\" generated: exit status\n.\\\" generated: own\n",
                           {{"own", "OWN\n"}}),
                HasSubstr(".TP\n.B 1\nusage error\nOWN\n"));
}
