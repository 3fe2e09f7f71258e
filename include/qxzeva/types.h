/** @file types.h
    The value-type codes of a property bag and the two timestamp records that cross the
    property-bag interfaces, in C so that C and C++ hosts share them; for C++, a visit of the
    type a code names. */
#ifndef QXZEVA_TYPES_H
#define QXZEVA_TYPES_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include <stdint.h>

#ifdef __cplusplus
#include <type_traits>
#include <utility>
#endif

/** @defgroup qxzeva_values Value types and item tags
    What a property bag holds: a typed value under each 32-bit tag. Every item's bag, from
    IkcSysExpert2Vtbl::GetPropertiesOfItem or IkcSysExpert2Vtbl::SearchForItemsAndProperties,
    holds the tags of kcSysItemPropertyTag.
    @{ */

/** One 16-bit unit of a wide string (UTF-16): char16_t in C++, as the C++ view's operations
    take it, and uint16_t in C, which has the same size and representation. */
#ifdef __cplusplus
typedef char16_t QX_WCHAR;
#else
typedef uint16_t QX_WCHAR;
#endif

/** @cond QX_INTERNAL */
/* A 32-bit enumeration in both languages. */
#ifdef __cplusplus
#define QX_ENUM_32 : int32_t
#else
#define QX_ENUM_32
#endif
/** @endcond */

/** The type of a stored value, from GetPropertyType. Exactly the seven codes 1 to 7 are ever
    stored; 0 and codes above 7 name no type. */
typedef enum kcSysAttributeType QX_ENUM_32 {
    kcSysAttrTypeBoolean = 1,         /**< int, 0 or 1: Get/SetBooleanProperty */
    kcSysAttrTypeInteger = 2,         /**< int32_t: Get/SetIntegerProperty */
    kcSysAttrTypeUnsignedInteger = 3, /**< uint32_t: Get/SetUnsignedIntegerProperty */
    kcSysAttrTypeDouble = 4,          /**< double: Get/SetDoubleProperty */
    kcSysAttrTypeGuid = 5,            /**< _GUID: Get/SetGuidProperty */
    kcSysAttrTypeString = 6,          /**< boundary string: Get/SetStringProperty */
    kcSysAttrTypeTimestampUTC = 7     /**< kcSysAttrTimestampUTC: the timestamp operations */
} kcSysAttributeType;

/** Seconds since 1904-01-01 00:00:00 UTC as a 128-bit fixed-point number: four 32-bit
    words, word 0 most significant, words 0-1 the signed whole seconds, words 2-3 the
    fraction in units of 2^-64 s. The words are native 32-bit integers, so on the big-endian
    target the 16 bytes are also the value big-endian. All zero means no time at all. */
typedef struct kcSysAttrTimestampUTC {
    uint32_t words[4]; /**< word 0 most significant */
} kcSysAttrTimestampUTC;

/** Local calendar time; a record that cannot be produced has every field -1. */
typedef struct kcSysAttrTimestamp {
    int32_t year;   /**< full year */
    int32_t month;  /**< 1 to 12 */
    int32_t day;    /**< day of the month */
    int32_t hour;   /**< hour of the day, from 0 */
    int32_t minute; /**< minute of the hour, from 0 */
    int32_t second; /**< second of the minute, from 0 */
} kcSysAttrTimestamp;

/** @} */

#ifdef __cplusplus
static_assert(sizeof(kcSysAttributeType) == 4, "type codes are 32 bits");
static_assert(sizeof(QX_WCHAR) == 2, "a wide-string unit is 16 bits");
static_assert(sizeof(kcSysAttrTimestampUTC) == 16, "a UTC timestamp is four 32-bit words");
static_assert(sizeof(kcSysAttrTimestamp) == 24, "a local timestamp is six 32-bit fields");

/* A record made of four words, word 0 first. */
constexpr kcSysAttrTimestampUTC MakeTimestampUTC(uint32_t w0, uint32_t w1, uint32_t w2,
                                                 uint32_t w3) {
    return kcSysAttrTimestampUTC{{w0, w1, w2, w3}};
}

namespace qxzeva {
/** A type code known at compile time, as VisitAttributeType hands it to its visitor. */
template <kcSysAttributeType Type>
using AttributeTypeTag = std::integral_constant<kcSysAttributeType, Type>;

/** A type code read at run time, as a type known at compile time: visit(AttributeTypeTag<code>{})
    for each of the seven codes, otherwise() for a code that names no type; both give the same
    result type. Code that handles each value type says so in one place, and the compiler
    picks the handler (for example the getter of that type). */
template <class Visit, class Otherwise>
decltype(auto) VisitAttributeType(kcSysAttributeType type, Visit&& visit, Otherwise&& otherwise) {
    switch (type) {
    case kcSysAttrTypeBoolean:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeBoolean>{});
    case kcSysAttrTypeInteger:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeInteger>{});
    case kcSysAttrTypeUnsignedInteger:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeUnsignedInteger>{});
    case kcSysAttrTypeDouble:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeDouble>{});
    case kcSysAttrTypeGuid:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeGuid>{});
    case kcSysAttrTypeString:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeString>{});
    case kcSysAttrTypeTimestampUTC:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeTimestampUTC>{});
    }
    return std::forward<Otherwise>(otherwise)();
}
} // namespace qxzeva
#endif

#endif
