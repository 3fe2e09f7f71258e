// Reading a board description: a TOML file that replaces the simulated driver's built-in
// boards. A top-level driver_version, then one [[board]] table per board with the keys of
// ZEVADRIVER_BOARD_FIELDS (zevadriver_control.h); qxzeva-boards(5) describes them.
#ifndef ZEVADRIVER_BOARD_DESCRIPTION_H
#define ZEVADRIVER_BOARD_DESCRIPTION_H

#include "board.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace zevadriver {

// what() is "file:line:column: problem", or "file: problem" when the file cannot be read.
class DescriptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

BoardSet ReadBoardDescription(const std::string& path);
// The same from a text in memory; `name` stands for the file's name in messages.
BoardSet ReadBoardText(std::string_view text, const std::string& name);

} // namespace zevadriver

#endif
