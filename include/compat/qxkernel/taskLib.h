/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/kernel/taskLib.h", which it
   includes. Kept for 18.6 only, so that older include lines still build: write
   #include "qxzeva/kernel/taskLib.h" instead (NEWS). */
#ifndef QXZEVA_COMPAT_QXKERNEL_TASKLIB_H
#define QXZEVA_COMPAT_QXKERNEL_TASKLIB_H
#include "../qxzeva/kernel/taskLib.h"
#endif
