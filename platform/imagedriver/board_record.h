// A zevadriverBoard from the host into the driver's own Board, reading only the fields the
// record's size covers (record_size.h): the fields of a later layout keep their defaults.
#ifndef ZEVADRIVER_BOARD_RECORD_H
#define ZEVADRIVER_BOARD_RECORD_H

#include "board.h"
#include "record_size.h"

#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>

namespace zevadriver {

// Each layout of zevadriverBoard in libzevadriver.so.19, oldest first. A release that adds a
// field appends RecordSizeEndingAt(offsetof(zevadriverBoard, newField) + sizeof(its type)).
inline constexpr std::uint32_t k_boardRecordSizes[] = {
    RecordSizeEndingAt(offsetof(zevadriverBoard, claimFails) + sizeof(int)),
};
inline constexpr RecordSizes k_boardRecordLayouts = {k_boardRecordSizes,
                                                     std::size(k_boardRecordSizes)};

// A field of the record into the driver's own. A text is read only up to one byte past the
// longest the driver keeps, so that a text too long is seen without reading all of it; the
// rules (board_rules.h) then judge what was read.
inline void CopyBoardField(std::uint32_t& to, std::uint32_t from, std::size_t /*longest*/) {
    to = from;
}
inline void CopyBoardField(bool& to, int from, std::size_t /*longest*/) {
    to = from != 0;
}
inline void CopyBoardField(std::string& to, const char* from, std::size_t longest) {
    to = from == nullptr ? std::string() : std::string(from, strnlen(from, longest + 1));
}

// The board the record describes, or false when its size is none of `layouts`.
inline bool BoardFromRecord(const zevadriverBoard& record, const RecordSizes& layouts,
                            Board* board) {
    if (!layouts.Known(record.size))
        return false;
#define ZEVADRIVER_COPY_FIELD(member, key, kind, limit, required, meaning)                         \
    if (Covers(record.size, offsetof(zevadriverBoard, member), sizeof record.member))              \
        CopyBoardField(board->member, record.member, limit);
    ZEVADRIVER_BOARD_FIELDS(ZEVADRIVER_COPY_FIELD)
#undef ZEVADRIVER_COPY_FIELD
    return true;
}

} // namespace zevadriver

#endif
