/** @file qxzeva_c.h
    The expert module's interfaces for hosts written in C (C99) and C++: each interface is a
    struct whose first member points at its table of operations (lpVtbl), in the same slot
    order as the C++ interfaces, so a pointer the module hands out can be used directly. Every
    operation takes the interface pointer itself as its first argument. The codes,
    identifiers, value types and tags it shares with C++ hosts are those of qxzeva_abi.h. */
#ifndef QX_EXPERT_QXZEVA_C_H
#define QX_EXPERT_QXZEVA_C_H

#if !defined(__cplusplus) && (!defined(__STDC_VERSION__) || __STDC_VERSION__ < 199901L)
#error "the C view needs C99 or later (inline functions, stdint.h)"
#endif

#include "com/qxzeva_abi.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

/** One 16-bit unit of a wide string (UTF-16). @ingroup qxzeva_strings */
typedef uint16_t QX_WCHAR;

/** True for a success (S_OK, S_FALSE). @ingroup qxzeva_results */
#define QX_SUCCEEDED(hr) ((HRESULT)(hr) >= 0)
/** True for a failure (any negative code). @ingroup qxzeva_results */
#define QX_FAILED(hr) ((HRESULT)(hr) < 0)

/** @defgroup qxzeva_strings Boundary strings
    Wide strings handed out by the module: a 32-bit count of units, the units and a zero unit
    in one block; the pointer points at the first unit. The receiver owns each one and frees it
    with qxFreeWideString; the module never keeps or frees a string it handed out.
    @{ */

/** The number of 16-bit units of a boundary string, without its zero unit.
    @param text a string the module handed out (not null). Any task may call it. */
static inline uint32_t qxWideStringLength(const QX_WCHAR* text) {
    uint32_t units;
    memcpy(&units, (const unsigned char*)text - sizeof units, sizeof units);
    return units;
}
/** Frees a boundary string the module handed out; null is ignored. Any task may call it, once per
    string. */
static inline void qxFreeWideString(QX_WCHAR* text) {
    if (text != NULL)
        free((unsigned char*)text - sizeof(uint32_t));
}

/** @} */

/* In C++ the interface types below are those of namespace qxzeva::c, which a using-directive
   brings into the global namespace: a translation unit may include the module's C++ interface
   headers as well, whose classes of the same names stay ::IUnknown, ::IkcSysExpert2 and so
   on, while these are then spelled qxzeva::c::IUnknown, qxzeva::c::IkcSysExpert2. */
/** @cond QX_INTERNAL */
#ifdef __cplusplus
#define QX_C_VIEW_BEGIN namespace qxzeva::c {
#define QX_C_VIEW_END }
#else
#define QX_C_VIEW_BEGIN
#define QX_C_VIEW_END
#endif

/** @endcond */

QX_C_VIEW_BEGIN

/* The interfaces by name; IkcSysPropertyBag and IkcSysPropertyBag2 are the same table as
   IkcSysPropertyBag3, whose first slots are theirs. Each struct is declared on its own first,
   so that under C++ the name belongs to this namespace even when the C++ interface of the same
   name was declared before. */
struct IUnknown;
struct IkcSysExpert2;
struct IkcSysExpertPlugPlay;
struct IkcSysPropertyBag3;
struct IkcSysEnumStringList;
struct IkcSysEnumPropertyTag;
struct IkcSysPropertyBagCollection;
struct IkcSysFrameworkNotificationHandler;
/** Any interface, seen through its first three slots. */
typedef struct IUnknown IUnknown;
/** The expert. */
typedef struct IkcSysExpert2 IkcSysExpert2;
/** The expert's plug-and-play interface. */
typedef struct IkcSysExpertPlugPlay IkcSysExpertPlugPlay;
/** A property bag. */
typedef struct IkcSysPropertyBag3 IkcSysPropertyBag3;
/** A property bag: the same table as IkcSysPropertyBag3. */
typedef struct IkcSysPropertyBag3 IkcSysPropertyBag;
/** A property bag: the same table as IkcSysPropertyBag3. */
typedef struct IkcSysPropertyBag3 IkcSysPropertyBag2;
/** An enumerator of item names. */
typedef struct IkcSysEnumStringList IkcSysEnumStringList;
/** An enumerator of property tags. */
typedef struct IkcSysEnumPropertyTag IkcSysEnumPropertyTag;
/** A collection the host makes. */
typedef struct IkcSysPropertyBagCollection IkcSysPropertyBagCollection;
/** The host framework's notification handler; the module takes none. */
typedef struct IkcSysFrameworkNotificationHandler IkcSysFrameworkNotificationHandler;

