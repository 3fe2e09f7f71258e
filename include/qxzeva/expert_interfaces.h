/** @file expert_interfaces.h
    The expert's interfaces, their slots each written once, and the collection a host hands to
    the expert's search. The C view's tables and the module's C++ classes are both expanded from
    these lists (see interfaces.h). */
#ifndef QXZEVA_EXPERT_INTERFACES_H
#define QXZEVA_EXPERT_INTERFACES_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/interfaces.h"

/** The slots of IkcSysExpertInfo, after IUnknown: the product's identity. */
/* clang-format off */
#define QXZEVA_IKCSYSEXPERTINFO_SLOTS(X, L, Self)                                                  \
    X(HRESULT, GetProductID, (L##_THIS(Self) _GUID* productId))                                    \
    X(HRESULT, GetProductDisplayName, (L##_THIS(Self) L##_WCHAR** name))                           \
    X(HRESULT, GetProductVersion, (L##_THIS(Self) L##_WCHAR** version))                            \
    X(HRESULT, GetProgrammaticName, (L##_THIS(Self) L##_WCHAR** name))
/* clang-format on */

/** The slots of IkcSysExpert, after IkcSysExpertInfo: discovery, the items and their bags. */
/* clang-format off */
#define QXZEVA_IKCSYSEXPERT_SLOTS(X, L, Self)                                                      \
    X(HRESULT, Initialize, (L##_THIS_ALONE(Self)))                                                 \
    X(HRESULT, Finalize, (L##_THIS_ALONE(Self)))                                                   \
    X(HRESULT, SearchForItemsAndProperties,                                                        \
      (L##_THIS(Self) L##_FACE(IkcSysPropertyBagCollection)* collection))                          \
    X(HRESULT, SearchForItemNames, (L##_THIS(Self) L##_FACE(IkcSysEnumStringList)** names))        \
    X(HRESULT, GetPropertiesOfItem,                                                                \
      (L##_THIS(Self) const L##_WCHAR* itemName, L##_FACE(IkcSysPropertyBag)** bag))               \
    X(HRESULT, PopulateOrRefreshProperties,                                                        \
      (L##_THIS(Self) const L##_WCHAR* itemName, uint32_t tagCount, const uint32_t* tags,          \
       int refresh, L##_FACE(IkcSysPropertyBag)** bag))                                            \
    X(HRESULT, SetPreferredLocale, (L##_THIS(Self) L##_ENUM(kcSysLocale) locale))                  \
    X(HRESULT, RenameAlias,                                                                        \
      (L##_THIS(Self) const L##_WCHAR* oldAlias, const L##_WCHAR* newAlias,                        \
       L##_ENUM(kcSysRenameValidationMode) mode, int* valid, L##_WCHAR** message))
/* clang-format on */

/** The slots of IkcSysExpert2, after IkcSysExpert: property changes (not offered). */
/* clang-format off */
#define QXZEVA_IKCSYSEXPERT2_SLOTS(X, L, Self)                                                     \
    X(HRESULT, ValidatePropertyChanges,                                                            \
      (L##_THIS(Self) const L##_WCHAR* itemName, L##_FACE(IkcSysPropertyBag2)* bag,                \
       L##_FACE(IkcSysEnumPropertyTag)** tags, L##_WCHAR** message))                               \
    X(HRESULT, PersistPropertyChanges,                                                             \
      (L##_THIS(Self) const L##_WCHAR* itemName, L##_FACE(IkcSysPropertyBag2)* bag,                \
       int* rebootRequired))
/* clang-format on */

/** The slots of IkcSysExpertPlugPlay, after IUnknown. */
/* clang-format off */
#define QXZEVA_IKCSYSEXPERTPLUGPLAY_SLOTS(X, L, Self)                                              \
    X(HRESULT, RegisterNotificationCallback,                                                       \
      (L##_THIS(Self) L##_FACE(IkcSysFrameworkNotificationHandler)* handler))
/* clang-format on */

/** The slots of IkcSysPropertyBagCollection, after IUnknown: made by the host. */
/* clang-format off */
#define QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_SLOTS(X, L, Self)                                       \
    X(HRESULT, AddPropertyBag, (L##_THIS(Self) L##_FACE(IkcSysPropertyBag)* bag))
/* clang-format on */

/** Every slot of the C view's IkcSysExpert2Vtbl, in order. */
#define QXZEVA_IKCSYSEXPERT2_TABLE(X, L, Self)                                                     \
    QXZEVA_IUNKNOWN_SLOTS(X, L, Self)                                                              \
    QXZEVA_IKCSYSEXPERTINFO_SLOTS(X, L, Self)                                                      \
    QXZEVA_IKCSYSEXPERT_SLOTS(X, L, Self)                                                          \
    QXZEVA_IKCSYSEXPERT2_SLOTS(X, L, Self)
/** Every slot of the C view's IkcSysExpertPlugPlayVtbl, in order. */
#define QXZEVA_IKCSYSEXPERTPLUGPLAY_TABLE(X, L, Self)                                              \
    QXZEVA_IUNKNOWN_SLOTS(X, L, Self)                                                              \
    QXZEVA_IKCSYSEXPERTPLUGPLAY_SLOTS(X, L, Self)
/** Every slot of the C view's IkcSysPropertyBagCollectionVtbl, in order. */
#define QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_TABLE(X, L, Self)                                       \
    QXZEVA_IUNKNOWN_SLOTS(X, L, Self)                                                              \
    QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_SLOTS(X, L, Self)

/* What each slot of the C view's tables does, returns and hands out, who frees what and
   which tasks may call it: the C++ interfaces' operations of the same names do the same. */
/** @var IkcSysExpert2Vtbl::QueryInterface
    S_OK for IID_IUnknown, IID_IkcSysExpertInfo, IID_IkcSysExpert and IID_IkcSysExpert2 (this
    pointer) and IID_IkcSysExpertPlugPlay (an IkcSysExpertPlugPlay); E_NOINTERFACE, E_POINTER as
    for IUnknownVtbl::QueryInterface. The caller releases *object. Tasks: any, several at once. */
/** @var IkcSysExpert2Vtbl::AddRef
    Adds a reference; returns the new count. Tasks: any, at once. */
/** @var IkcSysExpert2Vtbl::Release
    Gives back a reference; returns the new count. The last one destroys the expert, whose bags
    and enumerators live on with their own references. Tasks: any, at once. */
/** @var IkcSysExpert2Vtbl::GetProductID
    Writes the product's identifier. S_OK; E_POINTER when productId is null. Tasks: any, several
    at once. */
/** @var IkcSysExpert2Vtbl::GetProductDisplayName
    The product's name for people, as a new boundary string the caller frees with
    qxFreeWideString. S_OK; E_POINTER when name is null; E_OUTOFMEMORY with *name null. Tasks:
    any, several at once. */
/** @var IkcSysExpert2Vtbl::GetProductVersion
    The version, "major.minor", as a new boundary string the caller frees with qxFreeWideString.
    S_OK; E_POINTER when version is null; E_OUTOFMEMORY with *version null. Tasks: any, several
    at once. */
/** @var IkcSysExpert2Vtbl::GetProgrammaticName
    The name programs know the product by, as a new boundary string the caller frees with
    qxFreeWideString. S_OK; E_POINTER when name is null; E_OUTOFMEMORY with *name null. Tasks:
    any, several at once. */
/** @var IkcSysExpert2Vtbl::Initialize
    Asks the image driver which boards it knows and keeps a record of each (the records found
    before replace none: call it once). S_OK, also when there are no boards; S_FALSE when the
    driver did not answer (no records), as when the simulated driver refused its board
    description: S_FALSE is a success code to QX_SUCCEEDED, so test the result == S_OK, and
    ask zevadriverLastDescriptionError for the driver's reason; E_OUTOFMEMORY or E_FAIL when a
    record could not be kept (the records kept before it stay). Tasks: any, several at once. */
/** @var IkcSysExpert2Vtbl::Finalize
    Ends the expert's work; the records stay, so later searches still answer. S_OK. Tasks: any,
    several at once. */
/** @var IkcSysExpert2Vtbl::SearchForItemsAndProperties
    Hands every item's property bag, filled with every property of the table
    (QXZEVA_ITEM_PROPERTY_COUNT of them), to the host's collection with
    IkcSysPropertyBagCollectionVtbl::AddPropertyBag, one call per item in the order of
    SearchForItemNames. Each bag is lent for that call: the collection AddRefs a bag it keeps,
    and releases it when done. The collection is not kept after the call returns. S_OK when at
    least one bag was given; S_FALSE when none was (no items); E_POINTER when collection is
    null; E_OUTOFMEMORY; or the failure AddPropertyBag returned, which stops the search (the
    bags given before it stay the collection's). Calls the host back: AddPropertyBag runs on the
    calling task with no lock of the module held, and may call any operation of this expert or
    of the bag, itself or through another task it waits for. By the first call the names have
    been asked of the driver and every item's record read: a rename or Initialize made from
    inside the collection shows in the next search, not in this one. The bag it gets holds the
    item's properties, every one of the table, all marked changed, no batch lock, and one
    reference of the expert's, given back when AddPropertyBag returns. Tasks: any, several at
    once. */
/** @var IkcSysExpert2Vtbl::SearchForItemNames
    The items' names, asked of the driver again (an item's name is its active interface file),
    as a new enumerator the caller releases. S_OK with *names set; S_FALSE when there are no
    items, with *names null; E_POINTER when names is null; E_OUTOFMEMORY with *names null.
    Tasks: any, several at once. */
/** @var IkcSysExpert2Vtbl::GetPropertiesOfItem
    A new bag with every property of the table for the item named itemName: the item spelled
    exactly so, else the first whose name matches without regard to case; the caller releases
    it. S_OK with *bag set; E_ITEM_NOT_FOUND when no item has that name; E_POINTER when bag or
    itemName is null; E_OUTOFMEMORY. *bag is null on failure. itemName stays the caller's.
    Tasks: any, several at once. */
/** @var IkcSysExpert2Vtbl::PopulateOrRefreshProperties
    Not offered: E_NOTIMPL, *bag not written. Tasks: any, several at once. */
/** @var IkcSysExpert2Vtbl::SetPreferredLocale
    Not offered: E_NOTIMPL. Tasks: any, several at once. */
/** @var IkcSysExpert2Vtbl::RenameAlias
    Not offered: E_NOTIMPL, *valid and *message not written. Tasks: any, several at once. */
/** @var IkcSysExpert2Vtbl::ValidatePropertyChanges
    Not offered: E_NOTIMPL, with *tags and *message (when not null) set to null; E_POINTER when
    tags or bag is null. The bag stays the caller's. Tasks: any, several at once. */
/** @var IkcSysExpert2Vtbl::PersistPropertyChanges
    Not offered: E_NOTIMPL; E_POINTER when bag is null. *rebootRequired not written. Tasks: any,
    several at once. */

/** @var IkcSysExpertPlugPlayVtbl::QueryInterface
    S_OK for IID_IkcSysExpertPlugPlay (this pointer) and for IID_IUnknown, IID_IkcSysExpertInfo,
    IID_IkcSysExpert and IID_IkcSysExpert2 (an IkcSysExpert2); E_NOINTERFACE with *object null;
    E_POINTER when object is null. The caller releases *object. Tasks: any, several at once. */
/** @var IkcSysExpertPlugPlayVtbl::AddRef
    Adds a reference to the expert; returns the new count. Tasks: any, at once. */
/** @var IkcSysExpertPlugPlayVtbl::Release
    Gives back a reference to the expert; returns the new count, 0 when the expert is gone.
    Tasks: any, at once. */
/** @var IkcSysExpertPlugPlayVtbl::RegisterNotificationCallback
    Not offered: E_NOTIMPL; the handler is not kept. Tasks: any, several at once. */

/** @var IkcSysPropertyBagCollectionVtbl::QueryInterface
    Should answer IID_IUnknown with S_OK, as IUnknownVtbl::QueryInterface. Called by the task
    that called the search. */
/** @var IkcSysPropertyBagCollectionVtbl::AddRef
    Should add a reference and return the count, as IUnknownVtbl::AddRef. Called by the task
    that called the search. */
/** @var IkcSysPropertyBagCollectionVtbl::Release
    Should give back a reference and return the count, as IUnknownVtbl::Release. Called by the
    task that called the search. */
/** @var IkcSysPropertyBagCollectionVtbl::AddPropertyBag
    Receives one item's bag, lent for the call: a collection that keeps it takes its own
    reference with AddRef and later releases it. Return S_OK to go on; a failure code stops the
    search, which returns it. Called by the task that called the search. */

#endif
