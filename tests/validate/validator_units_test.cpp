// The validator's own units: how a check's outcome follows from what it recorded, the
// grading in the report and the table of checks.
#include "validate/report.h"
#include "validate/runner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

Failure Breach(Grade grade) {
    return {"a rule", "a call", "got", "expected", grade};
}

// recorded failures (must, choice), a skip reason, strict -> the outcome
struct ClassifyRow {
    int must;
    int choice;
    const char* skip;
    bool strict;
    Outcome outcome;
};

TEST(ValidatorUnits, OutcomeFollowsTheGradeOfEachBreach) {
    const ClassifyRow rows[] = {
        {0, 0, "", false, Outcome::passed},    {0, 0, "why", false, Outcome::skipped},
        {1, 0, "", false, Outcome::failed},    {0, 1, "", false, Outcome::warned},
        {0, 1, "", true, Outcome::failed},     {1, 1, "", false, Outcome::failed},
        {0, 2, "why", false, Outcome::warned},
    };
    for (const ClassifyRow& row : rows) {
        CheckResult result;
        for (int i = 0; i < row.must; ++i)
            result.failures.push_back(Breach(Grade::must));
        for (int i = 0; i < row.choice; ++i)
            result.failures.push_back(Breach(Grade::choice));
        result.detail = row.skip;
        Classify(result, row.strict);
        EXPECT_EQ(result.outcome, row.outcome)
            << row.must << " must, " << row.choice << " choice, strict " << row.strict;
    }
    // A crash stays a crash whatever was recorded before it.
    CheckResult crashed;
    crashed.outcome = Outcome::crashed;
    crashed.failures.push_back(Breach(Grade::choice));
    Classify(crashed, false);
    EXPECT_EQ(crashed.outcome, Outcome::crashed);
    EXPECT_TRUE(Fails(Outcome::crashed) && Fails(Outcome::timedOut) && Fails(Outcome::failed));
    EXPECT_FALSE(Fails(Outcome::warned) || Fails(Outcome::skipped) || Fails(Outcome::passed));
}

TEST(ValidatorUnits, TheReportGivesGradeSourceAndWarnings) {
    const CheckRow row = {"bag.example", CheckLevel::quick, 1,      Grade::choice,
                          k_soundChoice, "a rule",          nullptr};
    ValidateOptions options;
    options.modulePath = "m\x1b.so";
    options.boardSet = "the validator's own set";
    RunSummary run;
    CheckResult result;
    result.row = &row;
    result.outcome = Outcome::warned;
    result.failures.push_back(Breach(Grade::choice));
    result.failures.back().got = "na\x1bme"; // a module's text, escaped on the terminal alone
    result.note = "sampled";
    run.results.push_back(result);
    run.failedRuns.push_back(1);
    const std::string text = TextReport(options, run);
    // The path and the module's text escaped on the terminal.
    for (const char* part :
         {"warn  bag.example", "(choice, a warning)", "source:   this project's sound choice",
          "note: sampled", "m\\x1b.so", "got:      na\\x1bme", "1 warned, 0 failed"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
    options.strict = true;
    EXPECT_NE(TextReport(options, run).find("(choice, failing under --strict)"), std::string::npos);
    const std::string json = JsonReport(options, run);
    for (const char* field : {"\"grade\": \"choice\"", "\"strict\": true", "\"warned\": 1",
                              "\"note\": \"sampled\"", "\"boards\":", "na\\u001bme"})
        EXPECT_NE(json.find(field), std::string::npos) << field << " in " << json;
}

TEST(ValidatorUnits, EveryCheckNamesItsSourceAndEveryChoiceIsTheProjects) {
    std::set<std::string> names;
    for (const CheckRow& row : CheckTable()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        ASSERT_NE(row.source, nullptr) << row.name;
        EXPECT_GT(std::strlen(row.source), 0u) << row.name;
        EXPECT_EQ(row.grade == Grade::choice, std::string(row.source) == k_soundChoice) << row.name;
    }
}

} // namespace