/** @defgroup qxzeva_interfaces Interfaces
    Each operation says what it returns, who owns each out-value and which tasks may call it
    at once. Common to all of them:
    - Reference counts: AddRef and Release return the count after the change; the Release
      that returns 0 destroys the object, and the pointer may not be used again. Every
      interface pointer handed out (by QueryInterface, a factory, Clone or a search) carries
      one reference, which the receiver gives back with Release. Counts change atomically:
      any task may AddRef or Release any object at any time.
    - Out-values: unless an operation says otherwise, a failure leaves an out-pointer null
      (interfaces, strings) or unwritten (plain values).
    - Tasks: any task may call any object. The expert takes its own lock, so its operations
      may be called from several tasks at once; a bag serialises its operations, so they
      may too; one enumerator must not be used by two tasks at once (give each task its own
      Clone).
    - Calls back into the host: only IkcSysExpert2Vtbl::SearchForItemsAndProperties runs the
      host's code (the collection's AddPropertyBag); no other operation calls anything of the
      host's. The module holds none of its locks while the host's code runs, so from inside
      the callback the host may call any operation of any object of the module, on that task
      or on another task it waits for.
    @{ */

/** The operations every interface starts with. */
typedef struct IUnknownVtbl {
    /** Hands out another interface of the same object. Returns S_OK with *object set and one
        reference added, E_NOINTERFACE with *object null, E_POINTER when object is null. The caller
        releases *object. Any task, at once. */
    HRESULT (*QueryInterface)(IUnknown* This, const _GUID* iid, void** object);
    /** Adds a reference; returns the new count. Any task, at once. */
    int32_t (*AddRef)(IUnknown* This);
    /** Gives back a reference; returns the new count, 0 when the object is gone. Any task, at
        once. */
    int32_t (*Release)(IUnknown* This);
} IUnknownVtbl;
/** An object seen through IUnknown. */
struct IUnknown {
    const IUnknownVtbl* lpVtbl; /**< its operations */
};

/** The expert: what the module's factory (QX_FACTORY_SYMBOL) creates, one reference held by the
    caller. Its pointer also answers IID_IkcSysExpertInfo and IID_IkcSysExpert, whose tables are
    the first slots of this one. Any task may call any operation, several at once: the expert takes
    its own lock, which it never holds while the host's code runs. */
