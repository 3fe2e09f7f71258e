/** @file qxzeva_abi.h
    The facts of the module's interfaces that C and C++ hosts share, written once: result
    codes, the identifier record and the interface identifiers, the value-type codes and
    timestamp records, and the tags of the properties every item's bag holds. The C view
    (expert/qxzeva_c.h) and the module's C++ headers both include this header, and add only
    what their language needs on top. */
#ifndef QX_COM_QXZEVA_ABI_H
#define QX_COM_QXZEVA_ABI_H

#include "qx/kit/TimestampRecords.h"
#include "qxzeva/property_table.h"

#include <stdint.h>
#include <string.h>

/** @defgroup qxzeva_results Results
    Every operation returns a 32-bit HRESULT: zero or positive is success, negative is
    failure. These are all the codes the module returns:

    | Name | Value | Meaning |
    |---|---|---|
    | S_OK | 0x00000000 | done |
    | S_FALSE | 0x00000001 | a success that reports nothing: an empty list, the end |
    | E_NOTIMPL | 0x80004001 | the operation is not offered |
    | E_NOINTERFACE | 0x80004002 | the object has no interface of that identifier |
    | E_POINTER | 0x80004003 | a pointer argument that must not be null was null |
    | E_FAIL | 0x80004005 | an unexpected failure |
    | E_OUTOFMEMORY | 0x8007000E | memory ran out; nothing was handed out |
    | E_PROPERTY_TYPE_MISMATCH | 0x80040370 | the tag holds a value of another type |
    | E_PROPERTY_NOT_FOUND | 0x80040371 | the bag holds no value under the tag |
    | E_ITEM_NOT_FOUND | 0x80040375 | no item has that name |

    Test results with QX_SUCCEEDED and QX_FAILED (C) or SUCCEEDED and FAILED (C++), never by
    comparing with S_OK alone where S_FALSE may come.
    @{ */

/** The result of every operation; negative is failure. */
typedef int32_t HRESULT;

#define S_OK ((HRESULT)0)    /**< done */
#define S_FALSE ((HRESULT)1) /**< a success that reports nothing: an empty list, an absent tag */
#define E_NOTIMPL ((HRESULT)0x80004001u)     /**< the operation is not offered */
#define E_NOINTERFACE ((HRESULT)0x80004002u) /**< no interface of that identifier */
#define E_POINTER ((HRESULT)0x80004003u)     /**< a required pointer argument was null */
#define E_FAIL ((HRESULT)0x80004005u)        /**< an unexpected failure */
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu) /**< memory ran out; nothing was handed out */
/* Interface-specific failures (facility 4) shared with the host framework. */
#define E_PROPERTY_TYPE_MISMATCH ((HRESULT)0x80040370u) /**< the tag holds another type */
#define E_PROPERTY_NOT_FOUND ((HRESULT)0x80040371u)     /**< no value under the tag */
#define E_ITEM_NOT_FOUND ((HRESULT)0x80040375u)         /**< no item has that name */

/** The name of a code the module defines ("S_OK", "E_POINTER", ...), or null for any
    other value. */
static inline const char* qxHResultName(HRESULT result) {
    switch (result) {
    case S_OK:
        return "S_OK";
    case S_FALSE:
        return "S_FALSE";
    case E_NOTIMPL:
        return "E_NOTIMPL";
    case E_NOINTERFACE:
        return "E_NOINTERFACE";
    case E_POINTER:
        return "E_POINTER";
    case E_FAIL:
        return "E_FAIL";
    case E_OUTOFMEMORY:
        return "E_OUTOFMEMORY";
    case E_PROPERTY_TYPE_MISMATCH:
        return "E_PROPERTY_TYPE_MISMATCH";
    case E_PROPERTY_NOT_FOUND:
        return "E_PROPERTY_NOT_FOUND";
    case E_ITEM_NOT_FOUND:
        return "E_ITEM_NOT_FOUND";
    default:
        return 0;
    }
}

/** @} */

