// The validator's options and exit statuses, each written once: the parser, --help and the
// manual page (make_validate_manual) are made from these tables.
#ifndef QX_VALIDATE_OPTIONS_H
#define QX_VALIDATE_OPTIONS_H

#include "cli/command_line.h"

#include <cstdint>
#include <string>

// What the validator shares with the host program has the shared number (k_statusOk,
// k_statusUsage, k_statusModule, k_statusWrite: cli/exit_status.h); its own statuses are these.
enum ValidateExit { k_validateTestBed = 7, k_validateCheckFailed = 11 };

inline constexpr ExitMeaning k_validateExitMeanings[] = {
    {k_statusOk, "every check passed, warned of a choice or was skipped with its reason"},
    {k_statusUsage, "usage error"},
    {k_statusModule, "the module is not found or cannot be loaded, or its constructors crash or "
                     "hang"},
    {k_validateTestBed, "the test bed is unusable: the driver rejects the board set, or lists "
                        "no board"},
    {k_statusWrite, "the report could not be written"},
    {k_validateCheckFailed, "at least one check failed, crashed or timed out"},
};

static_assert(ExitMeaningsInOrder(k_validateExitMeanings), "each status once, in rising order");

struct ValidateOptions {
    std::string modulePath;
    std::string factory = "createZEVASysapiExpert";
    std::string versionFunction = "nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray";
    std::string filter;
    std::string boards;   // --boards FILE
    std::string boardSet; // how the report names the board set the checks ran on
    bool list = false;
    bool inProcess = false;
    bool onlyFailed = false;
    bool json = false;
    bool full = false;
    bool strict = false;
    bool help = false;
    bool version = false;
    unsigned repeat = 1;
    std::uint32_t seed = 0;
    bool seedGiven = false;
    double timeout = 20;
};

struct ValidateOptionRow {
    OptionRow option;
    bool (*apply)(ValidateOptions& options, const char* value); // "" for an option without one
};

// The program's rows, exit statuses and summary, for the parser, --help and the manual page.
const ProgramInterface& ValidateProgram();

// Fills options from the arguments, the module chosen as the host program chooses it; false
// with why set on a usage error.
bool ParseValidateOptions(int argc, char** argv, ValidateOptions& options, std::string& why);
// Whether a check's name matches --filter: comma-separated shell patterns; a pattern without
// *, ? or [ matches the names that contain it.
bool FilterMatches(const std::string& filter, const std::string& name);

#endif