typedef struct IkcSysExpert2Vtbl {
    /** S_OK for IID_IUnknown, IID_IkcSysExpertInfo, IID_IkcSysExpert and IID_IkcSysExpert2 (this
        pointer) and IID_IkcSysExpertPlugPlay (an IkcSysExpertPlugPlay); E_NOINTERFACE, E_POINTER
        as for IUnknownVtbl::QueryInterface. The caller releases *object. Tasks: any, several at
        once. */
    HRESULT (*QueryInterface)(IkcSysExpert2* This, const _GUID* iid, void** object);
    /** Adds a reference; returns the new count. Tasks: any, at once. */
    int32_t (*AddRef)(IkcSysExpert2* This);
    /** Gives back a reference; returns the new count. The last one destroys the expert, whose bags
        and enumerators live on with their own references. Tasks: any, at once. */
    int32_t (*Release)(IkcSysExpert2* This);
    /** Writes the product's identifier. S_OK; E_POINTER when productId is null. Tasks: any,
        several at once. */
    HRESULT (*GetProductID)(IkcSysExpert2* This, _GUID* productId);
    /** The product's name for people, as a new boundary string the caller frees with
        qxFreeWideString. S_OK; E_POINTER when name is null; E_OUTOFMEMORY with *name null. Tasks:
        any, several at once. */
    HRESULT (*GetProductDisplayName)(IkcSysExpert2* This, QX_WCHAR** name);
    /** The version, "major.minor", as a new boundary string the caller frees with
        qxFreeWideString. S_OK; E_POINTER when version is null; E_OUTOFMEMORY with *version null.
        Tasks: any, several at once. */
    HRESULT (*GetProductVersion)(IkcSysExpert2* This, QX_WCHAR** version);
    /** The name programs know the product by, as a new boundary string the caller frees with
        qxFreeWideString. S_OK; E_POINTER when name is null; E_OUTOFMEMORY with *name null. Tasks:
        any, several at once. */
    HRESULT (*GetProgrammaticName)(IkcSysExpert2* This, QX_WCHAR** name);
    /** Asks the image driver which boards it knows and keeps a record of each (the records found
        before replace none: call it once). S_OK, also when there are no boards; S_FALSE when the
        driver did not answer (no records); E_OUTOFMEMORY or E_FAIL when a record could not be kept
        (the records kept before it stay). Tasks: any, several at once. */
    HRESULT (*Initialize)(IkcSysExpert2* This);
    /** Ends the expert's work; the records stay, so later searches still answer. S_OK. Tasks: any,
        several at once. */
    HRESULT (*Finalize)(IkcSysExpert2* This);
    /** Hands every item's property bag, filled with its properties, to the host's collection
        with IkcSysPropertyBagCollectionVtbl::AddPropertyBag, one call per item in the order of
        SearchForItemNames. Each bag is lent for that call: the collection AddRefs a bag it keeps,
        and releases it when done. The collection is not kept after the call returns. S_OK when at
        least one bag was given; S_FALSE when none was (no items); E_POINTER when collection is
        null; E_OUTOFMEMORY; or the failure AddPropertyBag returned, which stops the search (the
        bags given before it stay the collection's). Calls the host back: AddPropertyBag runs on
        the calling task with no lock of the module held, and may call any operation of this expert
        or of the bag, itself or through another task it waits for. By the first call the names
        have been asked of the driver and every item's record read: a rename or Initialize made
        from inside the collection shows in the next search, not in this one. The bag it gets
        holds the item's properties, all marked changed, no batch lock, and one reference of
        the expert's, given back when AddPropertyBag returns. Tasks: any, several at once. */
    HRESULT(*SearchForItemsAndProperties)
    (IkcSysExpert2* This, IkcSysPropertyBagCollection* collection);
    /** The items' names, asked of the driver again (an item's name is its active interface file),
        as a new enumerator the caller releases. S_OK with *names set; S_FALSE when there are no
        items, with *names null; E_POINTER when names is null; E_OUTOFMEMORY with *names null.
        Tasks: any, several at once. */
    HRESULT (*SearchForItemNames)(IkcSysExpert2* This, IkcSysEnumStringList** names);
    /** A new bag with the properties of the item named itemName: the item spelled exactly
        so, else the first whose name matches without regard to case; the caller releases it.
        S_OK with *bag set; E_ITEM_NOT_FOUND when no item has that name; E_POINTER when bag or
        itemName is null; E_OUTOFMEMORY. *bag is null on failure. itemName stays the caller's.
        Tasks: any, several at once. */
    HRESULT(*GetPropertiesOfItem)
    (IkcSysExpert2* This, const QX_WCHAR* itemName, IkcSysPropertyBag** bag);
    /** Not offered: E_NOTIMPL, *bag not written. Tasks: any, several at once. */
    HRESULT(*PopulateOrRefreshProperties)
    (IkcSysExpert2* This, const QX_WCHAR* itemName, uint32_t tagCount, const uint32_t* tags,
     int refresh, IkcSysPropertyBag** bag);
    /** Not offered: E_NOTIMPL. Tasks: any, several at once. */
    HRESULT (*SetPreferredLocale)(IkcSysExpert2* This, int32_t locale);
    /** Not offered: E_NOTIMPL, *valid and *message not written. Tasks: any, several at once. */
    HRESULT(*RenameAlias)
    (IkcSysExpert2* This, const QX_WCHAR* oldAlias, const QX_WCHAR* newAlias, int32_t mode,
     int* valid, QX_WCHAR** message);
    /** Not offered: E_NOTIMPL, with *tags and *message (when not null) set to null; E_POINTER when
        tags or bag is null. The bag stays the caller's. Tasks: any, several at once. */
    HRESULT(*ValidatePropertyChanges)
    (IkcSysExpert2* This, const QX_WCHAR* itemName, IkcSysPropertyBag2* bag,
     IkcSysEnumPropertyTag** tags, QX_WCHAR** message);
    /** Not offered: E_NOTIMPL; E_POINTER when bag is null. *rebootRequired not written. Tasks:
        any, several at once. */
    HRESULT(*PersistPropertyChanges)
    (IkcSysExpert2* This, const QX_WCHAR* itemName, IkcSysPropertyBag2* bag, int* rebootRequired);
} IkcSysExpert2Vtbl;
/** An expert pointer. */
struct IkcSysExpert2 {
    const IkcSysExpert2Vtbl* lpVtbl; /**< its operations */
};