/** @defgroup qxzeva_identifiers Interface identifiers
    The 16-byte identifiers that name the interfaces, for QueryInterface. The expert answers
    IID_IUnknown, IID_IkcSysExpertInfo, IID_IkcSysExpert, IID_IkcSysExpert2 and
    IID_IkcSysExpertPlugPlay; a property bag answers IID_IUnknown and the three bag
    identifiers with one pointer; the enumerators answer IID_IUnknown and their own. Each is a
    constant _GUID (static const in C, inline constexpr in C++) naming the interface of its name
    without `IID_`; in the C view IkcSysExpertInfo and IkcSysExpert are the first slots of
    IkcSysExpert2, IkcSysPropertyBag and IkcSysPropertyBag2 those of IkcSysPropertyBag3:

    | Constant | Identifier |
    |---|---|
    | IID_IUnknown | {00000000-0000-0000-C000-000000000046} |
    | IID_IkcSysExpertInfo | {9C257614-172D-4D5D-81BB-3D4F72BD30A4} |
    | IID_IkcSysExpert | {B259235B-6978-4402-8910-E19E1295F326} |
    | IID_IkcSysExpert2 | {CF3357AD-3023-4121-A60E-2FF9B3A87BEE} |
    | IID_IkcSysExpertPlugPlay | {C20E7758-0346-431A-A411-BF7C1E736A60} |
    | IID_IkcSysPropertyBag | {3E2F201D-CABE-466F-93AE-502244C18DDE} |
    | IID_IkcSysPropertyBag2 | {E275E061-297B-4463-A5F1-5D2D9D8F3898} |
    | IID_IkcSysPropertyBag3 | {B122AAB9-2F03-4E75-A0D1-A0F7C7DF2838} |
    | IID_IkcSysEnumPropertyTag | {B21429CD-0DDD-48FA-9DDD-33A1CFA79CDE} |
    | IID_IkcSysEnumStringList | {FB09815D-7F02-459F-87B8-78227BE84126} |
    @{ */

/** A 16-byte identifier, written {Data1-Data2-Data3-Data4[0..1]-Data4[2..7]} in hexadecimal.
    Fields keep their native values; on the big-endian target the 16 bytes in memory read as
    the identifier's text without dashes. */
typedef struct _GUID {
    uint32_t Data1;   /**< first 8 hexadecimal digits */
    uint16_t Data2;   /**< next 4 */
    uint16_t Data3;   /**< next 4 */
    uint8_t Data4[8]; /**< last 16, two per byte */
} _GUID;

/** @cond QX_INTERNAL (the constants are listed in the table above) */
#ifdef __cplusplus
#define QX_INTERFACE_ID(name, ...) inline constexpr _GUID name = __VA_ARGS__;
#else
#define QX_INTERFACE_ID(name, ...) static const _GUID name = __VA_ARGS__;
#endif

QX_INTERFACE_ID(IID_IUnknown,
                {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}})
QX_INTERFACE_ID(IID_IkcSysExpertInfo,
                {0x9C257614, 0x172D, 0x4D5D, {0x81, 0xBB, 0x3D, 0x4F, 0x72, 0xBD, 0x30, 0xA4}})
QX_INTERFACE_ID(IID_IkcSysExpert,
                {0xB259235B, 0x6978, 0x4402, {0x89, 0x10, 0xE1, 0x9E, 0x12, 0x95, 0xF3, 0x26}})
QX_INTERFACE_ID(IID_IkcSysExpert2,
                {0xCF3357AD, 0x3023, 0x4121, {0xA6, 0x0E, 0x2F, 0xF9, 0xB3, 0xA8, 0x7B, 0xEE}})
QX_INTERFACE_ID(IID_IkcSysExpertPlugPlay,
                {0xC20E7758, 0x0346, 0x431A, {0xA4, 0x11, 0xBF, 0x7C, 0x1E, 0x73, 0x6A, 0x60}})
QX_INTERFACE_ID(IID_IkcSysPropertyBag,
                {0x3E2F201D, 0xCABE, 0x466F, {0x93, 0xAE, 0x50, 0x22, 0x44, 0xC1, 0x8D, 0xDE}})
QX_INTERFACE_ID(IID_IkcSysPropertyBag2,
                {0xE275E061, 0x297B, 0x4463, {0xA5, 0xF1, 0x5D, 0x2D, 0x9D, 0x8F, 0x38, 0x98}})
QX_INTERFACE_ID(IID_IkcSysPropertyBag3,
                {0xB122AAB9, 0x2F03, 0x4E75, {0xA0, 0xD1, 0xA0, 0xF7, 0xC7, 0xDF, 0x28, 0x38}})
QX_INTERFACE_ID(IID_IkcSysEnumPropertyTag,
                {0xB21429CD, 0x0DDD, 0x48FA, {0x9D, 0xDD, 0x33, 0xA1, 0xCF, 0xA7, 0x9C, 0xDE}})
QX_INTERFACE_ID(IID_IkcSysEnumStringList,
                {0xFB09815D, 0x7F02, 0x459F, {0x87, 0xB8, 0x78, 0x22, 0x7B, 0xE8, 0x41, 0x26}})

