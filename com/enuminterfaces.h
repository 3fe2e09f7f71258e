// The enumerator interfaces the host receives: item names and property tags, the installed
// C++ view's classes (qxzeva/qxzeva_cxx.h), expanded from the one list of each interface's
// slots (qxzeva/enum_interfaces.h), where what each operation returns, who frees each
// out-value and which tasks may call it is written.
#ifndef QX_COM_ENUMINTERFACES_H
#define QX_COM_ENUMINTERFACES_H

#include "com/unknown.h"
#include "qxzeva/enum_interfaces.h"

#endif
