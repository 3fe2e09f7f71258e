/* The expert module's interfaces for hosts written in C: each interface is a struct whose
   first member points at its table of operations (lpVtbl), in the same slot order as the C++
   interfaces, so a pointer the module hands out can be used directly. Every operation takes
   the interface pointer itself as its first argument. */
#ifndef QX_EXPERT_QXZEVA_C_H
#define QX_EXPERT_QXZEVA_C_H

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t HRESULT;
typedef uint16_t QX_WCHAR; /* one 16-bit unit of a wide string */

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001u)
#define E_NOINTERFACE ((HRESULT)0x80004002u)
#define E_POINTER ((HRESULT)0x80004003u)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu)
#define E_PROPERTY_TYPE_MISMATCH ((HRESULT)0x80040370u)
#define E_PROPERTY_NOT_FOUND ((HRESULT)0x80040371u)
#define E_ITEM_NOT_FOUND ((HRESULT)0x80040375u)
#define QX_SUCCEEDED(hr) ((HRESULT)(hr) >= 0)
#define QX_FAILED(hr) ((HRESULT)(hr) < 0)

typedef struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} _GUID;

static const _GUID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const _GUID IID_IkcSysExpertInfo = {
    0x9C257614, 0x172D, 0x4D5D, {0x81, 0xBB, 0x3D, 0x4F, 0x72, 0xBD, 0x30, 0xA4}};
static const _GUID IID_IkcSysExpert = {
    0xB259235B, 0x6978, 0x4402, {0x89, 0x10, 0xE1, 0x9E, 0x12, 0x95, 0xF3, 0x26}};
static const _GUID IID_IkcSysExpert2 = {
    0xCF3357AD, 0x3023, 0x4121, {0xA6, 0x0E, 0x2F, 0xF9, 0xB3, 0xA8, 0x7B, 0xEE}};
static const _GUID IID_IkcSysExpertPlugPlay = {
    0xC20E7758, 0x0346, 0x431A, {0xA4, 0x11, 0xBF, 0x7C, 0x1E, 0x73, 0x6A, 0x60}};
static const _GUID IID_IkcSysPropertyBag = {
    0x3E2F201D, 0xCABE, 0x466F, {0x93, 0xAE, 0x50, 0x22, 0x44, 0xC1, 0x8D, 0xDE}};
static const _GUID IID_IkcSysPropertyBag2 = {
    0xE275E061, 0x297B, 0x4463, {0xA5, 0xF1, 0x5D, 0x2D, 0x9D, 0x8F, 0x38, 0x98}};
static const _GUID IID_IkcSysPropertyBag3 = {
    0xB122AAB9, 0x2F03, 0x4E75, {0xA0, 0xD1, 0xA0, 0xF7, 0xC7, 0xDF, 0x28, 0x38}};
static const _GUID IID_IkcSysEnumPropertyTag = {
    0xB21429CD, 0x0DDD, 0x48FA, {0x9D, 0xDD, 0x33, 0xA1, 0xCF, 0xA7, 0x9C, 0xDE}};
static const _GUID IID_IkcSysEnumStringList = {
    0xFB09815D, 0x7F02, 0x459F, {0x87, 0xB8, 0x78, 0x22, 0x7B, 0xE8, 0x41, 0x26}};

/* Wide strings handed out by the module: a 32-bit count of units, the units, a zero unit, in
   one block; the pointer points at the first unit. The receiver frees the block. */
static inline uint32_t qxWideStringLength(const QX_WCHAR* text) {
    uint32_t units;
    memcpy(&units, (const unsigned char*)text - sizeof units, sizeof units);
    return units;
}
static inline void qxFreeWideString(QX_WCHAR* text) {
    if (text != NULL)
        free((unsigned char*)text - sizeof(uint32_t));
}

typedef enum kcSysAttributeType {
    kcSysAttrTypeBoolean = 1,
    kcSysAttrTypeInteger = 2,
    kcSysAttrTypeUnsignedInteger = 3,
    kcSysAttrTypeDouble = 4,
    kcSysAttrTypeGuid = 5,
    kcSysAttrTypeString = 6,
    kcSysAttrTypeTimestampUTC = 7
} kcSysAttributeType;

/* Seconds since 1904-01-01 UTC (signed, word 0 most significant) and the fraction of a
   second in units of 2^-64 s (word 2 most significant). */
typedef struct kcSysAttrTimestampUTC {
    uint32_t words[4];
} kcSysAttrTimestampUTC;

/* Local calendar time; every field -1 when no time could be produced. */
typedef struct kcSysAttrTimestamp {
    int32_t year, month, day, hour, minute, second;
} kcSysAttrTimestamp;

