/* The expert module's interfaces for hosts written in C: each interface is a struct whose
   first member points at its table of operations (lpVtbl), in the same slot order as the C++
   interfaces, so a pointer the module hands out can be used directly. Every operation takes
   the interface pointer itself as its first argument. The codes, identifiers, value types and
   tags it shares with C++ hosts are those of com/qxzeva_abi.h. */
#ifndef QX_EXPERT_QXZEVA_C_H
#define QX_EXPERT_QXZEVA_C_H

#include "com/qxzeva_abi.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint16_t QX_WCHAR; /* one 16-bit unit of a wide string */

#define QX_SUCCEEDED(hr) ((HRESULT)(hr) >= 0)
#define QX_FAILED(hr) ((HRESULT)(hr) < 0)

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
