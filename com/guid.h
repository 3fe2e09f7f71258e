// Comparing and reading the 16-byte identifier record (qxzeva/guid.h) that names
// interfaces and the product.
#ifndef QX_COM_GUID_H
#define QX_COM_GUID_H

#include "qxzeva/guid.h"

#include <cstdint>
#include <cstring>

inline bool operator==(const _GUID& left, const _GUID& right) {
    return std::memcmp(&left, &right, sizeof(_GUID)) == 0;
}
inline bool operator!=(const _GUID& left, const _GUID& right) {
    return !(left == right);
}

// Word i (0..3) of the record's bytes read in the target's byte order (big-endian),
// whatever the host's order.
inline std::uint32_t GuidWordBigEndian(const _GUID& guid, unsigned index) {
    unsigned char bytes[sizeof(_GUID)];
    std::memcpy(bytes, &guid, sizeof bytes);
    const unsigned char* word = bytes + std::size_t{4} * index;
    return (std::uint32_t{word[0]} << 24) | (std::uint32_t{word[1]} << 16) |
           (std::uint32_t{word[2]} << 8) | std::uint32_t{word[3]};
}

#endif