/** The expert's plug-and-play interface, from QueryInterface with IID_IkcSysExpertPlugPlay. Any
    task, several at once. */
typedef struct IkcSysExpertPlugPlayVtbl {
    /** S_OK for IID_IkcSysExpertPlugPlay (this pointer) and for IID_IUnknown,
        IID_IkcSysExpertInfo, IID_IkcSysExpert and IID_IkcSysExpert2 (an IkcSysExpert2);
        E_NOINTERFACE with *object null; E_POINTER when object is null. The caller releases
        *object. Tasks: any, several at once. */
    HRESULT (*QueryInterface)(IkcSysExpertPlugPlay* This, const _GUID* iid, void** object);
    /** Adds a reference to the expert; returns the new count. Tasks: any, at once. */
    int32_t (*AddRef)(IkcSysExpertPlugPlay* This);
    /** Gives back a reference to the expert; returns the new count, 0 when the expert is gone.
        Tasks: any, at once. */
    int32_t (*Release)(IkcSysExpertPlugPlay* This);
    /** Not offered: E_NOTIMPL; the handler is not kept. Tasks: any, several at once. */
    HRESULT(*RegisterNotificationCallback)
    (IkcSysExpertPlugPlay* This, IkcSysFrameworkNotificationHandler* handler);
} IkcSysExpertPlugPlayVtbl;
/** A plug-and-play pointer. */
struct IkcSysExpertPlugPlay {
    const IkcSysExpertPlugPlayVtbl* lpVtbl; /**< its operations */
};

/** A property bag: typed values under 32-bit tags, and the set of tags changed since the last
    ClearChangedTags. The bag answers all three of its identifiers with one pointer to this whole
    table. Any task may call any operation, several at once: the bag serialises them, one at a
    time. */
