/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/qxzeva_host.h", which it
   includes. Kept for 18.6 only, so that older include lines still build: write
   #include "qxzeva/qxzeva_host.h" instead (NEWS). */
#ifndef QXZEVA_COMPAT_QXZEVA_HOSTKIT_QXZEVA_HOST_H
#define QXZEVA_COMPAT_QXZEVA_HOSTKIT_QXZEVA_HOST_H
#include "../../qxzeva/qxzeva_host.h"
#endif
