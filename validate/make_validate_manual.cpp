// Writes qxzeva-validate's manual page: the template with the SYNOPSIS, OPTIONS and EXIT
// STATUS made by the kit from the option and exit-status tables, and the CHECKS from the
// check table, so that the page, --help, --list and the parser tell one story.
// Usage: make_validate_manual TEMPLATE OUTPUT
#include "cli/manual_page.h"
#include "validate/check.h"
#include "validate/options.h"

#include <string>

namespace {

std::string Checks() {
    std::string text;
    for (const CheckRow& row : CheckTable())
        text += ".TP\n.B " + RoffPlain(row.name) +
                (row.level == CheckLevel::full ? std::string(" \" (full)\"") : std::string()) +
                "\n" + RoffPlain(row.contract) + ". Grade " + GradeName(row.grade) + "; " +
                RoffPlain(row.source) + ".\n";
    return text;
}

} // namespace

int main(int argc, char** argv) {
    return WriteManualPage(argc, argv, ValidateProgram(), {{"checks", Checks()}});
}
