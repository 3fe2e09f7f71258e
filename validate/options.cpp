#include "validate/options.h"

#include <fnmatch.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool Unsigned(const char* value, unsigned long limit, unsigned long& out) {
    if (value == nullptr || *value < '0' || *value > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoul(value, &end, 10);
    return errno == 0 && *end == '\0' && out <= limit;
}

} // namespace

// clang-format off
const ValidateOptionRow k_validateOptions[] = {
    {"factory", "NAME", "the factory's export (default\n"
     "createZEVASysapiExpert)",
     "The name of the module's factory export. The default is the expert's, createZEVASysapiExpert.",
     [](ValidateOptions& o, const char* v) { o.factory = v; return *v != '\0'; }},
    {"version-function", "NAME",
     "the version record's export (default\n"
     "nQXVersion_QXZEVA_SYSAPI_EXPERT_\ngetVersionStringArray)",
     "The name of the export that hands out the module's version record. The default is the "
     "expert's, nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray.",
     [](ValidateOptions& o, const char* v) { o.versionFunction = v; return *v != '\0'; }},
    {"boards", "FILE", "the simulated driver's board set (qxzeva-boards(5));\n"
     "default: the environment's ZEVADRIVER_BOARDS, else\nthe validator's own set",
     "The board description (qxzeva-boards(5)) the simulated image driver reads in every check's "
     "process. Without it the environment's ZEVADRIVER_BOARDS is used, and without that the "
     "validator's own set, written to a temporary file: boards covering every field's shapes "
     "(Latin-1 texts at their length limits, two interfaces of one board, boards without an "
     "interface file, and a board whose claim is refused, which ends discovery). A real driver "
     "ignores it. The report names the set used.",
     [](ValidateOptions& o, const char* v) { o.boards = v; return *v != '\0'; }},
    {"list", nullptr, "list the checks with what each proves, and run none",
     "List the checks of the level chosen (and those --filter selects), one a line with the "
     "contract each proves, and run none.",
     [](ValidateOptions& o, const char*) { return o.list = true; }},
    {"filter", "PATTERN", "run only the checks whose names match (shell\n"
     "patterns, comma-separated; a plain word matches the\nnames that contain it)",
     "Run only the checks whose names match: shell patterns, separated by commas; a pattern "
     "without *, ? or [ matches every name that contains it (--filter bag. runs the property "
     "bag's checks).",
     [](ValidateOptions& o, const char* v) { o.filter = v; return true; }},
    {"level", "quick|full", "quick (the default) or full: full adds the\n"
     "allocation-failure, thread and load-cycle checks",
     "quick, the default, runs the checks of the contracts one call at a time; full adds the "
     "allocation-failure sweeps, the thread checks and the load cycles.",
     [](ValidateOptions& o, const char* v) {
         o.full = std::strcmp(v, "full") == 0;
         return o.full || std::strcmp(v, "quick") == 0;
     }},
    {"strict", nullptr, "hold this project's stricter choices as rules: a\n"
     "breach fails instead of warning; also make the calls\nthe contract leaves undefined",
     "Hold the rules graded choice (where the contract leaves the behaviour open or writes it "
     "otherwise, and this project chose a stricter, sound one) as rules: a breach fails the "
     "check instead of warning. Also make the calls the contract leaves undefined, such as a "
     "null out-pointer to the bag's value getters, which may crash a module that keeps to the "
     "contract.",
     [](ValidateOptions& o, const char*) { return o.strict = true; }},
    {"in-process", nullptr, "run the checks in this process, without time limits\n  "
     "(for a debugger; a crash ends the run)",
     "Run the checks one after another in the validator's own process, without child processes "
     "or time limits, as a debugger wants them. A crash then ends the whole run.",
     [](ValidateOptions& o, const char*) { return o.inProcess = true; }},
    {"only-failed", nullptr, "report only the checks that did not pass",
     "Report only the checks that failed, crashed or timed out; the summary still counts all.",
     [](ValidateOptions& o, const char*) { return o.onlyFailed = true; }},
    {"json", nullptr, "write the report as JSON",
     "Write the report as one JSON document, as the schema under FILES describes.",
     [](ValidateOptions& o, const char*) { return o.json = true; }},
    {"repeat", "N", "run each check N times (1 to 1000); it passes only\n  if every run does",
     "Run each check N times, each run in a process of its own; a check passes only when every "
     "run does. With --seed, for the checks whose order or timing varies.",
     [](ValidateOptions& o, const char* v) {
         unsigned long n = 0;
         const bool ok = Unsigned(v, 1000, n) && n > 0;
         o.repeat = static_cast<unsigned>(n);
         return ok;
     }},
    {"seed", "N", "seed of the varied orders and timings (default:\n"
     "from the clock; the report gives it)",
     "The seed from which the checks that vary the order of calls, the sizes of enumerator "
     "steps and the threads' timing draw their choices. Without it the seed comes from the "
     "clock; the report gives the seed used, so that a run can be repeated exactly.",
     [](ValidateOptions& o, const char* v) {
         unsigned long n = 0;
         o.seedGiven = Unsigned(v, 0xFFFFFFFFul, n);
         o.seed = static_cast<std::uint32_t>(n);
         return o.seedGiven;
     }},
    {"timeout", "SECONDS", "time limit of a quick check (default 20; the full\n  "
     "checks get a multiple of it)",
     "The time limit of each quick check, in whole seconds (default 20); the full checks get a "
     "multiple of it. A check that takes longer is stopped and reported as timed out, naming the "
     "operation it was in.",
     [](ValidateOptions& o, const char* v) {
         unsigned long n = 0;
         const bool ok = Unsigned(v, 86400, n) && n > 0;
         o.timeout = static_cast<double>(n);
         return ok;
     }},
    {"help", nullptr, "show this help", "Print the usage and the options, and exit.",
     [](ValidateOptions& o, const char*) { return o.help = true; }},
    {"version", nullptr, "show the version", "Print the validator's version, and exit.",
     [](ValidateOptions& o, const char*) { return o.version = true; }},
};
// clang-format on
const std::size_t k_validateOptionCount = sizeof k_validateOptions / sizeof k_validateOptions[0];