typedef struct IkcSysPropertyBag3Vtbl {
    /** S_OK for IID_IUnknown, IID_IkcSysPropertyBag, IID_IkcSysPropertyBag2 and
        IID_IkcSysPropertyBag3 (this pointer); E_NOINTERFACE, E_POINTER as for
        IUnknownVtbl::QueryInterface. The caller releases *object. Tasks: any, several at once; the
        bag takes them one at a time. */
    HRESULT (*QueryInterface)(IkcSysPropertyBag3* This, const _GUID* iid, void** object);
    /** Adds a reference; returns the new count. Tasks: any, at once. */
    int32_t (*AddRef)(IkcSysPropertyBag3* This);
    /** Gives back a reference; returns the new count. The last one frees the bag and its values,
        and gives back batch locks still held. Tasks: any, at once. */
    int32_t (*Release)(IkcSysPropertyBag3* This);
    /** A new enumerator over the tags present now, in ascending order (later changes do not reach
        it); the caller releases it. S_OK; S_FALSE with *tags null when the bag is empty; E_POINTER
        when tags is null; E_OUTOFMEMORY with *tags null. Tasks: any, several at once; the bag
        takes them one at a time. */
    HRESULT (*EnumProperties)(IkcSysPropertyBag3* This, IkcSysEnumPropertyTag** tags);
    /** S_OK when the bag holds tag, S_FALSE when not. Tasks: any, several at once; the bag takes
        them one at a time. */
    HRESULT (*HasProperty)(IkcSysPropertyBag3* This, uint32_t tag);
    /** Writes the type of the value under tag. S_OK; E_PROPERTY_NOT_FOUND (*type not written);
        E_POINTER when type is null. Tasks: any, several at once; the bag takes them one at a
        time. */
    HRESULT (*GetPropertyType)(IkcSysPropertyBag3* This, uint32_t tag, kcSysAttributeType* type);
    /** Removes tag, and its changed mark. S_OK; E_PROPERTY_NOT_FOUND. Tasks: any, several at once;
        the bag takes them one at a time. */
    HRESULT (*DeleteProperty)(IkcSysPropertyBag3* This, uint32_t tag);
    /** Removes every tag and every changed mark. S_OK. Tasks: any, several at once; the bag takes
        them one at a time. */
    HRESULT (*DeleteAllProperties)(IkcSysPropertyBag3* This);
    /** Stores a boolean (non-zero is true) under tag and marks tag changed. S_OK;
        E_PROPERTY_TYPE_MISMATCH when tag holds another type (the value stays); E_OUTOFMEMORY.
        Tasks: any, several at once; the bag takes them one at a time. */
    HRESULT (*SetBooleanProperty)(IkcSysPropertyBag3* This, uint32_t tag, int value);
    /** Stores a signed integer under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH
        when tag holds another type (the value stays); E_OUTOFMEMORY. Tasks: any, several at once;
        the bag takes them one at a time. */
    HRESULT (*SetIntegerProperty)(IkcSysPropertyBag3* This, uint32_t tag, int32_t value);
    /** Stores an unsigned integer under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH
        when tag holds another type (the value stays); E_OUTOFMEMORY. Tasks: any, several at once;
        the bag takes them one at a time. */
    HRESULT (*SetUnsignedIntegerProperty)(IkcSysPropertyBag3* This, uint32_t tag, uint32_t value);
    /** Stores a double under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when tag
        holds another type (the value stays); E_OUTOFMEMORY. Tasks: any, several at once; the bag
        takes them one at a time. */
    HRESULT (*SetDoubleProperty)(IkcSysPropertyBag3* This, uint32_t tag, double value);
    /** Stores a GUID under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when tag
        holds another type (the value stays); E_OUTOFMEMORY. Tasks: any, several at once; the bag
        takes them one at a time. */
    HRESULT (*SetGuidProperty)(IkcSysPropertyBag3* This, uint32_t tag, _GUID value);
    /** Stores a string under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when tag
        holds another type (the value stays); E_OUTOFMEMORY. The bag keeps its own copy of value (a
        zero-terminated wide string that stays the caller's); null stores a null string. Tasks:
        any, several at once; the bag takes them one at a time. */
    HRESULT (*SetStringProperty)(IkcSysPropertyBag3* This, uint32_t tag, const QX_WCHAR* value);
    /** Local timestamps cannot be stored: E_NOTIMPL. Use SetTimestampPropertyUTC. Tasks: any,
        several at once; the bag takes them one at a time. */
    HRESULT(*_SetTimestampProperty)
    (IkcSysPropertyBag3* This, uint32_t tag, const kcSysAttrTimestamp* value);
    /** Writes the boolean under tag as 1 or 0. S_OK; E_PROPERTY_NOT_FOUND or
        E_PROPERTY_TYPE_MISMATCH with *value 0; E_POINTER when value is null. Tasks: any, several
        at once; the bag takes them one at a time. */
    HRESULT (*GetBooleanProperty)(IkcSysPropertyBag3* This, uint32_t tag, int* value);
    /** Writes the signed integer under tag. S_OK; E_PROPERTY_NOT_FOUND or E_PROPERTY_TYPE_MISMATCH
        (*value not written); E_POINTER when value is null. Tasks: any, several at once; the bag
        takes them one at a time. */
    HRESULT (*GetIntegerProperty)(IkcSysPropertyBag3* This, uint32_t tag, int32_t* value);
    /** Writes the unsigned integer under tag. S_OK; E_PROPERTY_NOT_FOUND or
        E_PROPERTY_TYPE_MISMATCH (*value not written); E_POINTER when value is null. Tasks: any,
        several at once; the bag takes them one at a time. */
    HRESULT (*GetUnsignedIntegerProperty)(IkcSysPropertyBag3* This, uint32_t tag, uint32_t* value);
    /** Writes the double under tag. S_OK; E_PROPERTY_NOT_FOUND or E_PROPERTY_TYPE_MISMATCH (*value
        not written); E_POINTER when value is null. Tasks: any, several at once; the bag takes them
        one at a time. */
    HRESULT (*GetDoubleProperty)(IkcSysPropertyBag3* This, uint32_t tag, double* value);
    /** Writes the GUID under tag. S_OK; E_PROPERTY_NOT_FOUND or E_PROPERTY_TYPE_MISMATCH (*value
        not written); E_POINTER when value is null. Tasks: any, several at once; the bag takes them
        one at a time. */
    HRESULT (*GetGuidProperty)(IkcSysPropertyBag3* This, uint32_t tag, _GUID* value);
    /** The string under tag as a new boundary string the caller frees with qxFreeWideString; null
        when a null string is stored. S_OK; E_PROPERTY_NOT_FOUND, E_PROPERTY_TYPE_MISMATCH or
        E_OUTOFMEMORY with *value null; E_POINTER when value is null. Tasks: any, several at once;
        the bag takes them one at a time. */
    HRESULT (*GetStringProperty)(IkcSysPropertyBag3* This, uint32_t tag, QX_WCHAR** value);
    /** The UTC timestamp under tag as local calendar time. S_OK; E_PROPERTY_NOT_FOUND or
        E_PROPERTY_TYPE_MISMATCH with every field of *value -1; E_POINTER when value is null.
        Tasks: any, several at once; the bag takes them one at a time. */
    HRESULT(*GetTimestampProperty)
    (IkcSysPropertyBag3* This, uint32_t tag, kcSysAttrTimestamp* value);
    /** A new bag holding copies of every value, with no tag marked changed; the caller releases
        it. S_OK; E_POINTER when copy is null; E_OUTOFMEMORY with *copy null. Tasks: any, several
        at once; the bag takes them one at a time. */
    HRESULT (*Clone)(IkcSysPropertyBag3* This, IkcSysPropertyBag** copy);
    /** Forgets which tags changed. S_OK; S_FALSE when none had. Tasks: any, several at once; the
        bag takes them one at a time. */
    HRESULT (*ClearChangedTags)(IkcSysPropertyBag3* This);
    /** A new enumerator over the tags changed since the last ClearChangedTags, in ascending order;
        the caller releases it. S_OK; S_FALSE with *tags null when none have; E_POINTER when tags
        is null; E_OUTOFMEMORY with *tags null. Tasks: any, several at once; the bag takes them one
        at a time. */
    HRESULT (*EnumChangedTags)(IkcSysPropertyBag3* This, IkcSysEnumPropertyTag** tags);
    /** Writes the UTC timestamp under tag. S_OK; E_PROPERTY_NOT_FOUND or E_PROPERTY_TYPE_MISMATCH
        (*value not written); E_POINTER when value is null. Tasks: any, several at once; the bag
        takes them one at a time. */
    HRESULT(*GetTimestampPropertyUTC)
    (IkcSysPropertyBag3* This, uint32_t tag, kcSysAttrTimestampUTC* value);
    /** Stores a UTC timestamp, copied from *value (which stays the caller's), under tag and marks
        tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when tag holds another type (the value stays);
        E_OUTOFMEMORY. E_POINTER when value is null. Tasks: any, several at once; the bag takes
        them one at a time. */
    HRESULT(*SetTimestampPropertyUTC)
    (IkcSysPropertyBag3* This, uint32_t tag, const kcSysAttrTimestampUTC* value);
    /** Keeps the bag to the calling task until its matching ReleaseBatchLock: every other task's
        call on the bag waits until then. Nests. S_OK. Tasks: any, several at once; the bag takes
        them one at a time. */
    HRESULT (*AcquireBatchLock)(IkcSysPropertyBag3* This);
    /** Gives back one AcquireBatchLock of the calling task. S_OK; E_FAIL when no batch lock is
        held. Tasks: any, several at once; the bag takes them one at a time. */
    HRESULT (*ReleaseBatchLock)(IkcSysPropertyBag3* This);
} IkcSysPropertyBag3Vtbl;
/** A property bag pointer, whichever of its three identifiers it was asked for. */
struct IkcSysPropertyBag3 {
    const IkcSysPropertyBag3Vtbl* lpVtbl; /**< its operations */
};

