// The host framework's value-type codes and the two timestamp records that cross the
// property-bag interfaces.
#ifndef QX_PROPERTYBAG_ATTRIBUTE_TYPES_H
#define QX_PROPERTYBAG_ATTRIBUTE_TYPES_H

#include <cstdint>

// Exactly the seven codes 1 to 7 are ever stored; 0 and codes above 7 name no type.
enum kcSysAttributeType : std::int32_t {
    kcSysAttrTypeBoolean = 1,
    kcSysAttrTypeInteger = 2,
    kcSysAttrTypeUnsignedInteger = 3,
    kcSysAttrTypeDouble = 4,
    kcSysAttrTypeGuid = 5,
    kcSysAttrTypeString = 6,
    kcSysAttrTypeTimestampUTC = 7
};
static_assert(sizeof(kcSysAttributeType) == 4, "type codes are 32 bits");

// Seconds since 1904-01-01 00:00:00 UTC as a 128-bit fixed-point number: four 32-bit words,
// word 0 most significant, words 0-1 the signed whole seconds, words 2-3 the fraction in
// units of 2^-64 s. The words are native 32-bit integers, so on the big-endian target the 16
// bytes are also the value big-endian. All zero means no time at all.
struct kcSysAttrTimestampUTC {
    std::uint32_t words[4];
};
static_assert(sizeof(kcSysAttrTimestampUTC) == 16, "a UTC timestamp is 16 bytes");

// A record made of four words, word 0 first.
constexpr kcSysAttrTimestampUTC MakeTimestampUTC(std::uint32_t w0, std::uint32_t w1,
                                                 std::uint32_t w2, std::uint32_t w3) {
    return kcSysAttrTimestampUTC{{w0, w1, w2, w3}};
}

// Local calendar time; a record that cannot be produced has every field -1.
struct kcSysAttrTimestamp {
    std::int32_t year;  // full year
    std::int32_t month; // 1 to 12
    std::int32_t day;   // day of the month
    std::int32_t hour;
    std::int32_t minute;
    std::int32_t second;
};
static_assert(sizeof(kcSysAttrTimestamp) == 24, "a local timestamp is six 32-bit fields");

#endif
