/** @file propertybag_interfaces.h
    The property bag's three interfaces, their slots each written once; each version's table
    extends the one before. The C view's tables and the module's C++ classes are both expanded
    from these lists (see interfaces.h). */
#ifndef QXZEVA_PROPERTYBAG_INTERFACES_H
#define QXZEVA_PROPERTYBAG_INTERFACES_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/interfaces.h"
#include "qxzeva/types.h"

/** The slots of IkcSysPropertyBag, 3 to 21: presence, type, deletion and the typed values. */
/* clang-format off */
#define QXZEVA_IKCSYSPROPERTYBAG_SLOTS(X, L, Self)                                                 \
    X(HRESULT, EnumProperties, (L##_THIS(Self) L##_FACE(IkcSysEnumPropertyTag)** tags))            \
    X(HRESULT, HasProperty, (L##_THIS(Self) uint32_t tag))                                         \
    X(HRESULT, GetPropertyType, (L##_THIS(Self) uint32_t tag, kcSysAttributeType* type))           \
    X(HRESULT, DeleteProperty, (L##_THIS(Self) uint32_t tag))                                      \
    X(HRESULT, DeleteAllProperties, (L##_THIS_ALONE(Self)))                                        \
    X(HRESULT, SetBooleanProperty, (L##_THIS(Self) uint32_t tag, int value))                       \
    X(HRESULT, SetIntegerProperty, (L##_THIS(Self) uint32_t tag, int32_t value))                   \
    X(HRESULT, SetUnsignedIntegerProperty, (L##_THIS(Self) uint32_t tag, uint32_t value))          \
    X(HRESULT, SetDoubleProperty, (L##_THIS(Self) uint32_t tag, double value))                     \
    X(HRESULT, SetGuidProperty, (L##_THIS(Self) uint32_t tag, _GUID value))                        \
    X(HRESULT, SetStringProperty, (L##_THIS(Self) uint32_t tag, const L##_WCHAR* value))           \
    X(HRESULT, _SetTimestampProperty,                                                              \
      (L##_THIS(Self) uint32_t tag, const kcSysAttrTimestamp* value))                              \
    X(HRESULT, GetBooleanProperty, (L##_THIS(Self) uint32_t tag, int* value))                      \
    X(HRESULT, GetIntegerProperty, (L##_THIS(Self) uint32_t tag, int32_t* value))                  \
    X(HRESULT, GetUnsignedIntegerProperty, (L##_THIS(Self) uint32_t tag, uint32_t* value))         \
    X(HRESULT, GetDoubleProperty, (L##_THIS(Self) uint32_t tag, double* value))                    \
    X(HRESULT, GetGuidProperty, (L##_THIS(Self) uint32_t tag, _GUID* value))                       \
    X(HRESULT, GetStringProperty, (L##_THIS(Self) uint32_t tag, L##_WCHAR** value))                \
    X(HRESULT, GetTimestampProperty, (L##_THIS(Self) uint32_t tag, kcSysAttrTimestamp* value))
/* clang-format on */

/** The slots of IkcSysPropertyBag2, 22 to 24: deep copy and change tracking. */
/* clang-format off */
#define QXZEVA_IKCSYSPROPERTYBAG2_SLOTS(X, L, Self)                                                \
    X(HRESULT, Clone, (L##_THIS(Self) L##_FACE(IkcSysPropertyBag)** copy))                         \
    X(HRESULT, ClearChangedTags, (L##_THIS_ALONE(Self)))                                           \
    X(HRESULT, EnumChangedTags, (L##_THIS(Self) L##_FACE(IkcSysEnumPropertyTag)** tags))
/* clang-format on */

/** The slots of IkcSysPropertyBag3, 25 to 28: UTC timestamps and the batch lock. */
/* clang-format off */
#define QXZEVA_IKCSYSPROPERTYBAG3_SLOTS(X, L, Self)                                                \
    X(HRESULT, GetTimestampPropertyUTC,                                                            \
      (L##_THIS(Self) uint32_t tag, kcSysAttrTimestampUTC* value))                                 \
    X(HRESULT, SetTimestampPropertyUTC,                                                            \
      (L##_THIS(Self) uint32_t tag, const kcSysAttrTimestampUTC* value))                           \
    X(HRESULT, AcquireBatchLock, (L##_THIS_ALONE(Self)))                                           \
    X(HRESULT, ReleaseBatchLock, (L##_THIS_ALONE(Self)))
/* clang-format on */

/** Every slot of the C view's IkcSysPropertyBag3Vtbl, in order. */
#define QXZEVA_IKCSYSPROPERTYBAG3_TABLE(X, L, Self)                                                \
    QXZEVA_IUNKNOWN_SLOTS(X, L, Self)                                                              \
    QXZEVA_IKCSYSPROPERTYBAG_SLOTS(X, L, Self)                                                     \
    QXZEVA_IKCSYSPROPERTYBAG2_SLOTS(X, L, Self)                                                    \
    QXZEVA_IKCSYSPROPERTYBAG3_SLOTS(X, L, Self)

/* What each slot of the C view's tables does, returns and hands out, who frees what and
   which tasks may call it: the C++ interfaces' operations of the same names do the same. */
/** @var IkcSysPropertyBag3Vtbl::QueryInterface
    S_OK for IID_IUnknown, IID_IkcSysPropertyBag, IID_IkcSysPropertyBag2 and
    IID_IkcSysPropertyBag3 (this pointer); E_NOINTERFACE, E_POINTER as for
    IUnknownVtbl::QueryInterface. The caller releases *object. Tasks: any, several at once; the
    bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::AddRef
    Adds a reference; returns the new count. Tasks: any, at once. */
/** @var IkcSysPropertyBag3Vtbl::Release
    Gives back a reference; returns the new count. The last one frees the bag and its values,
    and gives back batch locks still held. Tasks: any, at once. */
/** @var IkcSysPropertyBag3Vtbl::EnumProperties
    A new enumerator over the tags present now, in ascending order (later changes do not reach
    it); the caller releases it. S_OK; S_FALSE with *tags null when the bag is empty; E_POINTER
    when tags is null; E_OUTOFMEMORY with *tags null. Tasks: any, several at once; the bag takes
    them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::HasProperty
    S_OK when the bag holds tag, S_FALSE when not. Tasks: any, several at once; the bag takes
    them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::GetPropertyType
    Writes the type of the value under tag. S_OK; E_PROPERTY_NOT_FOUND (*type not written);
    E_POINTER when type is null. Tasks: any, several at once; the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::DeleteProperty
    Removes tag, and its changed mark. S_OK; E_PROPERTY_NOT_FOUND. Tasks: any, several at once;
    the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::DeleteAllProperties
    Removes every tag and every changed mark. S_OK. Tasks: any, several at once; the bag takes
    them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::SetBooleanProperty
    Stores a boolean (non-zero is true) under tag and marks tag changed. S_OK;
    E_PROPERTY_TYPE_MISMATCH when tag holds another type (the value stays); E_OUTOFMEMORY.
    Tasks: any, several at once; the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::SetIntegerProperty
    Stores a signed integer under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when
    tag holds another type (the value stays); E_OUTOFMEMORY. Tasks: any, several at once; the
    bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::SetUnsignedIntegerProperty
    Stores an unsigned integer under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH
    when tag holds another type (the value stays); E_OUTOFMEMORY. Tasks: any, several at once;
    the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::SetDoubleProperty
    Stores a double under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when tag
    holds another type (the value stays); E_OUTOFMEMORY. Tasks: any, several at once; the bag
    takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::SetGuidProperty
    Stores a GUID under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when tag holds
    another type (the value stays); E_OUTOFMEMORY. Tasks: any, several at once; the bag takes
    them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::SetStringProperty
    Stores a string under tag and marks tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when tag
    holds another type (the value stays); E_OUTOFMEMORY. The bag keeps its own copy of value (a
    zero-terminated wide string that stays the caller's); null stores a null string. Tasks: any,
    several at once; the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::_SetTimestampProperty
    Local timestamps cannot be stored: E_NOTIMPL. Use SetTimestampPropertyUTC. Tasks: any,
    several at once; the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::GetBooleanProperty
    Writes the boolean under tag as 1 or 0. S_OK; E_PROPERTY_NOT_FOUND or
    E_PROPERTY_TYPE_MISMATCH with *value 0; E_POINTER when value is null. Tasks: any, several at
    once; the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::GetIntegerProperty
    Writes the signed integer under tag. S_OK; E_PROPERTY_NOT_FOUND or E_PROPERTY_TYPE_MISMATCH
    (*value not written); E_POINTER when value is null. Tasks: any, several at once; the bag
    takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::GetUnsignedIntegerProperty
    Writes the unsigned integer under tag. S_OK; E_PROPERTY_NOT_FOUND or
    E_PROPERTY_TYPE_MISMATCH (*value not written); E_POINTER when value is null. Tasks: any,
    several at once; the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::GetDoubleProperty
    Writes the double under tag. S_OK; E_PROPERTY_NOT_FOUND or E_PROPERTY_TYPE_MISMATCH (*value
    not written); E_POINTER when value is null. Tasks: any, several at once; the bag takes them
    one at a time. */
/** @var IkcSysPropertyBag3Vtbl::GetGuidProperty
    Writes the GUID under tag. S_OK; E_PROPERTY_NOT_FOUND or E_PROPERTY_TYPE_MISMATCH (*value
    not written); E_POINTER when value is null. Tasks: any, several at once; the bag takes them
    one at a time. */
/** @var IkcSysPropertyBag3Vtbl::GetStringProperty
    The string under tag as a new boundary string the caller frees with qxFreeWideString; null
    when a null string is stored. S_OK; E_PROPERTY_NOT_FOUND, E_PROPERTY_TYPE_MISMATCH or
    E_OUTOFMEMORY with *value null; E_POINTER when value is null. Tasks: any, several at once;
    the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::GetTimestampProperty
    The UTC timestamp under tag as local calendar time. S_OK; E_PROPERTY_NOT_FOUND or
    E_PROPERTY_TYPE_MISMATCH with every field of *value -1; E_POINTER when value is null. Tasks:
    any, several at once; the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::Clone
    A new bag holding copies of every value, with no tag marked changed; the caller releases it.
    S_OK; E_POINTER when copy is null; E_OUTOFMEMORY with *copy null. Tasks: any, several at
    once; the bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::ClearChangedTags
    Forgets which tags changed. S_OK; S_FALSE when none had. Tasks: any, several at once; the
    bag takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::EnumChangedTags
    A new enumerator over the tags changed since the last ClearChangedTags, in ascending order;
    the caller releases it. S_OK; S_FALSE with *tags null when none have; E_POINTER when tags is
    null; E_OUTOFMEMORY with *tags null. Tasks: any, several at once; the bag takes them one at
    a time. */
/** @var IkcSysPropertyBag3Vtbl::GetTimestampPropertyUTC
    Writes the UTC timestamp under tag. S_OK; E_PROPERTY_NOT_FOUND or E_PROPERTY_TYPE_MISMATCH
    (*value not written); E_POINTER when value is null. Tasks: any, several at once; the bag
    takes them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::SetTimestampPropertyUTC
    Stores a UTC timestamp, copied from *value (which stays the caller's), under tag and marks
    tag changed. S_OK; E_PROPERTY_TYPE_MISMATCH when tag holds another type (the value stays);
    E_OUTOFMEMORY. E_POINTER when value is null. Tasks: any, several at once; the bag takes them
    one at a time. */
/** @var IkcSysPropertyBag3Vtbl::AcquireBatchLock
    Keeps the bag to the calling task until its matching ReleaseBatchLock: every other task's
    call on the bag waits until then. Nests. S_OK. Tasks: any, several at once; the bag takes
    them one at a time. */
/** @var IkcSysPropertyBag3Vtbl::ReleaseBatchLock
    Gives back one AcquireBatchLock of the calling task. S_OK; E_FAIL when no batch lock is
    held. Tasks: any, several at once; the bag takes them one at a time. */

#endif
