#include "board_rules.h"

#include <cinttypes>
#include <cstdio>

namespace zevadriver {
namespace {

bool IsControl(unsigned char character) {
    return character < 0x20 || (character >= 0x7F && character <= 0x9F);
}

BoardRefusal Refuse(BoardRule rule, const BoardKey& key, const std::string& problem) {
    return {rule, std::string(key.key) + ": " + problem};
}

} // namespace

const BoardRuleRow& BoardRefusal::Row() const {
    for (const BoardRuleRow& row : k_boardRules)
        if (row.rule == rule)
            return row;
    return k_boardRules[0]; // every rule has its row: the tests feed each one
}

std::string QuotedText(std::string_view latin1) {
    std::string utf8;
    for (const char byte : latin1) {
        const auto character = static_cast<unsigned char>(byte);
        if (character < 0x80) {
            utf8.push_back(byte);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (character >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (character & 0x3F)));
        }
    }
    return "'" + utf8 + "'";
}

std::optional<BoardRefusal> CheckInteger(const BoardKey& key, std::int64_t value) {
    if (value >= 0 && value <= static_cast<std::int64_t>(key.limit))
        return std::nullopt;
    return Refuse(BoardRule::OutOfRange, key,
                  "value " + std::to_string(value) + " is out of range 0.." +
                      std::to_string(key.limit));
}

std::optional<BoardRefusal> CheckText(const BoardKey& key, std::string_view text) {
    if (text.empty())
        return Refuse(BoardRule::MissingText, key, "the text is empty");
    if (text.size() > key.limit)
        return Refuse(BoardRule::TooLong, key,
                      "the text has " + std::to_string(text.size()) +
                          " bytes; the driver's buffer holds " + std::to_string(key.limit));
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto character = static_cast<unsigned char>(text[at]);
        if (IsControl(character)) {
            char codePoint[8];
            std::snprintf(codePoint, sizeof codePoint, "U+%04X", character);
            BoardRefusal refusal =
                Refuse(BoardRule::ControlCharacter, key,
                       std::string("the text holds the control character ") + codePoint +
                           "; texts may not hold control characters");
            refusal.character = at;
            return refusal;
        }
    }
    if (key.kind != FieldKind::FILE)
        return std::nullopt;
    const std::string written = "interface file " + QuotedText(text);
    const std::string_view extension = k_interfaceExtension;
    if (text == extension)
        return Refuse(BoardRule::BadFileName, key, written + " has an empty name before .zid");
    if (text.size() < extension.size() ||
        text.compare(text.size() - extension.size(), extension.size(), extension) != 0)
        return Refuse(BoardRule::BadFileName, key, written + " needs a name ending in .zid");
    if (text.find('/') != std::string_view::npos)
        return Refuse(BoardRule::BadFileName, key, written + " is a path, not a file name");
    return std::nullopt;
}

BoardRefusal DuplicateSerial(std::uint32_t serialNumber) {
    char serial[48];
    std::snprintf(serial, sizeof serial, "serial number %08" PRIX32 " is already used",
                  serialNumber);
    return {BoardRule::DuplicateSerial, serial};
}

BoardRefusal DuplicateFile(std::string_view fileName) {
    return {BoardRule::DuplicateFile,
            "interface file " + QuotedText(fileName) + " is already used"};
}

BoardRefusal DuplicateLocation(const Board& board) {
    char location[48];
    std::snprintf(location, sizeof location,
                  "PCI location %02" PRIX32 ":%02" PRIX32 ".%" PRIX32 " is already used",
                  board.pciBus, board.pciDevice, board.pciFunction);
    return {BoardRule::DuplicateLocation, location};
}

} // namespace zevadriver
