#include "validate/shown_text.h"

#include "cli/terminal_text.h"

std::string Shown(const std::string& utf8) {
    return TerminalText(utf8);
}
