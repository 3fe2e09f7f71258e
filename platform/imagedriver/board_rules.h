// The rules a board meets to enter the driver, whichever way it comes: a board description
// (board_description.cpp) or the control interface (zevadriverAddBoard,
// zevadriverSetActiveFile). Each rule is a row with its status; the reasons are worded here
// once, so that both ways refuse the same board with the same words. A description adds
// where ("file:line:column: "), and for a value used twice where it was first used.
#ifndef ZEVADRIVER_BOARD_RULES_H
#define ZEVADRIVER_BOARD_RULES_H

#include "board.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zevadriver {

enum class BoardRule {
    OutOfRange,
    MissingText,
    TooLong,
    ControlCharacter,
    BadFileName,
    DuplicateSerial,
    DuplicateFile,
    DuplicateLocation,
};

// valueRule: a rule on what a board says rather than on what the driver can hold, which
// zevadriverAddBoardUnchecked skips. The others keep the driver's own state sound: its
// buffers, its look-up by serial number, each file belonging to one board.
struct BoardRuleRow {
    BoardRule rule;
    std::int32_t status;
    bool valueRule;
};
inline constexpr BoardRuleRow k_boardRules[] = {
    {BoardRule::OutOfRange, ZEVADRIVER_ERROR_OUT_OF_RANGE, true},
    {BoardRule::MissingText, ZEVADRIVER_ERROR_MISSING_TEXT, true},
    {BoardRule::TooLong, ZEVADRIVER_ERROR_NAME_TOO_LONG, false},
    {BoardRule::ControlCharacter, ZEVADRIVER_ERROR_CONTROL_CHARACTER, true},
    {BoardRule::BadFileName, ZEVADRIVER_ERROR_BAD_FILE_NAME, true},
    {BoardRule::DuplicateSerial, ZEVADRIVER_ERROR_DUPLICATE_SERIAL, false},
    {BoardRule::DuplicateFile, ZEVADRIVER_ERROR_FILE_EXISTS, false},
    {BoardRule::DuplicateLocation, ZEVADRIVER_ERROR_DUPLICATE_LOCATION, true},
};

struct BoardRefusal {
    BoardRule rule;
    std::string reason;
    std::size_t character = 0; // ControlCharacter: its place in the text, counted from 0

    const BoardRuleRow& Row() const;
};

// An integer field's value against its range.
std::optional<BoardRefusal> CheckInteger(const BoardKey& key, std::int64_t value);
// A text or file field's value as the driver keeps it (ISO 8859-1, one byte a character),
// in this order: empty, longer than the driver's buffer, a control character, and for a
// file not a plain name ending in .zid.
std::optional<BoardRefusal> CheckText(const BoardKey& key, std::string_view text);

BoardRefusal DuplicateSerial(std::uint32_t serialNumber);
BoardRefusal DuplicateFile(std::string_view fileName);
BoardRefusal DuplicateLocation(const Board& board);
// A text the driver keeps, in UTF-8, to quote it in a reason.
std::string QuotedText(std::string_view latin1);

} // namespace zevadriver

#endif
