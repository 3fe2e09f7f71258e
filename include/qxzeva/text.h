/** @file text.h
    Text a host shows: the module's wide strings as UTF-8, and the names of the item tags and
    of the value-type codes. C99 and C++ alike; included by qxzeva/qxzeva_c.h. */
#ifndef QXZEVA_TEXT_H
#define QXZEVA_TEXT_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/property_table.h"
#include "qxzeva/types.h"

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#ifdef __cplusplus
extern "C" {
#endif

/** @cond QX_INTERNAL */
#define QX_TEXT_TAG_NAME(constant, tag, ...)                                                       \
    case tag:                                                                                      \
        return #constant;
#define QX_TEXT_TAG_TYPE(constant, tag, type, ...)                                                 \
    case tag:                                                                                      \
        return type;
#define QX_TEXT_TYPE_NAME(code)                                                                    \
    case code:                                                                                     \
        return #code;
/** @endcond */

/** @defgroup qxzeva_text Text for hosts
    UTF-8 of the module's strings and the names of tags and type codes, for a host to print.
    Any task may call these functions at any time.
    @{ */

/** Writes text as UTF-8 into utf8, zero-terminated, the way snprintf does: as many whole
    characters as fit in size - 1 bytes, never part of one. A surrogate without its partner
    becomes U+FFFD.
    @param text a zero-terminated UTF-16 text, such as a string the module handed out; null
           reads as the empty text
    @param utf8 receives the text; null to only count the bytes
    @param size the bytes utf8 holds
    @return the bytes the whole text takes, without the terminator: the text was cut short
            when this is size or more. */
static inline size_t qxWideToUtf8(const QX_WCHAR* text, char* utf8, size_t size) {
    size_t needed = 0;
    size_t written = 0;
    int full = 0;
    for (; text != NULL && *text != 0; ++text) {
        uint32_t point = *text;
        unsigned char bytes[4];
        size_t count = 0;
        size_t i;
        if (point >= 0xD800 && point < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000) {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[1] - 0xDC00u);
            ++text;
        } else if (point >= 0xD800 && point < 0xE000) {
            point = 0xFFFD;
        }
        if (point < 0x80) {
            bytes[count++] = (unsigned char)point;
        } else {
            /* the lead byte's marker and how many continuation bytes follow it */
            const size_t more = point < 0x800 ? 1 : point < 0x10000 ? 2 : 3;
            const unsigned marker = more == 1 ? 0xC0u : more == 2 ? 0xE0u : 0xF0u;
            bytes[count++] = (unsigned char)(marker | point >> (6 * more));
            for (i = more; i > 0; --i)
                bytes[count++] = (unsigned char)(0x80u | (point >> (6 * (i - 1)) & 0x3Fu));
        }
        needed += count;
        full = full || written + count >= size;
        if (utf8 != NULL && !full)
            for (i = 0; i < count; ++i)
                utf8[written++] = (char)bytes[i];
    }
    if (utf8 != NULL && size > 0)
        utf8[written] = '\0';
    return needed;
}

/** text as UTF-8 in a block of its own, which the caller frees with free().
    @param text as for qxWideToUtf8
    @return the zero-terminated UTF-8 text, or null when memory ran out. */
static inline char* qxWideToNewUtf8(const QX_WCHAR* text) {
    const size_t size = qxWideToUtf8(text, NULL, 0) + 1;
    char* utf8 = (char*)malloc(size);
    if (utf8 != NULL)
        qxWideToUtf8(text, utf8, size);
    return utf8;
}

/** The name of an item tag ("kcSysTagSerialNumber", ...), or null for a tag no item holds. */
static inline const char* qxTagName(uint32_t tag) {
    switch (tag) {
        QXZEVA_PROPERTY_TABLE(QX_TEXT_TAG_NAME)
    default:
        return NULL;
    }
}

/** The type of the value an item's bag holds under tag (kcSysAttrTypeString, ...), or 0 for a
    tag no item holds. */
static inline kcSysAttributeType qxTagType(uint32_t tag) {
    switch (tag) {
        QXZEVA_PROPERTY_TABLE(QX_TEXT_TAG_TYPE)
    default:
        return (kcSysAttributeType)0;
    }
}

/** The name of a value-type code ("kcSysAttrTypeBoolean", ...), or null for a code that names
    no type. */
static inline const char* qxTypeName(int32_t type) {
    switch (type) {
        QX_TEXT_TYPE_NAME(kcSysAttrTypeBoolean)
        QX_TEXT_TYPE_NAME(kcSysAttrTypeInteger)
        QX_TEXT_TYPE_NAME(kcSysAttrTypeUnsignedInteger)
        QX_TEXT_TYPE_NAME(kcSysAttrTypeDouble)
        QX_TEXT_TYPE_NAME(kcSysAttrTypeGuid)
        QX_TEXT_TYPE_NAME(kcSysAttrTypeString)
        QX_TEXT_TYPE_NAME(kcSysAttrTypeTimestampUTC)
    default:
        return NULL;
    }
}

#undef QX_TEXT_TAG_NAME
#undef QX_TEXT_TAG_TYPE
#undef QX_TEXT_TYPE_NAME

/** @} */

#ifdef __cplusplus
}
#endif

#endif
