// What the simulated driver knows about the boards it serves.
#ifndef ZEVADRIVER_BOARD_H
#define ZEVADRIVER_BOARD_H

#include "zevadriver_control.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zevadriver {

// The driver cannot tell a 256-byte file-name buffer from a 512-byte one, so it writes file
// names into the smaller size; board names go into 50 bytes.
constexpr std::size_t k_fileNameBuffer = ZEVADRIVER_MAX_FILE_NAME + 1;
constexpr std::size_t k_boardNameBuffer = ZEVADRIVER_MAX_BOARD_NAME + 1;
constexpr char k_interfaceExtension[] = ".zid";

// The C++ member type of each kind of field in ZEVADRIVER_BOARD_FIELDS.
enum class FieldKind { INTEGER, TEXT, FILE, FLAG };
template <FieldKind>
struct FieldType;
template <>
struct FieldType<FieldKind::INTEGER> {
    using type = std::uint32_t;
};
template <>
struct FieldType<FieldKind::TEXT> {
    using type = std::string;
};
template <>
struct FieldType<FieldKind::FILE> {
    using type = std::string;
};
template <>
struct FieldType<FieldKind::FLAG> {
    using type = bool;
};

// The record of zevadriver_control.h with texts of its own, and the claim status a test
// scripts: when non-zero, every claim fails with it, whatever claimFails says.
struct Board {
#define ZEVADRIVER_BOARD_MEMBER(member, key, kind, limit, required, meaning)                       \
    FieldType<FieldKind::kind>::type member{};
    ZEVADRIVER_BOARD_FIELDS(ZEVADRIVER_BOARD_MEMBER)
#undef ZEVADRIVER_BOARD_MEMBER
    std::int32_t claimStatus = 0;

    // The status every claim for the board fails with, or 0.
    std::int32_t ClaimRefusal() const {
        return claimStatus != 0 ? claimStatus : claimFails ? ZEVADRIVER_ERROR_CLAIM_REFUSED : 0;
    }
};

// One key of a board description: the field it fills, with its checks.
struct BoardKey {
    const char* key;
    FieldKind kind;
    std::uint32_t limit; // INTEGER: the largest value; TEXT and FILE: the most bytes
    bool required;
    const char* meaning;
    std::uint32_t Board::*integer;
    std::string Board::*text;
    bool Board::*flag;
};

constexpr BoardKey MakeBoardKey(const char* key, FieldKind kind, std::uint32_t limit, bool required,
                                const char* meaning, std::uint32_t Board::*integer) {
    return {key, kind, limit, required, meaning, integer, nullptr, nullptr};
}
constexpr BoardKey MakeBoardKey(const char* key, FieldKind kind, std::uint32_t limit, bool required,
                                const char* meaning, std::string Board::*text) {
    return {key, kind, limit, required, meaning, nullptr, text, nullptr};
}
constexpr BoardKey MakeBoardKey(const char* key, FieldKind kind, std::uint32_t limit, bool required,
                                const char* meaning, bool Board::*flag) {
    return {key, kind, limit, required, meaning, nullptr, nullptr, flag};
}

#define ZEVADRIVER_BOARD_KEY(member, key, kind, limit, required, meaning)                          \
    MakeBoardKey(key, FieldKind::kind, limit, (required) != 0, meaning, &Board::member),
inline constexpr BoardKey k_boardKeys[] = {ZEVADRIVER_BOARD_FIELDS(ZEVADRIVER_BOARD_KEY)};
#undef ZEVADRIVER_BOARD_KEY

struct BoardSet {
    std::uint32_t driverVersion = 0;
    std::vector<Board> boards;
};

// A few boards of invented, plausible values, so a fresh machine shows something real; the
// last one has no active interface file yet, so discovery claims one for it.
BoardSet DefaultBoardSet();

} // namespace zevadriver

#endif
