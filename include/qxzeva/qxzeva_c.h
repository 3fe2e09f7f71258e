/** @file qxzeva_c.h
    The expert module's interfaces for hosts written in C (C99) and C++: each interface is a
    struct whose first member points at its table of operations (lpVtbl), in the same slot
    order as the C++ interfaces, both expanded from the one list of each interface's slots, so a
    pointer the module hands out can be used directly. Every operation takes the interface
    pointer itself as its first argument. The codes, identifiers, value types and tags it shares
    with C++ hosts are those of the headers it includes; qxzeva/text.h gives their names and the
    module's strings as UTF-8. */
#ifndef QXZEVA_QXZEVA_C_H
#define QXZEVA_QXZEVA_C_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#if !defined(__cplusplus) && (!defined(__STDC_VERSION__) || __STDC_VERSION__ < 199901L)
#error "the C view needs C99 or later (inline functions, stdint.h): compile with -std=c99"
/* A missing header is fatal, an #error is not: stop here, before the errors it would cause. */
#include "qxzeva/stop: C99 is needed"
#endif

#include "qxzeva/enum_interfaces.h"
#include "qxzeva/expert_interfaces.h"
#include "qxzeva/guid.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/interfaces.h"
#include "qxzeva/propertybag_interfaces.h"
#include "qxzeva/results.h"
#include "qxzeva/tags.h"
#include "qxzeva/text.h"
#include "qxzeva/types.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

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

/* In C++ the interface types below are those of namespace qxzeva::c (qxzeva::c::IkcSysExpert2),
   so that a translation unit may include the C++ view (qxzeva/qxzeva_cxx.h) as well, whose
   classes of the same names are ::IUnknown, ::IkcSysExpert2 and so on. A C++ file that speaks
   the C view writes `using namespace qxzeva::c;` itself, in its own scope. */
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
    QXZEVA_IUNKNOWN_SLOTS(QXC_SLOT, QXC, IUnknown)
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
    QXZEVA_IKCSYSEXPERT2_TABLE(QXC_SLOT, QXC, IkcSysExpert2)
} IkcSysExpert2Vtbl;
/** An expert pointer. */
struct IkcSysExpert2 {
    const IkcSysExpert2Vtbl* lpVtbl; /**< its operations */
};

/** The expert's plug-and-play interface, from QueryInterface with IID_IkcSysExpertPlugPlay. Any
    task, several at once. */
typedef struct IkcSysExpertPlugPlayVtbl {
    QXZEVA_IKCSYSEXPERTPLUGPLAY_TABLE(QXC_SLOT, QXC, IkcSysExpertPlugPlay)
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
    QXZEVA_IKCSYSPROPERTYBAG3_TABLE(QXC_SLOT, QXC, IkcSysPropertyBag3)
} IkcSysPropertyBag3Vtbl;
/** A property bag pointer, whichever of its three identifiers it was asked for. */
struct IkcSysPropertyBag3 {
    const IkcSysPropertyBag3Vtbl* lpVtbl; /**< its operations */
};

/** An enumerator of item names over the list made when it was handed out. One enumerator must not
    be used by two tasks at once; clones move on their own, each may serve another task.
    QueryInterface, AddRef and Release: any task, at once. */
typedef struct IkcSysEnumStringListVtbl {
    QXZEVA_IKCSYSENUMSTRINGLIST_TABLE(QXC_SLOT, QXC, IkcSysEnumStringList)
} IkcSysEnumStringListVtbl;
/** An item-name enumerator pointer. */
struct IkcSysEnumStringList {
    const IkcSysEnumStringListVtbl* lpVtbl; /**< its operations */
};

/** An enumerator of property tags over a snapshot taken when it was handed out. One enumerator
    must not be used by two tasks at once; clones move on their own, each may serve another task.
    QueryInterface, AddRef and Release: any task, at once. */
typedef struct IkcSysEnumPropertyTagVtbl {
    QXZEVA_IKCSYSENUMPROPERTYTAG_TABLE(QXC_SLOT, QXC, IkcSysEnumPropertyTag)
} IkcSysEnumPropertyTagVtbl;
/** A property-tag enumerator pointer. */
struct IkcSysEnumPropertyTag {
    const IkcSysEnumPropertyTagVtbl* lpVtbl; /**< its operations */
};

/** Supplied by the host to IkcSysExpert2Vtbl::SearchForItemsAndProperties: what the expert expects
    of it. The expert calls it from the task that called the search, one call at a time, with none
    of the module's locks held, and does not keep it after the search returns. */
typedef struct IkcSysPropertyBagCollectionVtbl {
    QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_TABLE(QXC_SLOT, QXC, IkcSysPropertyBagCollection)
} IkcSysPropertyBagCollectionVtbl;
/** A collection pointer the host makes. */
struct IkcSysPropertyBagCollection {
    const IkcSysPropertyBagCollectionVtbl* lpVtbl; /**< its operations */
};

/** @} */

QX_C_VIEW_END

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

/** @cond QX_INTERNAL */
QXZEVA_INTERFACE_ID_OF(qxzeva::c::IUnknown, IUnknown)
QXZEVA_INTERFACE_ID_OF(qxzeva::c::IkcSysExpert2, IkcSysExpert2)
QXZEVA_INTERFACE_ID_OF(qxzeva::c::IkcSysExpertPlugPlay, IkcSysExpertPlugPlay)
QXZEVA_INTERFACE_ID_OF(qxzeva::c::IkcSysPropertyBag3, IkcSysPropertyBag3)
QXZEVA_INTERFACE_ID_OF(qxzeva::c::IkcSysEnumStringList, IkcSysEnumStringList)
QXZEVA_INTERFACE_ID_OF(qxzeva::c::IkcSysEnumPropertyTag, IkcSysEnumPropertyTag)
/** @endcond */
#endif

#endif
