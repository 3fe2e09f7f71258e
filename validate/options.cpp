#include "validate/options.h"

#include "cli/module_choice.h"

#include <fnmatch.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>

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

const ValidateOptionRow k_validateOptions[] = {
    {{'\0', "factory", OptionValue::required, "NAME", "a name", false,
      "the factory's export (default\n"
      "createZEVASysapiExpert)",
      "The name of the module's factory export. The default is the expert's, "
      "createZEVASysapiExpert."},
     [](ValidateOptions& o, const char* v) {
         o.factory = v;
         return *v != '\0';
     }},
    {{'\0', "version-function", OptionValue::required, "NAME", "a name", false,
      "the version record's export (default\n"
      "nQXVersion_QXZEVA_SYSAPI_EXPERT_\ngetVersionStringArray)",
      "The name of the export that hands out the module's version record. The default is the "
      "expert's, nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray."},
     [](ValidateOptions& o, const char* v) {
         o.versionFunction = v;
         return *v != '\0';
     }},
    {{'m', "module", OptionValue::required, "PATH", "a path", false,
      "the module to check, as the argument names it\n"
      "(default: $QXZEVA_MODULE, else the one beside this\n"
      "program, else the installed one)",
      "Check this module, as the argument does; give one or the other. Without either: the one "
      "QXZEVA_MODULE names, else qxzevaSysapiExpert.so beside the program, else the installed "
      "one (see FILES). A bare file name that exists in the working folder is that file, as "
      "./NAME, rather than one the loader would look for on its library path."},
     [](ValidateOptions& o, const char* v) {
         o.modulePath = v;
         return true;
     }},
    {{'b', "boards", OptionValue::required, "FILE", "a file name", false,
      "the simulated driver's board set (qxzeva-boards(5));\n"
      "default: the environment's ZEVADRIVER_BOARDS, else\nthe validator's own set",
      "The board description (qxzeva-boards(5)) the simulated image driver reads in every check's "
      "process. Without it the environment's ZEVADRIVER_BOARDS is used, and without that the "
      "validator's own set, written to a temporary file: boards covering every field's shapes "
      "(Latin-1 texts at their length limits, two interfaces of one board, boards without an "
      "interface file, and a board whose claim is refused, which ends discovery). A real driver "
      "ignores it. The report names the set used."},
     [](ValidateOptions& o, const char* v) {
         o.boards = v;
         return *v != '\0';
     }},
    {{'\0', "list", OptionValue::none, nullptr, nullptr, false,
      "list the checks with what each proves, and run none",
      "List the checks of the level chosen (and those --filter selects), one a line with the "
      "contract each proves, and run none."},
     [](ValidateOptions& o, const char*) { return o.list = true; }},
    {{'\0', "filter", OptionValue::required, "PATTERN", "a pattern", false,
      "run only the checks whose names match (shell\n"
      "patterns, comma-separated; a plain word matches the\nnames that contain it)",
      "Run only the checks whose names match: shell patterns, separated by commas; a pattern "
      "without *, ? or [ matches every name that contains it (--filter bag. runs the property "
      "bag's checks)."},
     [](ValidateOptions& o, const char* v) {
         o.filter = v;
         return true;
     }},
    {{'\0', "level", OptionValue::required, "quick|full", "quick or full", false,
      "quick (the default) or full: full adds the\n"
      "allocation-failure, thread and load-cycle checks",
      "quick, the default, runs the checks of the contracts one call at a time; full adds the "
      "allocation-failure sweeps, the thread checks and the load cycles."},
     [](ValidateOptions& o, const char* v) {
         o.full = std::strcmp(v, "full") == 0;
         return o.full || std::strcmp(v, "quick") == 0;
     }},
    {{'\0', "strict", OptionValue::none, nullptr, nullptr, false,
      "hold this project's stricter choices as rules: a\n"
      "breach fails instead of warning; also make the calls\nthe contract leaves undefined",
      "Hold the rules graded choice (where the contract leaves the behaviour open or writes it "
      "otherwise, and this project chose a stricter, sound one) as rules: a breach fails the "
      "check instead of warning. Also make the calls the contract leaves undefined, such as a "
      "null out-pointer to the bag's value getters, which may crash a module that keeps to the "
      "contract."},
     [](ValidateOptions& o, const char*) { return o.strict = true; }},
    {{'\0', "in-process", OptionValue::none, nullptr, nullptr, false,
      "run the checks in this process, without time limits\n"
      "(for a debugger; a crash ends the run)",
      "Run the checks one after another in the validator's own process, without child processes "
      "or time limits, as a debugger wants them. A crash then ends the whole run."},
     [](ValidateOptions& o, const char*) { return o.inProcess = true; }},
    {{'\0', "only-failed", OptionValue::none, nullptr, nullptr, false,
      "report only the checks that did not pass",
      "Report only the checks that failed, crashed or timed out; the summary still counts all."},
     [](ValidateOptions& o, const char*) { return o.onlyFailed = true; }},
    {{'j', "json", OptionValue::none, nullptr, nullptr, false, "write the report as JSON",
      "Write the report as one JSON document, as the schema under FILES describes."},
     [](ValidateOptions& o, const char*) { return o.json = true; }},
    {{'\0', "repeat", OptionValue::required, "N", "a number", false,
      "run each check N times (1 to 1000); it passes only\nif every run does",
      "Run each check N times, each run in a process of its own; a check passes only when every "
      "run does. With --seed, for the checks whose order or timing varies."},
     [](ValidateOptions& o, const char* v) {
         unsigned long n = 0;
         const bool ok = Unsigned(v, 1000, n) && n > 0;
         o.repeat = static_cast<unsigned>(n);
         return ok;
     }},
    {{'\0', "seed", OptionValue::required, "N", "a number", false,
      "seed of the varied orders and timings (default:\n"
      "from the clock; the report gives it)",
      "The seed from which the checks that vary the order of calls, the sizes of enumerator "
      "steps and the threads' timing draw their choices. Without it the seed comes from the "
      "clock; the report gives the seed used, so that a run can be repeated exactly."},
     [](ValidateOptions& o, const char* v) {
         unsigned long n = 0;
         o.seedGiven = Unsigned(v, 0xFFFFFFFFul, n);
         o.seed = static_cast<std::uint32_t>(n);
         return o.seedGiven;
     }},
    {{'\0', "timeout", OptionValue::required, "SECONDS", "a number of seconds", false,
      "time limit of a quick check (default 20; the full\n"
      "checks get a multiple of it)",
      "The time limit of each quick check, in whole seconds (default 20); the full checks get a "
      "multiple of it. A check that takes longer is stopped and reported as timed out, naming the "
      "operation it was in."},
     [](ValidateOptions& o, const char* v) {
         unsigned long n = 0;
         const bool ok = Unsigned(v, 86400, n) && n > 0;
         o.timeout = static_cast<double>(n);
         return ok;
     }},
    {{'h', "help", OptionValue::none, nullptr, nullptr, true, "show this help",
      "Print the usage and the options, and exit."},
     [](ValidateOptions& o, const char*) { return o.help = true; }},
    {{'V', "version", OptionValue::none, nullptr, nullptr, true, "show the version",
      "Print the validator's version, and exit."},
     [](ValidateOptions& o, const char*) { return o.version = true; }},
};

const ProgramInterface& ValidateProgram() {
    static const ProgramInterface k_program = {
        "qxzeva-validate",
        "MODULE",
        "Checks an expert module against the contracts of its interfaces, each check\n"
        "in a process of its own.\n",
        RowsOf(k_validateOptions),
        {std::begin(k_validateExitMeanings), std::end(k_validateExitMeanings)}};
    return k_program;
}

bool ParseValidateOptions(int argc, char** argv, ValidateOptions& options, std::string& why) {
    CommandLine line;
    if (!ParseCommandLine(argc, argv, ValidateProgram(), &line, &why))
        return false;
    for (const GivenOption& given : line.options) {
        if (!ProgramRowOf(k_validateOptions, given.row).apply(options, given.value.c_str())) {
            why = "option " + Dashed(*given.row) + ": not " + given.row->valueName + ": " +
                  given.value;
            return false;
        }
    }
    if (!line.operand.empty() && !options.modulePath.empty()) {
        why = "give one module: --module " + options.modulePath + " or " + line.operand;
        return false;
    }
    options.modulePath =
        ChooseModule(line.operand.empty() ? options.modulePath : line.operand, "given").path;
    return true;
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
