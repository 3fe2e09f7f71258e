// Texts as the programs show them to a person: no control character is written raw (a real
// driver or a module's path may hand one over), and the columns a text takes on a terminal.
#ifndef QX_CLI_TERMINAL_TEXT_H
#define QX_CLI_TERMINAL_TEXT_H

#include <cstddef>
#include <string>

// The UTF-8 text with its control and format characters escaped: \t, \n and \r; \xHH for
// the other C0 characters and DEL; \uHHHH for the C1 characters and the format characters
// (bidirectional controls, zero-width characters, the soft hyphen; \UHHHHHHHH beyond
// U+FFFF); \xHH for a byte that is no UTF-8. A backslash is doubled, so that a text's own
// backslash is never taken for an escape.
std::string TerminalText(const std::string& utf8);

// A name as TerminalText shows it, in double quotes when it would not show where it begins
// and ends: empty, with a leading or trailing space, or holding a no-break space.
std::string TerminalName(const std::string& utf8);

// The columns the text takes on a terminal: two for a wide or full-width character (East
// Asian scripts, most emoji), none for a combining or zero-width one, one for the rest.
// The same in every locale.
std::size_t DisplayWidth(const std::string& utf8);

// The text cut to at most `columns` columns, its last one an ellipsis (U+2026) when it is
// cut; whole characters only.
std::string CutToWidth(const std::string& utf8, std::size_t columns);

// JSON text with DEL, the C1 characters and the format characters, which JSON leaves raw,
// written as \u escapes like the C0 ones; the text a reader decodes stays the same.
std::string JsonWithoutRawControls(const std::string& json);

#endif
