// Writes qxzeva-validate's manual page: the template with the SYNOPSIS, OPTIONS, CHECKS and
// EXIT STATUS made from the option, check and exit-status tables, so that the page, --help,
// --list and the parser tell one story. Usage: make_validate_manual TEMPLATE OUTPUT
#include "validate/check.h"
#include "validate/options.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Roff(const std::string& text) {
    std::string out;
    for (const char unit : text)
        out += unit == '-'    ? std::string("\\-")
               : unit == '\\' ? std::string("\\e")
                              : std::string(1, unit);
    return out;
}

std::string Synopsis() {
    return ".B qxzeva\\-validate\n.RI [ option ]...\n.I module\n.br\n"
           ".B qxzeva\\-validate \\-\\-list\n.RB [ \\-\\-level\\ full ]\n.br\n"
           ".B qxzeva\\-validate \\-\\-help\n|\n.B \\-\\-version\n";
}

std::string Options() {
    std::string text;
    for (std::size_t i = 0; i < k_validateOptionCount; ++i) {
        const ValidateOptionRow& row = k_validateOptions[i];
        text += row.valueName != nullptr
                    ? ".TP\n.BI \"\\-\\-" + Roff(row.name) + " \" " + Roff(row.valueName)
                    : ".TP\n.B \\-\\-" + Roff(row.name);
        text += "\n" + Roff(row.manual) + "\n";
    }
    return text;
}

std::string Checks() {
    std::string text;
    for (const CheckRow& row : CheckTable())
        text += ".TP\n.B " + Roff(row.name) +
                (row.level == CheckLevel::full ? std::string(" \" (full)\"") : std::string()) +
                "\n" + Roff(row.contract) + ". Grade " + GradeName(row.grade) + "; " +
                Roff(row.source) + ".\n";
    return text;
}

std::string ExitStatus() {
    std::string text;
    for (const ValidateExitMeaning& exit : k_validateExitMeanings)
        text += ".TP\n.B " + std::to_string(exit.code) + "\n" + Roff(exit.meaning) + ".\n";
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_validate_manual TEMPLATE OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::pair<const char*, std::string> parts[] = {
        {".\\\" generated: synopsis\n", Synopsis()},
        {".\\\" generated: options\n", Options()},
        {".\\\" generated: checks\n", Checks()},
        {".\\\" generated: exit status\n", ExitStatus()},
    };
    for (const auto& [mark, text] : parts) {
        const std::size_t at = page.find(mark);
        if (at == std::string::npos) {
            std::fprintf(stderr, "make_validate_manual: %s lacks %s", argv[1], mark);
            return 1;
        }
        page.replace(at, std::string(mark).size(), text);
    }
    std::ofstream out(argv[2]);
    out << page;
    out.close();
    return out ? 0 : 1;
}
