// The interfaces through which the host talks to the expert, expanded from the one list of
// each interface's slots (qxzeva/expert_interfaces.h), where what each operation returns, who
// frees each out-value and which tasks may call it is written.
#ifndef QX_EXPERT_EXPERT_INTERFACES_H
#define QX_EXPERT_EXPERT_INTERFACES_H

#include "com/unknown.h"
#include "qxzeva/expert_interfaces.h"

#include <cstdint>

class IkcSysPropertyBag;
class IkcSysPropertyBag2;
class IkcSysEnumStringList;
class IkcSysEnumPropertyTag;
class IkcSysPropertyBagCollection;
class IkcSysFrameworkNotificationHandler;

// Host framework enumerations the expert passes through without reading.
enum kcSysLocale : std::int32_t { kcSysLocaleDefault = 0 };
enum kcSysRenameValidationMode : std::int32_t {
    kcSysRenameValidationNone = 0,
    kcSysRenameValidationFull = 1
};

QXZEVA_CXX_INTERFACE(IkcSysExpertInfo, IUnknown, QXZEVA_IKCSYSEXPERTINFO_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysExpert, IkcSysExpertInfo, QXZEVA_IKCSYSEXPERT_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysExpert2, IkcSysExpert, QXZEVA_IKCSYSEXPERT2_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysExpertPlugPlay, IUnknown, QXZEVA_IKCSYSEXPERTPLUGPLAY_SLOTS)

// Supplied by the host: the expert hands it one bag per item. A collection that keeps a bag
// takes its own reference. The module defines no identifier for it.
class IkcSysPropertyBagCollection : public ::IUnknown {
public:
    QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_SLOTS(QXCXX_SLOT, QXCXX, IkcSysPropertyBagCollection)

protected:
    ~IkcSysPropertyBagCollection() = default;
};

#endif
