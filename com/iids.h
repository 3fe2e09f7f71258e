// The interface identifiers the module defines: the shared ones of com/qxzeva_abi.h.
#ifndef QX_COM_IIDS_H
#define QX_COM_IIDS_H

#include "com/guid.h"
#include "com/qxzeva_abi.h"

#endif
