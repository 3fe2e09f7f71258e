/** @file enum_interfaces.h
    The two enumerators' interfaces, their slots each written once: item names and property
    tags. The C view's tables and the module's C++ classes are both expanded from these lists
    (see interfaces.h). */
#ifndef QXZEVA_ENUM_INTERFACES_H
#define QXZEVA_ENUM_INTERFACES_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/interfaces.h"

/** The slots of IkcSysEnumStringList, after IUnknown: Next hands out boundary strings. */
/* clang-format off */
#define QXZEVA_IKCSYSENUMSTRINGLIST_SLOTS(X, L, Self)                                              \
    X(HRESULT, Next, (L##_THIS(Self) uint32_t wanted, L##_WCHAR** names, uint32_t* fetched))       \
    X(HRESULT, Skip, (L##_THIS(Self) uint32_t count))                                              \
    X(HRESULT, Reset, (L##_THIS_ALONE(Self)))                                                      \
    X(HRESULT, Clone, (L##_THIS(Self) L##_FACE(IkcSysEnumStringList)** copy))
/* clang-format on */

/** The slots of IkcSysEnumPropertyTag, after IUnknown. */
/* clang-format off */
#define QXZEVA_IKCSYSENUMPROPERTYTAG_SLOTS(X, L, Self)                                             \
    X(HRESULT, Next, (L##_THIS(Self) uint32_t wanted, uint32_t* tags, uint32_t* fetched))          \
    X(HRESULT, Skip, (L##_THIS(Self) uint32_t count))                                              \
    X(HRESULT, Reset, (L##_THIS_ALONE(Self)))                                                      \
    X(HRESULT, Clone, (L##_THIS(Self) L##_FACE(IkcSysEnumPropertyTag)** copy))
/* clang-format on */

/** Every slot of the C view's IkcSysEnumStringListVtbl, in order. */
#define QXZEVA_IKCSYSENUMSTRINGLIST_TABLE(X, L, Self)                                              \
    QXZEVA_IUNKNOWN_SLOTS(X, L, Self)                                                              \
    QXZEVA_IKCSYSENUMSTRINGLIST_SLOTS(X, L, Self)
/** Every slot of the C view's IkcSysEnumPropertyTagVtbl, in order. */
#define QXZEVA_IKCSYSENUMPROPERTYTAG_TABLE(X, L, Self)                                             \
    QXZEVA_IUNKNOWN_SLOTS(X, L, Self)                                                              \
    QXZEVA_IKCSYSENUMPROPERTYTAG_SLOTS(X, L, Self)

/* What each slot of the C view's tables does, returns and hands out, who frees what and
   which tasks may call it: the C++ interfaces' operations of the same names do the same. */
/** @var IkcSysEnumStringListVtbl::QueryInterface
    S_OK for IID_IUnknown and IID_IkcSysEnumStringList (this pointer); E_NOINTERFACE, E_POINTER
    as for IUnknownVtbl::QueryInterface. The caller releases *object. Tasks: any, at once. */
/** @var IkcSysEnumStringListVtbl::AddRef
    Adds a reference; returns the new count. Tasks: any, at once. */
/** @var IkcSysEnumStringListVtbl::Release
    Gives back a reference; returns the new count. The list lives while any clone does. Tasks:
    any, at once. */
/** @var IkcSysEnumStringListVtbl::Next
    Hands out up to wanted names into names[0..wanted-1], each a new boundary string the caller
    frees with qxFreeWideString, and moves on past them; *fetched (may be null when wanted is 1)
    gets how many. S_OK when all wanted were given; S_FALSE when fewer were (the end); E_POINTER
    when names is null, or fetched is null and wanted is not 1; E_OUTOFMEMORY with nothing
    handed out (the slots cleared, *fetched 0) and the position kept. Tasks: one at a time on
    this enumerator. */
/** @var IkcSysEnumStringListVtbl::Skip
    Moves on past count names. S_OK; S_FALSE when the end came first. Tasks: one at a time on
    this enumerator. */
/** @var IkcSysEnumStringListVtbl::Reset
    Moves back to the first name. S_OK. Tasks: one at a time on this enumerator. */
/** @var IkcSysEnumStringListVtbl::Clone
    A new enumerator at the same position over the same list; the caller releases it. S_OK;
    E_POINTER when copy is null; E_OUTOFMEMORY with *copy null. Tasks: one at a time on this
    enumerator. */

/** @var IkcSysEnumPropertyTagVtbl::QueryInterface
    S_OK for IID_IUnknown and IID_IkcSysEnumPropertyTag (this pointer); E_NOINTERFACE, E_POINTER
    as for IUnknownVtbl::QueryInterface. The caller releases *object. Tasks: any, at once. */
/** @var IkcSysEnumPropertyTagVtbl::AddRef
    Adds a reference; returns the new count. Tasks: any, at once. */
/** @var IkcSysEnumPropertyTagVtbl::Release
    Gives back a reference; returns the new count. The snapshot lives while any clone does.
    Tasks: any, at once. */
/** @var IkcSysEnumPropertyTagVtbl::Next
    Writes up to wanted tags into tags[0..wanted-1] and moves on past them; *fetched (may be
    null when wanted is 1) gets how many. S_OK when all wanted were given; S_FALSE when fewer
    were (the end); E_POINTER when tags is null, or fetched is null and wanted is not 1. Tasks:
    one at a time on this enumerator. */
/** @var IkcSysEnumPropertyTagVtbl::Skip
    Moves on past count tags. S_OK; S_FALSE when the end came first. Tasks: one at a time on
    this enumerator. */
/** @var IkcSysEnumPropertyTagVtbl::Reset
    Moves back to the first tag. S_OK. Tasks: one at a time on this enumerator. */
/** @var IkcSysEnumPropertyTagVtbl::Clone
    A new enumerator at the same position over the same snapshot; the caller releases it. S_OK;
    E_POINTER when copy is null; E_OUTOFMEMORY with *copy null. Tasks: one at a time on this
    enumerator. */

#endif
