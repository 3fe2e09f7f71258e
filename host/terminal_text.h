// Texts as the host program shows them to a person: no control character is written raw
// (a real driver may hand one over), and the columns a text takes on a terminal.
#ifndef QX_HOST_TERMINAL_TEXT_H
#define QX_HOST_TERMINAL_TEXT_H

#include "host/report.h"

#include <cstddef>
#include <string>

// The UTF-8 text with its control characters escaped: \t, \n and \r; \xHH for the other C0
// characters and DEL; \uHHHH for the C1 characters; \xHH for a byte that is no UTF-8. A
// backslash stays as it is.
std::string TerminalText(const std::string& utf8);

// The columns the text takes on a terminal: two for a wide or full-width character (East
// Asian scripts, most emoji), none for a combining or zero-width one, one for the rest.
// The same in every locale.
std::size_t DisplayWidth(const std::string& utf8);

// The report with every text it shows passed through TerminalText.
HostReport TerminalReport(HostReport report);

// JSON text with DEL and the C1 characters, which JSON leaves raw, written as \u escapes
// like the C0 ones.
std::string JsonWithoutRawControls(const std::string& json);

#endif