/** An enumerator of item names over the list made when it was handed out. One enumerator must not
    be used by two tasks at once; clones move on their own, each may serve another task.
    QueryInterface, AddRef and Release: any task, at once. */
typedef struct IkcSysEnumStringListVtbl {
    /** S_OK for IID_IUnknown and IID_IkcSysEnumStringList (this pointer); E_NOINTERFACE, E_POINTER
        as for IUnknownVtbl::QueryInterface. The caller releases *object. Tasks: any, at once. */
    HRESULT (*QueryInterface)(IkcSysEnumStringList* This, const _GUID* iid, void** object);
    /** Adds a reference; returns the new count. Tasks: any, at once. */
    int32_t (*AddRef)(IkcSysEnumStringList* This);
    /** Gives back a reference; returns the new count. The list lives while any clone does. Tasks:
        any, at once. */
    int32_t (*Release)(IkcSysEnumStringList* This);
    /** Hands out up to wanted names into names[0..wanted-1], each a new boundary string the caller
        frees with qxFreeWideString, and moves on past them; *fetched (may be null when wanted is
        1) gets how many. S_OK when all wanted were given; S_FALSE when fewer were (the end);
        E_POINTER when names is null, or fetched is null and wanted is not 1; E_OUTOFMEMORY with
        nothing handed out (the slots cleared, *fetched 0) and the position kept. Tasks: one at a
        time on this enumerator. */
    HRESULT(*Next)
    (IkcSysEnumStringList* This, uint32_t wanted, QX_WCHAR** names, uint32_t* fetched);
    /** Moves on past count names. S_OK; S_FALSE when the end came first. Tasks: one at a time on
        this enumerator. */
    HRESULT (*Skip)(IkcSysEnumStringList* This, uint32_t count);
    /** Moves back to the first name. S_OK. Tasks: one at a time on this enumerator. */
    HRESULT (*Reset)(IkcSysEnumStringList* This);
    /** A new enumerator at the same position over the same list; the caller releases it. S_OK;
        E_POINTER when copy is null; E_OUTOFMEMORY with *copy null. Tasks: one at a time on this
        enumerator. */
    HRESULT (*Clone)(IkcSysEnumStringList* This, IkcSysEnumStringList** copy);
} IkcSysEnumStringListVtbl;
/** An item-name enumerator pointer. */
struct IkcSysEnumStringList {
    const IkcSysEnumStringListVtbl* lpVtbl; /**< its operations */
};