typedef struct IUnknown IUnknown;
typedef struct IkcSysExpert2 IkcSysExpert2;
typedef struct IkcSysExpertPlugPlay IkcSysExpertPlugPlay;
typedef struct IkcSysPropertyBag3 IkcSysPropertyBag3;
typedef struct IkcSysPropertyBag3 IkcSysPropertyBag;
typedef struct IkcSysPropertyBag3 IkcSysPropertyBag2;
typedef struct IkcSysEnumStringList IkcSysEnumStringList;
typedef struct IkcSysEnumPropertyTag IkcSysEnumPropertyTag;
typedef struct IkcSysPropertyBagCollection IkcSysPropertyBagCollection;
typedef struct IkcSysFrameworkNotificationHandler IkcSysFrameworkNotificationHandler;

#define QX_IUNKNOWN_SLOTS(Interface)                                                               \
    HRESULT (*QueryInterface)(Interface * This, const _GUID* iid, void** object);                  \
    int32_t (*AddRef)(Interface * This);                                                           \
    int32_t (*Release)(Interface * This)

typedef struct IUnknownVtbl {
    QX_IUNKNOWN_SLOTS(IUnknown);
} IUnknownVtbl;
struct IUnknown {
    const IUnknownVtbl* lpVtbl;
};

typedef struct IkcSysExpert2Vtbl {
    QX_IUNKNOWN_SLOTS(IkcSysExpert2);
    HRESULT (*GetProductID)(IkcSysExpert2* This, _GUID* productId);
    HRESULT (*GetProductDisplayName)(IkcSysExpert2* This, QX_WCHAR** name);
    HRESULT (*GetProductVersion)(IkcSysExpert2* This, QX_WCHAR** version);
    HRESULT (*GetProgrammaticName)(IkcSysExpert2* This, QX_WCHAR** name);
    HRESULT (*Initialize)(IkcSysExpert2* This);
    HRESULT (*Finalize)(IkcSysExpert2* This);
    HRESULT(*SearchForItemsAndProperties)
    (IkcSysExpert2* This, IkcSysPropertyBagCollection* collection);
    HRESULT (*SearchForItemNames)(IkcSysExpert2* This, IkcSysEnumStringList** names);
    HRESULT(*GetPropertiesOfItem)
    (IkcSysExpert2* This, const QX_WCHAR* itemName, IkcSysPropertyBag** bag);
    HRESULT(*PopulateOrRefreshProperties)
    (IkcSysExpert2* This, const QX_WCHAR* itemName, uint32_t tagCount, const uint32_t* tags,
     int refresh, IkcSysPropertyBag** bag);
    HRESULT (*SetPreferredLocale)(IkcSysExpert2* This, int32_t locale);
    HRESULT(*RenameAlias)
    (IkcSysExpert2* This, const QX_WCHAR* oldAlias, const QX_WCHAR* newAlias, int32_t mode,
     int* valid, QX_WCHAR** message);
    HRESULT(*ValidatePropertyChanges)
    (IkcSysExpert2* This, const QX_WCHAR* itemName, IkcSysPropertyBag2* bag,
     IkcSysEnumPropertyTag** tags, QX_WCHAR** message);
    HRESULT(*PersistPropertyChanges)
    (IkcSysExpert2* This, const QX_WCHAR* itemName, IkcSysPropertyBag2* bag, int* rebootRequired);
} IkcSysExpert2Vtbl;
struct IkcSysExpert2 {
    const IkcSysExpert2Vtbl* lpVtbl;
};

typedef struct IkcSysExpertPlugPlayVtbl {
    QX_IUNKNOWN_SLOTS(IkcSysExpertPlugPlay);
    HRESULT(*RegisterNotificationCallback)
    (IkcSysExpertPlugPlay* This, IkcSysFrameworkNotificationHandler* handler);
} IkcSysExpertPlugPlayVtbl;
struct IkcSysExpertPlugPlay {
    const IkcSysExpertPlugPlayVtbl* lpVtbl;
};

