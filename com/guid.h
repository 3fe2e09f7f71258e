// The 16-byte identifier record that names interfaces and the product.
#ifndef QX_COM_GUID_H
#define QX_COM_GUID_H

#include <cstdint>
#include <cstring>

// Fields keep their native values; on the big-endian target the 16 bytes in memory read
// as the identifier's text without dashes.
struct _GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
static_assert(sizeof(_GUID) == 16, "a GUID is 16 bytes with no padding");

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
    const unsigned char* word = bytes + 4 * index;
    return (std::uint32_t{word[0]} << 24) | (std::uint32_t{word[1]} << 16) |
           (std::uint32_t{word[2]} << 8) | std::uint32_t{word[3]};
}

#endif
