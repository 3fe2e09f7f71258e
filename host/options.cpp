#include "host/options.h"

#include "host/exit_codes.h"
#include "host/option_table.h"

#include <cstdio>
#include <cstring>
#include <getopt.h>
#include <vector>

namespace {

constexpr std::size_t k_optionCount = sizeof k_hostOptions / sizeof k_hostOptions[0];
// getopt_long's code for an option: its short name, or this plus its row.
constexpr int k_longOnlyCode = 256;

std::string Dashed(const HostOptionSpec& spec) {
    return std::string("--") + spec.longName;
}

const HostOptionSpec* SpecOfCode(int code) {
    for (std::size_t row = 0; row < k_optionCount; ++row) {
        const HostOptionSpec& spec = k_hostOptions[row];
        if (code == (spec.shortName != '\0' ? spec.shortName : k_longOnlyCode + int(row)))
            return &spec;
    }
    return nullptr;
}

// An option's value may not be empty: "--item=" or "--boards ''" is a slip, not a request
// for the default; nor may it be given twice, which would leave one of the two unheeded.
bool Take(const HostOptionSpec& spec, bool repeated, HostOptions* options, std::string* error) {
    if (repeated && spec.value != OptionValue::none) {
        *error = "option " + Dashed(spec) + " given twice";
        return false;
    }
    if (spec.flag != nullptr)
        options->*spec.flag = true;
    if (spec.text == nullptr || (spec.value == OptionValue::optional && optarg == nullptr))
        return true;
    if (optarg == nullptr || *optarg == '\0') {
        *error = spec.value == OptionValue::optional
                     ? "option " + Dashed(spec) + "= needs " + spec.valueNoun + " (" +
                           Dashed(spec) + " alone takes none)"
                     : "option " + Dashed(spec) + " needs a non-empty value";
        return false;
    }
    std::string why;
    if (spec.check != nullptr && !spec.check(optarg, &why)) {
        *error = "option " + Dashed(spec) + ": " + why;
        return false;
    }
    options->*spec.text = optarg;
    return true;
}

// "--trace /tmp/x": the value of an option whose value is optional must follow an '='.
std::string UnexpectedArgument(char** argv, int at) {
    std::string text = std::string("unexpected argument ") + argv[at];
    for (const HostOptionSpec& spec : k_hostOptions)
        if (spec.value == OptionValue::optional && at > 1 && Dashed(spec) == argv[at - 1])
            text += " (" + std::string(spec.valueNoun) + " for " + Dashed(spec) +
                    " follows an '=' sign: " + Dashed(spec) + "=" + argv[at] + ")";
    return text;
}

} // namespace

bool ParseHostOptions(int argc, char** argv, HostOptions* options, std::string* error) {
    // '+': stop at the first argument that is no option, so that it keeps its place after
    // the option it may belong to; ':': report a missing value as such.
    std::string shortNames = "+:";
    std::vector<option> longNames;
    for (std::size_t row = 0; row < k_optionCount; ++row) {
        const HostOptionSpec& spec = k_hostOptions[row];
        const int kind = spec.value == OptionValue::none       ? no_argument
                         : spec.value == OptionValue::required ? required_argument
                                                               : optional_argument;
        const int code = spec.shortName != '\0' ? spec.shortName : k_longOnlyCode + int(row);
        longNames.push_back({spec.longName, kind, nullptr, code});
        if (spec.shortName != '\0')
            shortNames += std::string(1, spec.shortName) + (kind == required_argument ? ":" : "");
    }
    longNames.push_back({nullptr, 0, nullptr, 0});
    std::vector<bool> given(k_optionCount, false);
    opterr = 0;
    optind = 1;
    for (;;) {
        // NOLINTNEXTLINE(concurrency-mt-unsafe): the arguments are read before any task starts
        const int code = getopt_long(argc, argv, shortNames.c_str(), longNames.data(), nullptr);
        if (code == -1)
            break;
        if (code == ':') {
            *error = std::string("option ") + argv[optind - 1] + " needs a value";
            return false;
        }
        const HostOptionSpec* spec = SpecOfCode(code);
        if (spec == nullptr) {
            *error = std::string("unknown option ") + argv[optind - 1];
            return false;
        }
        const auto row = static_cast<std::size_t>(spec - k_hostOptions);
        if (!Take(*spec, given[row], options, error))
            return false;
        given[row] = true;
    }
    if (optind < argc) {
        *error = UnexpectedArgument(argv, optind);
        return false;
    }
    if (options->namesOnly && !options->item.empty()) {
        *error = "--names-only and --item exclude each other";
        return false;
    }
    if (options->namesOnly && options->verbose) {
        *error = "--names-only and --verbose exclude each other";
        return false;
    }
    return true;
}

std::string HostUsage(const char* program) {
    // The name alone, as a person types it, not the build folder it was started from.
    const char* slash = std::strrchr(program, '/');
    std::string text = std::string("Usage: ") + (slash != nullptr ? slash + 1 : program) +
                       " [options]\n"
                       "Loads the expert module as the host framework does and lists the\n"
                       "image-acquisition boards it reports, one line each.\n"
                       "\n";
    constexpr std::size_t k_helpColumn = 22;
    for (const HostOptionSpec& spec : k_hostOptions) {
        std::string left = spec.shortName != '\0' ? std::string("  -") + spec.shortName + ", "
                                                  : std::string(6, ' ');
        left += Dashed(spec);
        if (spec.value == OptionValue::required)
            left += std::string(" ") + spec.valueName;
        if (spec.value == OptionValue::optional)
            left += std::string("[=") + spec.valueName + "]";
        // A long left column has its text start on the next line.
        left += left.size() + 2 <= k_helpColumn ? std::string(k_helpColumn - left.size(), ' ')
                                                : "\n" + std::string(k_helpColumn, ' ');
        text += left;
        for (const char* line = spec.help; *line != '\0';) {
            const char* end = std::strchr(line, '\n');
            const std::size_t length = end != nullptr ? std::size_t(end - line) : std::strlen(line);
            text.append(line, length) += '\n';
            line += length;
            if (*line == '\n' && *++line != '\0')
                text += std::string(k_helpColumn, ' ');
        }
    }
    text += "\nExit status:\n";
    for (const HostExitMeaning& entry : k_hostExitMeanings) {
        char line[128];
        std::snprintf(line, sizeof line, "  %d  %s\n", static_cast<int>(entry.code), entry.meaning);
        text += line;
    }
    return text;
}