/** An enumerator of property tags over a snapshot taken when it was handed out. One enumerator
    must not be used by two tasks at once; clones move on their own, each may serve another task.
    QueryInterface, AddRef and Release: any task, at once. */
typedef struct IkcSysEnumPropertyTagVtbl {
    /** S_OK for IID_IUnknown and IID_IkcSysEnumPropertyTag (this pointer); E_NOINTERFACE,
        E_POINTER as for IUnknownVtbl::QueryInterface. The caller releases *object. Tasks: any, at
        once. */
    HRESULT (*QueryInterface)(IkcSysEnumPropertyTag* This, const _GUID* iid, void** object);
    /** Adds a reference; returns the new count. Tasks: any, at once. */
    int32_t (*AddRef)(IkcSysEnumPropertyTag* This);
    /** Gives back a reference; returns the new count. The snapshot lives while any clone does.
        Tasks: any, at once. */
    int32_t (*Release)(IkcSysEnumPropertyTag* This);
    /** Writes up to wanted tags into tags[0..wanted-1] and moves on past them; *fetched (may be
        null when wanted is 1) gets how many. S_OK when all wanted were given; S_FALSE when fewer
        were (the end); E_POINTER when tags is null, or fetched is null and wanted is not 1. Tasks:
        one at a time on this enumerator. */
    HRESULT(*Next)
    (IkcSysEnumPropertyTag* This, uint32_t wanted, uint32_t* tags, uint32_t* fetched);
    /** Moves on past count tags. S_OK; S_FALSE when the end came first. Tasks: one at a time on
        this enumerator. */
    HRESULT (*Skip)(IkcSysEnumPropertyTag* This, uint32_t count);
    /** Moves back to the first tag. S_OK. Tasks: one at a time on this enumerator. */
    HRESULT (*Reset)(IkcSysEnumPropertyTag* This);
    /** A new enumerator at the same position over the same snapshot; the caller releases it. S_OK;
        E_POINTER when copy is null; E_OUTOFMEMORY with *copy null. Tasks: one at a time on this
        enumerator. */
    HRESULT (*Clone)(IkcSysEnumPropertyTag* This, IkcSysEnumPropertyTag** copy);
} IkcSysEnumPropertyTagVtbl;
/** A property-tag enumerator pointer. */
struct IkcSysEnumPropertyTag {
    const IkcSysEnumPropertyTagVtbl* lpVtbl; /**< its operations */
};

