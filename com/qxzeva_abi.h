/* The facts of the module's interfaces that C and C++ hosts share, written once: result
   codes, the identifier record and the interface identifiers, the value-type codes and
   timestamp records, and the tags of the 22 properties every item's bag holds. The C view
   (expert/qxzeva_c.h) and the module's C++ headers both include this header, and add only
   what their language needs on top. */
#ifndef QX_COM_QXZEVA_ABI_H
#define QX_COM_QXZEVA_ABI_H

#include "qx/kit/TimestampRecords.h"

#include <stdint.h>
#include <string.h>

/* ---- Results: negative is failure ---- */
typedef int32_t HRESULT;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1) /* a success that reports nothing: an empty list, an absent tag */
#define E_NOTIMPL ((HRESULT)0x80004001u)
#define E_NOINTERFACE ((HRESULT)0x80004002u)
#define E_POINTER ((HRESULT)0x80004003u)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu)
/* Interface-specific failures (facility 4) shared with the host framework. */
#define E_PROPERTY_TYPE_MISMATCH ((HRESULT)0x80040370u)
#define E_PROPERTY_NOT_FOUND ((HRESULT)0x80040371u)
#define E_ITEM_NOT_FOUND ((HRESULT)0x80040375u)

/* The name of a code the module defines, or null. */
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

/* ---- Identifiers ---- */

/* Fields keep their native values; on the big-endian target the 16 bytes in memory read as
   the identifier's text without dashes. */
typedef struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} _GUID;

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

/* ---- Property values ---- */

/* A 32-bit enumeration in both languages. */
#ifdef __cplusplus
#define QX_ENUM_32 : int32_t
#else
#define QX_ENUM_32
#endif

/* Exactly the seven codes 1 to 7 are ever stored; 0 and codes above 7 name no type. */
typedef enum kcSysAttributeType QX_ENUM_32 {
    kcSysAttrTypeBoolean = 1,
    kcSysAttrTypeInteger = 2,
    kcSysAttrTypeUnsignedInteger = 3,
    kcSysAttrTypeDouble = 4,
    kcSysAttrTypeGuid = 5,
    kcSysAttrTypeString = 6,
    kcSysAttrTypeTimestampUTC = 7
} kcSysAttributeType;

/* The tags of an item's 22 properties, in the order the expert sets them. What the host
   framework makes of the fixed ones is the host's; they are named here by the value they
   always hold and the tag's distinguishing digits. */
typedef enum kcSysItemPropertyTag QX_ENUM_32 {
    kcSysTagSerialNumber = 0x01007000,  /* string: "%08X" of the serial number */
    kcSysTagConstant1C = 0x0101C000,    /* integer: 1 */
    kcSysTagItemName = 0x0101D000,      /* string: the item name */
    kcSysTagItemAlias = 0x0101F000,     /* string: the item name again */
    kcSysTagFlag54 = 0x01054000,        /* boolean: false */
    kcSysTagConstant2A = 0x0102A000,    /* integer: 99 */
    kcSysTagFlag01 = 0x01001000,        /* boolean: true */
    kcSysTagFlag28 = 0x01028000,        /* boolean: false */
    kcSysTagConstant24 = 0x01024000,    /* integer: 1 */
    kcSysTagFlag08 = 0x01008000,        /* boolean: true */
    kcSysTagPciIdUpper = 0x01005000,    /* unsigned: upper 16 bits of the PCI identifier */
    kcSysTagPciIdLower = 0x01003000,    /* unsigned: lower 16 bits of the PCI identifier */
    kcSysTagVendor = 0x01004000,        /* string: the vendor */
    kcSysTagModel = 0x01006000,         /* string: the board name without its family prefix */
    kcSysTagEmptyText = 0x0100A000,     /* string: empty */
    kcSysTagConstant0B = 0x0100B000,    /* integer: -1 */
    kcSysTagDriverVersion = 0x0700C000, /* unsigned: the driver's version */
    kcSysTagDriverFamily = 0x0700D000,  /* string: the driver family */
    kcSysTagCount02 = 0x01002000,       /* unsigned: 1 */
    kcSysTagPciBus = 0x01018000,        /* unsigned */
    kcSysTagPciDevice = 0x01019000,     /* unsigned */
    kcSysTagPciFunction = 0x0101A000    /* unsigned */
} kcSysItemPropertyTag;

#define QXZEVA_ITEM_PROPERTY_COUNT 22

#undef QX_ENUM_32

#ifdef __cplusplus
static_assert(sizeof(HRESULT) == 4, "HRESULT is 32 bits on every target");
static_assert(sizeof(_GUID) == 16, "a GUID is 16 bytes with no padding");
static_assert(sizeof(kcSysAttributeType) == 4, "type codes are 32 bits");
#endif

#endif
