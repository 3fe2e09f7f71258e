#include "validate/shown_text.h"

// The host program's escaping itself, not a copy of it (the layer check allows this one
// include).
#include "host/terminal_text.h"

std::string Shown(const std::string& utf8) {
    return TerminalText(utf8);
}
