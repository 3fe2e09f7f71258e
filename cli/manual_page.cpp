#include "cli/manual_page.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

bool IsAlnum(char unit) {
    return std::isalnum(static_cast<unsigned char>(unit)) != 0;
}
bool IsUpper(char unit) {
    return std::isupper(static_cast<unsigned char>(unit)) != 0;
}

std::string RoffDashes(const std::string& text) {
    std::string out;
    for (const char unit : text)
        out += unit == '-' ? std::string("\\-") : std::string(1, unit);
    return out;
}

std::string Lower(const char* text) {
    std::string out(text);
    for (char& unit : out)
        unit = static_cast<char>(std::tolower(static_cast<unsigned char>(unit)));
    return out;
}

} // namespace

std::string RoffText(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const bool boundary = at == 0 || text[at - 1] == ' ' || text[at - 1] == '(';
        std::size_t end = at;
        if (boundary && text[at] == '-') {
            while (end < text.size() && (text[end] == '-' || IsAlnum(text[end])))
                ++end;
        } else if (boundary && IsUpper(text[at])) {
            while (end < text.size() && (text[end] == '_' || IsUpper(text[end])))
                ++end;
            if (text.substr(at, end - at).find('_') == std::string::npos)
                end = at;
        }
        if (end > at + 1) {
            out += "\\fB" + RoffDashes(text.substr(at, end - at)) + "\\fR";
            at = end;
        } else {
            out += text[at] == '\\' ? std::string("\\e") : std::string(1, text[at]);
            ++at;
        }
    }
    return out;
}

std::string RoffPlain(const std::string& text) {
    std::string out;
    for (const char unit : text)
        out += unit == '\\' ? std::string("\\e") : RoffDashes(std::string(1, unit));
    return out;
}

namespace {

std::string Name(const OptionRow& option) {
    return option.shortName != '\0' ? std::string("\\-") + option.shortName
                                    : "\\-\\-" + RoffDashes(option.longName);
}

} // namespace

std::string ManualSynopsis(const ProgramInterface& program) {
    const std::string name = ".B " + RoffDashes(program.name) + "\n";
    std::string usual = name;
    std::string alone;
    for (const OptionRow* option : program.options) {
        if (option->alone) {
            alone += (alone.empty() ? "" : " \" | \" ") + Name(*option);
        } else if (option->value == OptionValue::none) {
            usual += ".RB [ " + Name(*option) + " ]\n";
        } else if (option->value == OptionValue::required) {
            usual += ".RB [ " + Name(*option) + "\n.IR " + Lower(option->valueName) + " ]\n";
        } else {
            usual +=
                ".RB [ " + Name(*option) + " [ =\\c\n.IR " + Lower(option->valueName) + " ]]\n";
        }
    }
    if (program.operand != nullptr)
        usual += ".RI [ " + Lower(program.operand) + " ]\n";
    return usual + ".br\n" + name + ".BR " + alone + "\n";
}

std::string ManualOptions(const ProgramInterface& program) {
    std::string out;
    for (const OptionRow* option : program.options) {
        out += ".TP\n.BR ";
        if (option->shortName != '\0')
            out += std::string("\\-") + option->shortName + " \", \" ";
        out += "\\-\\-" + RoffDashes(option->longName);
        const std::string value =
            "=\\fI" + Lower(option->valueName == nullptr ? "" : option->valueName);
        if (option->value == OptionValue::required)
            out += " " + value + "\\fR";
        if (option->value == OptionValue::optional)
            out += " [ " + value + "\\fR ]";
        out += "\n" + RoffText(option->manual) + "\n";
    }
    return out;
}

std::string ManualExitStatus(const ProgramInterface& program) {
    std::string out;
    for (const ExitMeaning& entry : program.exits)
        out += ".TP\n.B " + std::to_string(entry.code) + "\n" + RoffText(entry.meaning) + "\n";
    return out;
}

std::string ManualPage(const ProgramInterface& program, const std::string& page,
                       const std::vector<ManualPart>& ownParts) {
    std::vector<ManualPart> parts = {{"synopsis", ManualSynopsis(program)},
                                     {"options", ManualOptions(program)},
                                     {"exit status", ManualExitStatus(program)}};
    parts.insert(parts.end(), ownParts.begin(), ownParts.end());
    std::string out = page;
    for (const auto& [name, text] : parts) {
        const std::string marker = ".\\\" generated: " + name + "\n";
        const std::size_t at = out.find(marker);
        if (at == std::string::npos)
            return "";
        out.replace(at, marker.size(), text);
    }
    return out;
}

int WriteManualPage(int argc, char** argv, const ProgramInterface& program,
                    const std::vector<ManualPart>& ownParts) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_manual TEMPLATE OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    const std::string page = ManualPage(
        program, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
        ownParts);
    if (page.empty()) {
        std::fprintf(stderr, "make_manual: %s lacks a part's place\n", argv[1]);
        return 1;
    }
    std::ofstream out(argv[2]);
    out << page;
    out.close();
    return out ? 0 : 1;
}
