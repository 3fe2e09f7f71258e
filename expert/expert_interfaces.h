// The interfaces through which the host talks to the expert, and the collection the host
// hands to its search: the installed C++ view's classes (qxzeva/qxzeva_cxx.h), expanded from
// the one list of each interface's slots (qxzeva/expert_interfaces.h), where what each
// operation returns, who frees each out-value and which tasks may call it is written.
#ifndef QX_EXPERT_EXPERT_INTERFACES_H
#define QX_EXPERT_EXPERT_INTERFACES_H

#include "com/unknown.h"
#include "qxzeva/expert_interfaces.h"

#include <cstdint>

#endif
