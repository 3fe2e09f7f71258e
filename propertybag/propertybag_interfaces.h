// The host framework's property-bag interfaces, the installed C++ view's classes
// (qxzeva/qxzeva_cxx.h), expanded from the one list of each interface's slots
// (qxzeva/propertybag_interfaces.h), where what each operation returns, who frees each
// out-value and which tasks may call it is written. Each version derives singly from the one
// before, so a later version's table extends the earlier one's. Tags are 32-bit unsigned
// numbers; no tag value is reserved.
#ifndef QX_PROPERTYBAG_PROPERTYBAG_INTERFACES_H
#define QX_PROPERTYBAG_PROPERTYBAG_INTERFACES_H

#include "com/unknown.h"
#include "qxzeva/propertybag_interfaces.h"

#endif