/* Which object's interfaces an identifier belongs to: the module answers the identifiers of
   one family with one pointer to the family's newest table. IUnknown is every object's. */
typedef enum qxInterfaceFamily {
    QX_FAMILY_UNKNOWN = 0,
    QX_FAMILY_EXPERT = 1,
    QX_FAMILY_EXPERT_PLUG_PLAY = 2,
    QX_FAMILY_PROPERTY_BAG = 3,
    QX_FAMILY_ENUM_PROPERTY_TAG = 4,
    QX_FAMILY_ENUM_STRING_LIST = 5
} qxInterfaceFamily;

/* One identifier the module defines, with its interface's name and family. */
typedef struct qxInterfaceInfo {
    const _GUID* iid;
    const char* name;
    qxInterfaceFamily family;
} qxInterfaceInfo;

#define QXZEVA_INTERFACE_COUNT 10

#ifdef __cplusplus
inline constexpr qxInterfaceInfo qxInterfaces[QXZEVA_INTERFACE_COUNT] = {
#else
static const qxInterfaceInfo qxInterfaces[QXZEVA_INTERFACE_COUNT] = {
#endif
    {&IID_IUnknown, "IUnknown", QX_FAMILY_UNKNOWN},
    {&IID_IkcSysExpertInfo, "IkcSysExpertInfo", QX_FAMILY_EXPERT},
    {&IID_IkcSysExpert, "IkcSysExpert", QX_FAMILY_EXPERT},
    {&IID_IkcSysExpert2, "IkcSysExpert2", QX_FAMILY_EXPERT},
    {&IID_IkcSysExpertPlugPlay, "IkcSysExpertPlugPlay", QX_FAMILY_EXPERT_PLUG_PLAY},
    {&IID_IkcSysPropertyBag, "IkcSysPropertyBag", QX_FAMILY_PROPERTY_BAG},
    {&IID_IkcSysPropertyBag2, "IkcSysPropertyBag2", QX_FAMILY_PROPERTY_BAG},
    {&IID_IkcSysPropertyBag3, "IkcSysPropertyBag3", QX_FAMILY_PROPERTY_BAG},
    {&IID_IkcSysEnumPropertyTag, "IkcSysEnumPropertyTag", QX_FAMILY_ENUM_PROPERTY_TAG},
    {&IID_IkcSysEnumStringList, "IkcSysEnumStringList", QX_FAMILY_ENUM_STRING_LIST}};

/* Whether two identifiers are the same: the record has no padding, so its bytes say it. */
static inline int qxSameGuid(const _GUID* left, const _GUID* right) {
    return memcmp(left, right, sizeof(_GUID)) == 0;
}

/* The entry of an identifier the module defines, or null. */
static inline const qxInterfaceInfo* qxFindInterface(const _GUID* iid) {
    int i;
    for (i = 0; i < QXZEVA_INTERFACE_COUNT; ++i)
        if (qxSameGuid(qxInterfaces[i].iid, iid))
            return &qxInterfaces[i];
    return 0;
}

#undef QX_INTERFACE_ID
/** @endcond */

/** @} */

/** @defgroup qxzeva_values Value types and item tags
    What a property bag holds: a typed value under each 32-bit tag. Every item's bag, from
    IkcSysExpert2Vtbl::GetPropertiesOfItem or IkcSysExpert2Vtbl::SearchForItemsAndProperties,
    holds the QXZEVA_ITEM_PROPERTY_COUNT tags of kcSysItemPropertyTag, one for each row of
    QXZEVA_PROPERTY_TABLE (qxzeva/property_table.h), in the order the expert sets them:

    @include{doc} property_tags.dox
    @{ */

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

/** @cond QX_INTERNAL (the tags are listed in the table above) */
/* The tags of an item's properties, each named by the constant of its row in the property
   table. */
#define QX_TAG_CONSTANT(constant, tag, ...) constant = tag,
typedef enum kcSysItemPropertyTag QX_ENUM_32 {
    QXZEVA_PROPERTY_TABLE(QX_TAG_CONSTANT)
} kcSysItemPropertyTag;
#undef QX_TAG_CONSTANT
/** @endcond */

/** @} */

#undef QX_ENUM_32

#ifdef __cplusplus
static_assert(sizeof(HRESULT) == 4, "HRESULT is 32 bits on every target");
static_assert(sizeof(_GUID) == 16, "a GUID is 16 bytes with no padding");
static_assert(sizeof(kcSysAttributeType) == 4, "type codes are 32 bits");
#endif

#endif
