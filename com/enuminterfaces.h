// The enumerator interfaces the host receives: item names and property tags, expanded from
// the one list of each interface's slots (qxzeva/enum_interfaces.h), where what each operation
// returns, who frees each out-value and which tasks may call it is written.
#ifndef QX_COM_ENUMINTERFACES_H
#define QX_COM_ENUMINTERFACES_H

#include "com/unknown.h"
#include "qxzeva/enum_interfaces.h"

QXZEVA_CXX_INTERFACE(IkcSysEnumStringList, IUnknown, QXZEVA_IKCSYSENUMSTRINGLIST_SLOTS)
QXZEVA_CXX_INTERFACE(IkcSysEnumPropertyTag, IUnknown, QXZEVA_IKCSYSENUMPROPERTYTAG_SLOTS)

#endif