namespace {

const ValidateOptionRow* Find(const char* name, std::size_t length) {
    for (const ValidateOptionRow& row : k_validateOptions)
        if (std::strlen(row.name) == length && std::strncmp(row.name, name, length) == 0)
            return &row;
    return nullptr;
}

} // namespace

bool ParseValidateOptions(int argc, char** argv, ValidateOptions& options, std::string& why) {
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strncmp(argument, "--", 2) != 0 || argument[2] == '\0') {
            if (argument[0] == '-' && argument[1] != '\0' && std::strcmp(argument, "--") != 0) {
                why = std::string("unknown option ") + argument;
                return false;
            }
            if (std::strcmp(argument, "--") == 0 && i + 1 < argc)
                argument = argv[++i];
            if (!options.modulePath.empty()) {
                why = "give one module";
                return false;
            }
            options.modulePath = argument;
            continue;
        }
        const char* name = argument + 2;
        const char* equals = std::strchr(name, '=');
        const std::size_t length =
            equals != nullptr ? static_cast<std::size_t>(equals - name) : std::strlen(name);
        const ValidateOptionRow* row = Find(name, length);
        if (row == nullptr) {
            why = std::string("unknown option --") + std::string(name, length);
            return false;
        }
        const char* value = nullptr;
        if (row->valueName != nullptr) {
            value = equals != nullptr ? equals + 1 : i + 1 < argc ? argv[++i] : nullptr;
            if (value == nullptr) {
                why = std::string("--") + row->name + " needs " + row->valueName;
                return false;
            }
        } else if (equals != nullptr) {
            why = std::string("--") + row->name + " takes no value";
            return false;
        }
        if (!row->apply(options, value != nullptr ? value : "")) {
            why = std::string("--") + row->name + ": not " + row->valueName + ": " + value;
            return false;
        }
    }
    if (options.modulePath.empty() && !options.help && !options.version && !options.list) {
        why = "no module given";
        return false;
    }
    return true;
}

std::string ValidateHelp() {
    std::string text = "usage: qxzeva-validate [OPTION]... MODULE.so\n"
                       "Checks an expert module against the contracts of its interfaces, each "
                       "check\nin a process of its own.\n\nOptions:\n";
    for (const ValidateOptionRow& row : k_validateOptions) {
        std::string left = std::string("  --") + row.name;
        if (row.valueName != nullptr)
            left += std::string(" ") + row.valueName;
        text += left + std::string(left.size() < 28 ? 28 - left.size() : 1, ' ');
        for (const char* c = row.help; *c != '\0'; ++c) {
            if (*c != '\n') {
                text += *c;
                continue;
            }
            text += "\n" + std::string(28, ' ');
            while (c[1] == ' ')
                ++c;
        }
        text += "\n";
    }
    text += "\nExit status:\n";
    for (const ValidateExitMeaning& exit : k_validateExitMeanings)
        text += "  " + std::to_string(exit.code) + "  " + exit.meaning + "\n";
    return text;
}

bool FilterMatches(const std::string& filter, const std::string& name) {
    if (filter.empty())
        return true;
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t end = filter.find(',', start);
        if (end == std::string::npos)
            end = filter.size();
        const std::string pattern = filter.substr(start, end - start);
        if (!pattern.empty()) {
            const bool glob = pattern.find_first_of("*?[") != std::string::npos;
            if (glob ? fnmatch(pattern.c_str(), name.c_str(), 0) == 0
                     : name.find(pattern) != std::string::npos)
                return true;
        }
        start = end + 1;
    }
    return false;
}
