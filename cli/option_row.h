// A program's command line, described once: each option's names, its value and the texts
// that explain it. The parser (command_line.h), --help and the manual page (manual_page.h)
// are all made from a program's rows, so that they cannot tell different stories; what an
// option does stays with the program, in the row type that embeds this one.
#ifndef QX_CLI_OPTION_ROW_H
#define QX_CLI_OPTION_ROW_H

#include <iterator>
#include <vector>

enum class OptionValue { none, required, optional };

// Its fields in the order an option is read, not packed: a program has a dozen rows.
struct OptionRow {  // NOLINT(clang-analyzer-optin.performance.Padding)
    char shortName; // '\0': the long name alone
    const char* longName;
    OptionValue value;
    const char* valueName; // "FILE" in --help, "file" in italics on the manual page
    const char* valueNoun; // "a file name", in messages
    bool alone;            // a request of its own (help, version): SYNOPSIS gives it a line
    const char* help;      // --help's lines, '\n' between them
    const char* manual;    // the manual page's paragraph, plain text
};

using OptionRows = std::vector<const OptionRow*>;

// The rows of a program's table, whose row type holds an OptionRow named `option`.
template <class ProgramRow, std::size_t count>
OptionRows RowsOf(const ProgramRow (&table)[count]) {
    OptionRows rows;
    for (const ProgramRow& row : table)
        rows.push_back(&row.option);
    return rows;
}

// The row of the table that holds option, one of those RowsOf gave (as the parser hands them
// back): where the program keeps what the option does.
template <class ProgramRow, std::size_t count>
const ProgramRow& ProgramRowOf(const ProgramRow (&table)[count], const OptionRow* option) {
    for (const ProgramRow& row : table)
        if (&row.option == option)
            return row;
    return table[0]; // not reached: the parser hands out the table's own rows
}

#endif
