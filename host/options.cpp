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

std::string Dashed(const HostOptionRow& option) {
    return std::string("--") + option.longName;
}

const HostOptionRow* SpecOfCode(int code) {
    for (std::size_t row = 0; row < k_optionCount; ++row) {
        const HostOptionRow& option = k_hostOptions[row];
        if (code == (option.shortName != '\0' ? option.shortName : k_longOnlyCode + int(row)))
            return &option;
    }
    return nullptr;
}

// An option's value may not be empty: "--item=" or "--boards ''" is a slip, not a request
// for the default; nor may it be given twice, which would leave one of the two unheeded.
bool Take(const HostOptionRow& option, bool repeated, HostOptions* options, std::string* error) {
    if (repeated && option.value != OptionValue::none) {
        *error = "option " + Dashed(option) + " given twice";
        return false;
    }
    if (option.flag != nullptr)
        options->*option.flag = true;
    if (option.text == nullptr || (option.value == OptionValue::optional && optarg == nullptr))
        return true;
    if (optarg == nullptr || *optarg == '\0') {
        *error = option.value == OptionValue::optional
                     ? "option " + Dashed(option) + "= needs " + option.valueNoun + " (" +
                           Dashed(option) + " alone takes none)"
                     : "option " + Dashed(option) + " needs a non-empty value";
        return false;
    }
    std::string why;
    if (option.check != nullptr && !option.check(optarg, &why)) {
        *error = "option " + Dashed(option) + ": " + why;
        return false;
    }
    options->*option.text = optarg;
    return true;
}

// "--trace /tmp/x": the value of an option whose value is optional must follow an '='.
std::string UnexpectedArgument(char** argv, int at) {
    std::string text = std::string("unexpected argument ") + argv[at];
    for (const HostOptionRow& option : k_hostOptions)
        if (option.value == OptionValue::optional && at > 1 && Dashed(option) == argv[at - 1])
            text += " (" + std::string(option.valueNoun) + " for " + Dashed(option) +
                    " follows an '=' sign: " + Dashed(option) + "=" + argv[at] + ")";
    return text;
}

// "--json=1": an option that takes no value was given one, which getopt reports as unknown.
std::string UnknownOption(const std::string& argument) {
    const std::size_t equals = argument.find('=');
    if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos)
        for (const HostOptionRow& option : k_hostOptions)
            if (option.value == OptionValue::none && argument.substr(0, equals) == Dashed(option))
                return "option " + Dashed(option) + " takes no value";
    return "unknown option " + argument;
}

} // namespace

bool ParseHostOptions(int argc, char** argv, HostOptions* options, std::string* error) {
    // '+': stop at the first argument that is no option, so that it keeps its place after
    // the option it may belong to; ':': report a missing value as such.
    std::string shortNames = "+:";
    std::vector<option> longNames;
    for (std::size_t row = 0; row < k_optionCount; ++row) {
        const HostOptionRow& option = k_hostOptions[row];
        const int kind = option.value == OptionValue::none       ? no_argument
                         : option.value == OptionValue::required ? required_argument
                                                                 : optional_argument;
        const int code = option.shortName != '\0' ? option.shortName : k_longOnlyCode + int(row);
        longNames.push_back({option.longName, kind, nullptr, code});
        if (option.shortName != '\0')
            shortNames += std::string(1, option.shortName) + (kind == required_argument ? ":" : "");
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
        const HostOptionRow* option = SpecOfCode(code);
        if (option == nullptr) {
            *error = UnknownOption(argv[optind - 1]);
            return false;
        }
        const auto row = static_cast<std::size_t>(option - k_hostOptions);
        if (!Take(*option, given[row], options, error))
            return false;
        given[row] = true;
    }
    if (optind < argc) {
        *error = UnexpectedArgument(argv, optind);
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
    for (const HostOptionRow& option : k_hostOptions) {
        std::string left = option.shortName != '\0' ? std::string("  -") + option.shortName + ", "
                                                    : std::string(6, ' ');
        left += Dashed(option);
        if (option.value == OptionValue::required)
            left += std::string(" ") + option.valueName;
        if (option.value == OptionValue::optional)
            left += std::string("[=") + option.valueName + "]";
        // A long left column has its text start on the next line.
        left += left.size() + 2 <= k_helpColumn ? std::string(k_helpColumn - left.size(), ' ')
                                                : "\n" + std::string(k_helpColumn, ' ');
        text += left;
        for (const char* line = option.help; *line != '\0';) {
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
