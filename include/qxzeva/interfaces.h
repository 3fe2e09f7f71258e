/** @file interfaces.h
    How an interface's slots are written once and expanded twice: each interface has a list
    QXZEVA_<NAME>_SLOTS(X, L, Self) of X(result, name, (parameters)), in slot order, which is
    the ABI. The C view expands it with L = QXC into a table of function pointers whose first
    parameter is the interface itself (This); the C++ view (qxzeva_cxx.h), whose classes the
    module implements, expands it with L = QXCXX into a class of pure virtual operations. A
    parameter list spells what differs between the two languages through L: `L##_THIS(Self)`
    and `L##_THIS_ALONE(Self)` the leading This, `L##_WCHAR` a 16-bit unit, `L##_FACE(Name)`
    an interface, `L##_ENUM(Name)` a 32-bit enumeration of the host framework, `L##_REF` how
    QueryInterface takes the identifier. */
#ifndef QXZEVA_INTERFACES_H
#define QXZEVA_INTERFACES_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/guid.h"
#include "qxzeva/results.h"

#include <stdint.h>

/** @cond QX_INTERNAL */
/* The C view's spelling; QX_WCHAR is the C view's 16-bit unit. */
#define QXC_THIS(Self) Self *This,
#define QXC_THIS_ALONE(Self) Self* This
#define QXC_WCHAR QX_WCHAR
#define QXC_FACE(Name) Name
#define QXC_ENUM(Name) int32_t
#define QXC_REF *
#define QXC_SLOT(result, name, parameters) result(*name) parameters;

/* The C++ classes' spelling. Interfaces and enumerations are spelled by their full name in
   namespace qxzeva::cxx: a translation unit may include the C view as well, whose types of the
   same names lie in namespace qxzeva::c, a file that speaks the C view may bring them into its
   scope, and a host may leave the global names to its framework (QXZEVA_CXX_NO_GLOBAL_NAMES). */
#define QXCXX_THIS(Self)
#define QXCXX_THIS_ALONE(Self)
#define QXCXX_WCHAR char16_t
#define QXCXX_FACE(Name) ::qxzeva::cxx::Name
#define QXCXX_ENUM(Name) ::qxzeva::cxx::Name
#define QXCXX_REF &
#define QXCXX_SLOT(result, name, parameters) virtual result name parameters = 0;

#ifdef __cplusplus
/* The C++ interface Name after Base, with the slots of SLOTS, in namespace qxzeva::cxx: no
   virtual destructor, so its table holds exactly those slots. */
#define QXZEVA_CXX_INTERFACE(Name, Base, SLOTS)                                                    \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        SLOTS(QXCXX_SLOT, QXCXX, Name)                                                             \
    protected:                                                                                     \
        ~Name() = default;                                                                         \
    };
#endif
/** @endcond */

/** The slots of IUnknown, which every interface starts with. */
/* clang-format off */
#define QXZEVA_IUNKNOWN_SLOTS(X, L, Self)                                                          \
    X(HRESULT, QueryInterface, (L##_THIS(Self) const _GUID L##_REF iid, void** object))            \
    X(int32_t, AddRef, (L##_THIS_ALONE(Self)))                                                     \
    X(int32_t, Release, (L##_THIS_ALONE(Self)))
/* clang-format on */

/** @var IUnknownVtbl::QueryInterface
    Hands out another interface of the same object. Returns S_OK with *object set and one
    reference added, E_NOINTERFACE with *object null, E_POINTER when object is null. The caller
    releases *object. Any task, at once. */
/** @var IUnknownVtbl::AddRef
    Adds a reference; returns the new count. Any task, at once. */
/** @var IUnknownVtbl::Release
    Gives back a reference; returns the new count, 0 when the object is gone. Any task, at once. */

#endif