/** Supplied by the host to IkcSysExpert2Vtbl::SearchForItemsAndProperties: what the expert expects
    of it. The expert calls it from the task that called the search, one call at a time, with none
    of the module's locks held, and does not keep it after the search returns. */
typedef struct IkcSysPropertyBagCollectionVtbl {
    /** Should answer IID_IUnknown with S_OK, as IUnknownVtbl::QueryInterface. Called by the task
        that called the search. */
    HRESULT (*QueryInterface)(IkcSysPropertyBagCollection* This, const _GUID* iid, void** object);
    /** Should add a reference and return the count, as IUnknownVtbl::AddRef. Called by the task
        that called the search. */
    int32_t (*AddRef)(IkcSysPropertyBagCollection* This);
    /** Should give back a reference and return the count, as IUnknownVtbl::Release. Called by the
        task that called the search. */
    int32_t (*Release)(IkcSysPropertyBagCollection* This);
    /** Receives one item's bag, lent for the call: a collection that keeps it takes its own
        reference with AddRef and later releases it. Return S_OK to go on; a failure code stops the
        search, which returns it. Called by the task that called the search. */
    HRESULT (*AddPropertyBag)(IkcSysPropertyBagCollection* This, IkcSysPropertyBag* bag);
} IkcSysPropertyBagCollectionVtbl;
/** A collection pointer the host makes. */
struct IkcSysPropertyBagCollection {
    const IkcSysPropertyBagCollectionVtbl* lpVtbl; /**< its operations */
};

/** @} */

QX_C_VIEW_END

#ifdef __cplusplus
using namespace qxzeva::c;
#endif
#undef QX_C_VIEW_BEGIN
#undef QX_C_VIEW_END

/** @defgroup qxzeva_exports Exports
    The module's two exports a host calls, found with qxModuleSymbol by name.
    @{ */

/** The factory, exported as QX_FACTORY_SYMBOL: *expert receives an IkcSysExpert2 pointer
    carrying one reference, which the caller gives back with Release. S_OK; E_POINTER when
    expert is null; E_OUTOFMEMORY with *expert null. Any task, several at once. */
typedef HRESULT (*qxCreateExpertFunction)(void** expert);
/** The version record, exported as QX_VERSION_SYMBOL: nine "key=value" strings
    (nQXVersion_CompanyName ... nQXVersion_Comments), then a null pointer. Static: the caller
    neither frees nor changes it. Any task. */
typedef const char* const* (*qxVersionArrayFunction)(void);
/** The factory's symbol name. */
#define QX_FACTORY_SYMBOL "createZEVASysapiExpert"
/** The version record's symbol name. */
#define QX_VERSION_SYMBOL "nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray"

/** @} */

#ifdef __cplusplus
}
#endif

#endif