/* The bag answers all three of its identifiers with one pointer to this whole table. */
typedef struct IkcSysPropertyBag3Vtbl {
    QX_IUNKNOWN_SLOTS(IkcSysPropertyBag3);
    HRESULT (*EnumProperties)(IkcSysPropertyBag3* This, IkcSysEnumPropertyTag** tags);
    HRESULT (*HasProperty)(IkcSysPropertyBag3* This, uint32_t tag);
    HRESULT (*GetPropertyType)(IkcSysPropertyBag3* This, uint32_t tag, kcSysAttributeType* type);
    HRESULT (*DeleteProperty)(IkcSysPropertyBag3* This, uint32_t tag);
    HRESULT (*DeleteAllProperties)(IkcSysPropertyBag3* This);
    HRESULT (*SetBooleanProperty)(IkcSysPropertyBag3* This, uint32_t tag, int value);
    HRESULT (*SetIntegerProperty)(IkcSysPropertyBag3* This, uint32_t tag, int32_t value);
    HRESULT (*SetUnsignedIntegerProperty)(IkcSysPropertyBag3* This, uint32_t tag, uint32_t value);
    HRESULT (*SetDoubleProperty)(IkcSysPropertyBag3* This, uint32_t tag, double value);
    HRESULT (*SetGuidProperty)(IkcSysPropertyBag3* This, uint32_t tag, _GUID value);
    HRESULT (*SetStringProperty)(IkcSysPropertyBag3* This, uint32_t tag, const QX_WCHAR* value);
    HRESULT(*_SetTimestampProperty)
    (IkcSysPropertyBag3* This, uint32_t tag, const kcSysAttrTimestamp* value);
    HRESULT (*GetBooleanProperty)(IkcSysPropertyBag3* This, uint32_t tag, int* value);
    HRESULT (*GetIntegerProperty)(IkcSysPropertyBag3* This, uint32_t tag, int32_t* value);
    HRESULT (*GetUnsignedIntegerProperty)(IkcSysPropertyBag3* This, uint32_t tag, uint32_t* value);
    HRESULT (*GetDoubleProperty)(IkcSysPropertyBag3* This, uint32_t tag, double* value);
    HRESULT (*GetGuidProperty)(IkcSysPropertyBag3* This, uint32_t tag, _GUID* value);
    HRESULT (*GetStringProperty)(IkcSysPropertyBag3* This, uint32_t tag, QX_WCHAR** value);
    HRESULT(*GetTimestampProperty)
    (IkcSysPropertyBag3* This, uint32_t tag, kcSysAttrTimestamp* value);
    HRESULT (*Clone)(IkcSysPropertyBag3* This, IkcSysPropertyBag** copy);
    HRESULT (*ClearChangedTags)(IkcSysPropertyBag3* This);
    HRESULT (*EnumChangedTags)(IkcSysPropertyBag3* This, IkcSysEnumPropertyTag** tags);
    HRESULT(*GetTimestampPropertyUTC)
    (IkcSysPropertyBag3* This, uint32_t tag, kcSysAttrTimestampUTC* value);
    HRESULT(*SetTimestampPropertyUTC)
    (IkcSysPropertyBag3* This, uint32_t tag, const kcSysAttrTimestampUTC* value);
    HRESULT (*AcquireBatchLock)(IkcSysPropertyBag3* This);
    HRESULT (*ReleaseBatchLock)(IkcSysPropertyBag3* This);
} IkcSysPropertyBag3Vtbl;
struct IkcSysPropertyBag3 {
    const IkcSysPropertyBag3Vtbl* lpVtbl;
};

typedef struct IkcSysEnumStringListVtbl {
    QX_IUNKNOWN_SLOTS(IkcSysEnumStringList);
    HRESULT(*Next)
    (IkcSysEnumStringList* This, uint32_t wanted, QX_WCHAR** names, uint32_t* fetched);
    HRESULT (*Skip)(IkcSysEnumStringList* This, uint32_t count);
    HRESULT (*Reset)(IkcSysEnumStringList* This);
    HRESULT (*Clone)(IkcSysEnumStringList* This, IkcSysEnumStringList** copy);
} IkcSysEnumStringListVtbl;
struct IkcSysEnumStringList {
    const IkcSysEnumStringListVtbl* lpVtbl;
};

typedef struct IkcSysEnumPropertyTagVtbl {
    QX_IUNKNOWN_SLOTS(IkcSysEnumPropertyTag);
    HRESULT(*Next)
    (IkcSysEnumPropertyTag* This, uint32_t wanted, uint32_t* tags, uint32_t* fetched);
    HRESULT (*Skip)(IkcSysEnumPropertyTag* This, uint32_t count);
    HRESULT (*Reset)(IkcSysEnumPropertyTag* This);
    HRESULT (*Clone)(IkcSysEnumPropertyTag* This, IkcSysEnumPropertyTag** copy);
} IkcSysEnumPropertyTagVtbl;
struct IkcSysEnumPropertyTag {
    const IkcSysEnumPropertyTagVtbl* lpVtbl;
};

/* Supplied by the host: the expert calls AddPropertyBag once per item. A collection that keeps
   a bag takes its own reference with AddRef. */
typedef struct IkcSysPropertyBagCollectionVtbl {
    QX_IUNKNOWN_SLOTS(IkcSysPropertyBagCollection);
    HRESULT (*AddPropertyBag)(IkcSysPropertyBagCollection* This, IkcSysPropertyBag* bag);
} IkcSysPropertyBagCollectionVtbl;
struct IkcSysPropertyBagCollection {
    const IkcSysPropertyBagCollectionVtbl* lpVtbl;
};

#undef QX_IUNKNOWN_SLOTS

/* The module's exports. */
typedef HRESULT (*qxCreateExpertFunction)(void** expert);
typedef const char* const* (*qxVersionArrayFunction)(void);
#define QX_FACTORY_SYMBOL "createZEVASysapiExpert"
#define QX_VERSION_SYMBOL "nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray"

#ifdef __cplusplus
}
#endif

#endif
