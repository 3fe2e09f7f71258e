#include "cli/command_line.h"

#include <cstring>

namespace {

constexpr std::size_t k_helpColumn = 22;

bool StartsWith(const std::string& text, const char* start) {
    return text.compare(0, std::strlen(start), start) == 0;
}

class Parser {
public:
    Parser(int argc, char** argv, const ProgramInterface& program, CommandLine* line)
        : m_argc(argc), m_argv(argv), m_program(program), m_line(line),
          m_given(program.options.size(), false) {}

    bool Run(std::string* error) {
        bool optionsEnd = false;
        for (m_at = 1; m_at < m_argc; ++m_at) {
            const std::string argument = m_argv[m_at];
            if (optionsEnd || argument == "-" || argument[0] != '-') {
                if (!Operand(argument, error))
                    return false;
            } else if (argument == "--") {
                optionsEnd = true;
            } else if (StartsWith(argument, "--")) {
                if (!Long(argument, error))
                    return false;
            } else if (!Shorts(argument, error)) {
                return false;
            }
        }
        return true;
    }

private:
    bool Operand(const std::string& argument, std::string* error) {
        if (m_program.operand != nullptr && m_line->operand.empty() && !argument.empty()) {
            m_line->operand = argument;
            return true;
        }
        *error = "unexpected argument " + argument;
        // "--trace /tmp/x": the value of an option whose value is optional follows an '='.
        for (const OptionRow* option : m_program.options)
            if (option->value == OptionValue::optional && m_at > 1 &&
                Dashed(*option) == m_argv[m_at - 1])
                *error += " (" + std::string(option->valueNoun) + " for " + Dashed(*option) +
                          " follows an '=' sign: " + Dashed(*option) + "=" + argument + ")";
        return false;
    }

    bool Long(const std::string& argument, std::string* error) {
        const std::size_t equals = argument.find('=');
        const std::string name =
            argument.substr(2, equals == std::string::npos ? equals : equals - 2);
        std::vector<std::size_t> matches;
        for (std::size_t row = 0; row < m_program.options.size(); ++row) {
            const char* longName = m_program.options[row]->longName;
            if (name == longName) {
                matches = {row};
                break;
            }
            if (!name.empty() && StartsWith(longName, name.c_str()))
                matches.push_back(row);
        }
        if (matches.size() != 1) {
            *error = (matches.empty() ? "unknown option --" : "ambiguous option --") + name;
            return false;
        }
        const OptionRow& option = *m_program.options[matches.front()];
        if (equals != std::string::npos && option.value == OptionValue::none) {
            *error = "option " + Dashed(option) + " takes no value";
            return false;
        }
        if (equals != std::string::npos)
            return Take(matches.front(), true, argument.substr(equals + 1), error);
        if (option.value != OptionValue::required)
            return Take(matches.front(), false, "", error);
        if (m_at + 1 >= m_argc) {
            *error = "option " + argument + " needs a value";
            return false;
        }
        return Take(matches.front(), true, m_argv[++m_at], error);
    }

    // "-vn", "-iNAME", "-i NAME".
    bool Shorts(const std::string& argument, std::string* error) {
        for (std::size_t at = 1; at < argument.size(); ++at) {
            std::size_t row = 0;
            while (row < m_program.options.size() &&
                   m_program.options[row]->shortName != argument[at])
                ++row;
            if (row == m_program.options.size()) {
                *error = std::string("unknown option -") + argument[at];
                return false;
            }
            if (m_program.options[row]->value != OptionValue::required) {
                if (!Take(row, false, "", error))
                    return false;
                continue;
            }
            if (at + 1 < argument.size())
                return Take(row, true, argument.substr(at + 1), error);
            if (m_at + 1 >= m_argc) {
                *error = std::string("option -") + argument[at] + " needs a value";
                return false;
            }
            return Take(row, true, m_argv[++m_at], error);
        }
        return true;
    }

    // "--item=" or "--boards ''" is a slip, not a request for the default.
    bool Take(std::size_t row, bool hasValue, const std::string& value, std::string* error) {
        const OptionRow& option = *m_program.options[row];
        if (m_given[row] && option.value != OptionValue::none) {
            *error = "option " + Dashed(option) + " given twice";
            return false;
        }
        if (hasValue && value.empty()) {
            *error = option.value == OptionValue::optional
                         ? "option " + Dashed(option) + "= needs " + option.valueNoun + " (" +
                               Dashed(option) + " alone takes none)"
                         : "option " + Dashed(option) + " needs a non-empty value";
            return false;
        }
        m_given[row] = true;
        m_line->options.push_back({&option, hasValue, value});
        return true;
    }

    int m_argc;
    char** m_argv;
    const ProgramInterface& m_program;
    CommandLine* m_line;
    std::vector<bool> m_given;
    int m_at = 1;
};

// "  -i, --item NAME" padded to the help column, or on a line of its own when longer.
std::string LeftColumn(const OptionRow& option) {
    std::string left = option.shortName != '\0' ? std::string("  -") + option.shortName + ", "
                                                : std::string(6, ' ');
    left += Dashed(option);
    if (option.value == OptionValue::required)
        left += std::string(" ") + option.valueName;
    if (option.value == OptionValue::optional)
        left += std::string("[=") + option.valueName + "]";
    return left + (left.size() + 2 <= k_helpColumn ? std::string(k_helpColumn - left.size(), ' ')
                                                   : "\n" + std::string(k_helpColumn, ' '));
}

} // namespace

bool ParseCommandLine(int argc, char** argv, const ProgramInterface& program, CommandLine* line,
                      std::string* error) {
    return Parser(argc, argv, program, line).Run(error);
}

std::string Dashed(const OptionRow& option) {
    return std::string("--") + option.longName;
}

std::string HelpText(const ProgramInterface& program) {
    std::string text =
        std::string("Usage: ") + program.name + " [options]" +
        (program.operand != nullptr ? std::string(" [") + program.operand + "]" : std::string()) +
        "\n" + program.summary + "\n";
    for (const OptionRow* option : program.options) {
        text += LeftColumn(*option);
        for (const char* line = option->help; *line != '\0';) {
            const char* end = std::strchr(line, '\n');
            const std::size_t length = end != nullptr ? std::size_t(end - line) : std::strlen(line);
            text.append(line, length) += '\n';
            line += length;
            if (*line == '\n' && *++line != '\0')
                text += std::string(k_helpColumn, ' ');
        }
    }
    text += "\nExit status:\n";
    for (const ExitMeaning& entry : program.exits)
        text += "  " + std::to_string(entry.code) + "  " + entry.meaning + "\n";
    return text;
}

std::string WithHelpHint(const std::string& reason) {
    return reason + " (try --help)";
}
