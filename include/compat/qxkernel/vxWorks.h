/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/kernel/vxWorks.h", which it
   includes. Kept for 18.6 only, so that older include lines still build: write
   #include "qxzeva/kernel/vxWorks.h" instead (NEWS). */
#ifndef QXZEVA_COMPAT_QXKERNEL_VXWORKS_H
#define QXZEVA_COMPAT_QXKERNEL_VXWORKS_H
#include "../qxzeva/kernel/vxWorks.h"
#endif
