/** @file guid.h
    The 16-byte identifier record that names interfaces and the product. */
#ifndef QXZEVA_GUID_H
#define QXZEVA_GUID_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include <stdint.h>
#include <string.h>

/** A 16-byte identifier, written {Data1-Data2-Data3-Data4[0..1]-Data4[2..7]} in hexadecimal.
    Fields keep their native values; on the big-endian target the 16 bytes in memory read as
    the identifier's text without dashes. @ingroup qxzeva_identifiers */
typedef struct _GUID {
    uint32_t Data1;   /**< first 8 hexadecimal digits */
    uint16_t Data2;   /**< next 4 */
    uint16_t Data3;   /**< next 4 */
    uint8_t Data4[8]; /**< last 16, two per byte */
} _GUID;

/** @cond QX_INTERNAL */
/* Whether two identifiers are the same: the record has no padding, so its bytes say it. */
static inline int qxSameGuid(const _GUID* left, const _GUID* right) {
    return memcmp(left, right, sizeof(_GUID)) == 0;
}
/** @endcond */

#ifdef __cplusplus
static_assert(sizeof(_GUID) == 16, "a GUID is 16 bytes with no padding");
#endif

#endif
