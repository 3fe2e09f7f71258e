// The performance step's verdict on the kept instruction ratios: what it reads from the kept
// file, and which changes fail it, which it reports, which it lets pass.
#include "ratio_check.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct ParseCase {
    const char* name;
    const char* text;
    bool parses;
    Ratios ratios;     // when it parses
    const char* error; // a part of the message when it does not
};

class KeptFile : public ::testing::TestWithParam<ParseCase> {};

const ParseCase k_parseCases[] = {
    {"comments_and_blank_lines",
     "# header\n\nbag.get/module/10 1.2866  # note\n  \n",
     true,
     {{"bag.get/module/10", 1.2866}},
     ""},
    {"two_figures",
     "lock.section/module 1.0951\nrefcount.pair/module\t29.0341\n",
     true,
     {{"lock.section/module", 1.0951}, {"refcount.pair/module", 29.0341}},
     ""},
    {"no_ratio", "# h\nbag.get/module/10\n", false, {}, "line 2"},
    {"not_a_number", "bag.get/module/10 one\n", false, {}, "line 1"},
    {"a_third_field", "bag.get/module/10 1.2 1.3\n", false, {}, "line 1"},
    {"zero", "bag.get/module/10 0\n", false, {}, "positive"},
    {"named_twice", "a 1.0\nb 2.0\na 1.1\n", false, {}, "line 3: a named a second time"},
};

TEST_P(KeptFile, Reads_figures_or_names_the_bad_line) {
    const ParseCase& row = GetParam();
    std::istringstream in(row.text);
    Ratios ratios;
    std::string error;
    ASSERT_EQ(ParseRatios(in, ratios, error), row.parses) << error;
    if (row.parses)
        EXPECT_EQ(ratios, row.ratios);
    else
        EXPECT_NE(error.find(row.error), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Rows, KeptFile, ::testing::ValuesIn(k_parseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeptFile, Reads_back_what_it_writes_with_the_command_that_renews_it) {
    const Ratios written = {{"bag.get/module/10", 1.2866}, {"refcount.pair/module", 29.0341}};
    std::ostringstream out;
    WriteRatios(out, written);
    EXPECT_NE(out.str().find("#     scripts/bench-ratios.sh --renew\n"), std::string::npos);
    std::istringstream in(out.str());
    Ratios read;
    std::string error;
    ASSERT_TRUE(ParseRatios(in, read, error)) << error;
    EXPECT_EQ(read, written);
}

struct CompareCase {
    const char* name;
    Ratios kept;
    Ratios measured;
    std::size_t failures;
    std::size_t notes;
    std::size_t held;
    const char* says; // a part of the first failure, or else of the first note
};

class Verdict : public ::testing::TestWithParam<CompareCase> {};

const CompareCase k_compareCases[] = {
    {"two_percent_worse_holds", {{"f", 1.0}}, {{"f", 1.02}}, 0, 0, 1, ""},
    {"just_over_two_percent_worse_fails",
     {{"f", 1.0}},
     {{"f", 1.0201}},
     1,
     0,
     0,
     "f: 1.0000 kept, 1.0201 now (+2.01%), more than 2% worse; if the cost is meant, renew "
     "with scripts/bench-ratios.sh --renew"},
    {"two_percent_better_holds", {{"f", 1.0}}, {{"f", 0.98}}, 0, 0, 1, ""},
    {"more_than_two_percent_better_is_noted",
     {{"f", 1.0}},
     {{"f", 0.97}},
     0,
     1,
     0,
     "f: 1.0000 kept, 0.9700 now (-3.00%), better; to hold the gain, renew with "
     "scripts/bench-ratios.sh --renew"},
    {"a_kept_figure_not_measured_fails",
     {{"f", 1.0}, {"gone", 2.0}},
     {{"f", 1.0}},
     1,
     0,
     1,
     "gone: kept at 2.0000, not measured"},
    {"a_new_figure_is_noted",
     {{"f", 1.0}},
     {{"f", 1.0}, {"new", 3.0}},
     0,
     1,
     1,
     "new: 3.0000 now, not kept"},
    {"one_of_several_fails",
     {{"a", 1.0}, {"b", 1.1}, {"c", 1.2}},
     {{"a", 1.0}, {"b", 1.2}, {"c", 1.1}},
     1,
     1,
     1,
     "b: 1.1000 kept, 1.2000 now"},
};

TEST_P(Verdict, Fails_only_on_a_slip_beyond_two_percent_or_a_lost_figure) {
    const CompareCase& row = GetParam();
    const RatioVerdict verdict = CompareRatios(row.kept, row.measured);
    EXPECT_EQ(verdict.failures.size(), row.failures);
    EXPECT_EQ(verdict.notes.size(), row.notes);
    EXPECT_EQ(verdict.held, row.held);
    const std::string said = !verdict.failures.empty() ? verdict.failures.front()
                             : !verdict.notes.empty()  ? verdict.notes.front()
                                                       : "";
    EXPECT_NE(said.find(row.says), std::string::npos) << said;
}

INSTANTIATE_TEST_SUITE_P(Rows, Verdict, ::testing::ValuesIn(k_compareCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
