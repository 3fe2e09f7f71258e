/** @file TimestampRecords.h
    The two timestamp records that cross the property-bag interfaces, in C so that C and C++
    hosts share them. @ingroup qxzeva_values */
#ifndef QX_KIT_TIMESTAMPRECORDS_H
#define QX_KIT_TIMESTAMPRECORDS_H

#include <stdint.h>

/** Seconds since 1904-01-01 00:00:00 UTC as a 128-bit fixed-point number: four 32-bit
    words, word 0 most significant, words 0-1 the signed whole seconds, words 2-3 the
    fraction in units of 2^-64 s. The words are native 32-bit integers, so on the big-endian
    target the 16 bytes are also the value big-endian. All zero means no time at all.
    @ingroup qxzeva_values */
typedef struct kcSysAttrTimestampUTC {
    uint32_t words[4]; /**< word 0 most significant */
} kcSysAttrTimestampUTC;

/** Local calendar time; a record that cannot be produced has every field -1.
    @ingroup qxzeva_values */
typedef struct kcSysAttrTimestamp {
    int32_t year;   /**< full year */
    int32_t month;  /**< 1 to 12 */
    int32_t day;    /**< day of the month */
    int32_t hour;   /**< hour of the day, from 0 */
    int32_t minute; /**< minute of the hour, from 0 */
    int32_t second; /**< second of the minute, from 0 */
} kcSysAttrTimestamp;

#ifdef __cplusplus
static_assert(sizeof(kcSysAttrTimestampUTC) == 16, "a UTC timestamp is four 32-bit words");
static_assert(sizeof(kcSysAttrTimestamp) == 24, "a local timestamp is six 32-bit fields");

/* A record made of four words, word 0 first. */
constexpr kcSysAttrTimestampUTC MakeTimestampUTC(uint32_t w0, uint32_t w1, uint32_t w2,
                                                 uint32_t w3) {
    return kcSysAttrTimestampUTC{{w0, w1, w2, w3}};
}
#endif

#endif
