// The validator's options and exit statuses, each written once: the parser, --help and the
// manual page (make_validate_manual) are made from these tables.
#ifndef QX_VALIDATE_OPTIONS_H
#define QX_VALIDATE_OPTIONS_H

#include <cstdint>
#include <string>

// What the validator shares with the host program has the host program's number
// (qxzeva-host(1)); its own statuses count from 11.
enum ValidateExit {
    k_validateOk = 0,
    k_validateUsage = 1,
    k_validateNoModule = 2,
    k_validateTestBed = 7,
    k_validateWrite = 9,
    k_validateCheckFailed = 11
};

struct ValidateExitMeaning {
    ValidateExit code;
    const char* meaning;
};

inline constexpr ValidateExitMeaning k_validateExitMeanings[] = {
    {k_validateOk, "every check passed, warned of a choice or was skipped with its reason"},
    {k_validateUsage, "usage error"},
    {k_validateNoModule, "the module is not found or cannot be loaded, or its constructors "
                         "crash or hang"},
    {k_validateTestBed, "the test bed is unusable: the driver rejects the board set, or lists "
                        "no board"},
    {k_validateWrite, "the report could not be written"},
    {k_validateCheckFailed, "at least one check failed, crashed or timed out"},
};

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
    const char* name;      // the long name, without the dashes
    const char* valueName; // null for an option without a value
    const char* help;      // --help's line
    const char* manual;    // the manual page's paragraph
    bool (*apply)(ValidateOptions& options, const char* value);
};

extern const ValidateOptionRow k_validateOptions[];
extern const std::size_t k_validateOptionCount;

// Fills options from the arguments; false with why set on a usage error.
bool ParseValidateOptions(int argc, char** argv, ValidateOptions& options, std::string& why);
std::string ValidateHelp();
// Whether a check's name matches --filter: comma-separated shell patterns; a pattern without
// *, ? or [ matches the names that contain it.
bool FilterMatches(const std::string& filter, const std::string& name);

#endif
