/** @file qxzeva_cxx.h
    The expert module's interfaces for hosts written in C++: each interface an abstract class
    whose pure virtual operations stand in slot order, expanded from the same slot lists as
    the C view's tables (see interfaces.h), so a pointer the module hands out is used directly
    and an operation is a method call: `bag->GetStringProperty(tag, value.put())`. Each
    version of an interface derives from the one before and has its own identifier, so
    `qxzeva::Ref<IkcSysPropertyBag3>` asks for the newest and `try_as<IkcSysPropertyBag>()`
    for the first. The classes and the two enumerations of the host framework (kcSysLocale,
    kcSysRenameValidationMode) are those of namespace qxzeva::cxx, which using-declarations
    bring into the global namespace, as the module's own are. A host whose framework headers
    already declare ::IUnknown or those enumerations defines QXZEVA_CXX_NO_GLOBAL_NAMES before
    it includes this header and writes qxzeva::cxx::IkcSysExpert2 (the same classes, the same
    table layout). The C view's structs of the same names are those of namespace qxzeva::c.
    What each operation returns, who frees what and which tasks may call it is written on the
    C view's slot of the same name. Strings are char16_t (QX_WCHAR in C++). C++17. */
#ifndef QXZEVA_QXZEVA_CXX_H
#define QXZEVA_QXZEVA_CXX_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#ifndef __cplusplus
#error "qxzeva/qxzeva_cxx.h is the C++ view: a C host includes qxzeva/qxzeva_c.h"
#endif

#include "qxzeva/enum_interfaces.h"
#include "qxzeva/expert_interfaces.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/interfaces.h"
#include "qxzeva/propertybag_interfaces.h"
#include "qxzeva/ref.h"
#include "qxzeva/results.h"
#include "qxzeva/types.h"

#include <cstdint>

/** The C++ view: the interfaces as classes and the host framework's two enumerations, also
    named in the global namespace unless QXZEVA_CXX_NO_GLOBAL_NAMES is defined. */
namespace qxzeva::cxx {

/** The host framework's locale, which SetPreferredLocale passes through without reading. */
enum kcSysLocale : std::int32_t {
    kcSysLocaleDefault = 0 /**< the framework's default */
};
/** How RenameAlias checks a new alias; the expert offers no renaming. */
enum kcSysRenameValidationMode : std::int32_t {
    kcSysRenameValidationNone = 0, /**< no check */
    kcSysRenameValidationFull = 1  /**< the full check */
};

/** @cond QX_INTERNAL (the classes are the C view's tables as C++; see the file's comment) */
class IkcSysPropertyBag;
class IkcSysPropertyBag2;
class IkcSysEnumStringList;
class IkcSysEnumPropertyTag;
class IkcSysPropertyBagCollection;
class IkcSysFrameworkNotificationHandler; // the host framework's; the module takes none

// Any interface, seen through its first three slots. No interface has a virtual destructor:
// it would add slots to the table; an object goes when its last Release returns 0.
class IUnknown {
public:
    QXZEVA_IUNKNOWN_SLOTS(QXCXX_SLOT, QXCXX, IUnknown)

protected:
    ~IUnknown() = default;
};

QXZEVA_CXX_INTERFACE(IkcSysEnumStringList, IUnknown, QXZEVA_IKCSYSENUMSTRINGLIST_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysEnumPropertyTag, IUnknown, QXZEVA_IKCSYSENUMPROPERTYTAG_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysPropertyBag, IUnknown, QXZEVA_IKCSYSPROPERTYBAG_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysPropertyBag2, IkcSysPropertyBag, QXZEVA_IKCSYSPROPERTYBAG2_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysPropertyBag3, IkcSysPropertyBag2, QXZEVA_IKCSYSPROPERTYBAG3_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysExpertInfo, IUnknown, QXZEVA_IKCSYSEXPERTINFO_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysExpert, IkcSysExpertInfo, QXZEVA_IKCSYSEXPERT_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysExpert2, IkcSysExpert, QXZEVA_IKCSYSEXPERT2_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysExpertPlugPlay, IUnknown, QXZEVA_IKCSYSEXPERTPLUGPLAY_SLOTS)

// Supplied by the host to SearchForItemsAndProperties: the expert hands it one bag per item.
// A collection that keeps a bag takes its own reference. The module defines no identifier
// for it.
class IkcSysPropertyBagCollection : public IUnknown {
public:
    QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_SLOTS(QXCXX_SLOT, QXCXX, IkcSysPropertyBagCollection)

protected:
    ~IkcSysPropertyBagCollection() = default;
};

} // namespace qxzeva::cxx

/* Each interface's identifier, IID_Name, for Ref's try_as and as. */
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IUnknown, IUnknown)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysEnumStringList, IkcSysEnumStringList)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysEnumPropertyTag, IkcSysEnumPropertyTag)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysPropertyBag, IkcSysPropertyBag)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysPropertyBag2, IkcSysPropertyBag2)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysPropertyBag3, IkcSysPropertyBag3)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysExpertInfo, IkcSysExpertInfo)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysExpert, IkcSysExpert)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysExpert2, IkcSysExpert2)
QXZEVA_INTERFACE_ID_OF(qxzeva::cxx::IkcSysExpertPlugPlay, IkcSysExpertPlugPlay)
/** @endcond */

/** @cond QX_INTERNAL (the global names; see the file's comment) */
#ifndef QXZEVA_CXX_NO_GLOBAL_NAMES
/* The names the module's own classes and most hosts use. */
using qxzeva::cxx::IkcSysEnumPropertyTag;
using qxzeva::cxx::IkcSysEnumStringList;
using qxzeva::cxx::IkcSysExpert;
using qxzeva::cxx::IkcSysExpert2;
using qxzeva::cxx::IkcSysExpertInfo;
using qxzeva::cxx::IkcSysExpertPlugPlay;
using qxzeva::cxx::IkcSysFrameworkNotificationHandler;
using qxzeva::cxx::IkcSysPropertyBag;
using qxzeva::cxx::IkcSysPropertyBag2;
using qxzeva::cxx::IkcSysPropertyBag3;
using qxzeva::cxx::IkcSysPropertyBagCollection;
using qxzeva::cxx::IUnknown;
using qxzeva::cxx::kcSysLocale;
using qxzeva::cxx::kcSysLocaleDefault;
using qxzeva::cxx::kcSysRenameValidationFull;
using qxzeva::cxx::kcSysRenameValidationMode;
using qxzeva::cxx::kcSysRenameValidationNone;
#endif
/** @endcond */

#endif
