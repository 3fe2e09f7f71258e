// The host framework's value-type codes and the two timestamp records that cross the
// property-bag interfaces: the shared ones of com/qxzeva_abi.h.
#ifndef QX_PROPERTYBAG_ATTRIBUTE_TYPES_H
#define QX_PROPERTYBAG_ATTRIBUTE_TYPES_H

#include "com/qxzeva_abi.h"
#include "qx/kit/TimestampRecords.h"

#endif
