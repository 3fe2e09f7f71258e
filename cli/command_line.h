// One parser and one --help layout for the package's programs, made from a program's rows
// (option_row.h) and its exit statuses (exit_status.h).
#ifndef QX_CLI_COMMAND_LINE_H
#define QX_CLI_COMMAND_LINE_H

#include "cli/exit_status.h"
#include "cli/option_row.h"

#include <string>
#include <vector>

// What --help and the manual page say of a program besides its options.
struct ProgramInterface {
    const char* name;    // "qxzeva-host", as a person types it
    const char* operand; // "MODULE" when the program takes one operand, else null
    const char* summary; // --help's lines under the usage line, each ending in '\n'
    OptionRows options;
    std::vector<ExitMeaning> exits;
};

struct GivenOption {
    const OptionRow* row;
    bool hasValue; // false for an option without a value, or an optional one given alone
    std::string value;
};

struct CommandLine {
    std::vector<GivenOption> options; // in the order given
    std::string operand;              // empty when none was given
};

// Reads argv as the usual tools do: -v, -vn and -iNAME, -i NAME; --item NAME, --item=NAME and
// any unambiguous start of a long name; an optional value only after '='; "--" ends the
// options. A value may not be empty nor an option with a value repeated, which would leave
// one of the two unheeded. On a usage error returns false with a one-line reason in error.
bool ParseCommandLine(int argc, char** argv, const ProgramInterface& program, CommandLine* line,
                      std::string* error);

// "--item", the name as messages write it.
std::string Dashed(const OptionRow& option);

// The --help text: usage, summary, options, exit statuses.
std::string HelpText(const ProgramInterface& program);

// A usage error's line ends so, in every program.
std::string WithHelpHint(const std::string& reason);

#endif
