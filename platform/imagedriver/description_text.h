// The texts of a board description as the driver keeps them, and the TOML reader's complaints
// in the description's own words.
#ifndef ZEVADRIVER_DESCRIPTION_TEXT_H
#define ZEVADRIVER_DESCRIPTION_TEXT_H

#include <string>
#include <string_view>

namespace zevadriver {

// The driver hands its texts on as 8-bit text that the module widens byte by byte, that is
// as ISO 8859-1. Turns the file's UTF-8 into those bytes; on a character outside ISO 8859-1
// returns false with `problem` saying which, and, with
// `where`, the character's place in the text, counted in characters from 0. A combining mark
// that makes a letter of ISO 8859-1 with the one before it gets a hint to write that letter.
// Control characters pass: the rules every board meets refuse them (board_rules.h).
bool ToDriverText(std::string_view utf8, std::string* text, std::string* problem,
                  std::size_t* where = nullptr);

// "Error while parsing table header: expected ']', saw '\n'" becomes "the table header is not
// valid TOML: expected ']' but found the end of the line".
std::string ParseProblem(std::string_view description);

} // namespace zevadriver

#endif
