/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/kernel/sysSymTbl.h", which it
   includes. Kept for 18.6 only, so that older include lines still build: write
   #include "qxzeva/kernel/sysSymTbl.h" instead (NEWS). */
#ifndef QXZEVA_COMPAT_QXKERNEL_SYSSYMTBL_H
#define QXZEVA_COMPAT_QXKERNEL_SYSSYMTBL_H
#include "../qxzeva/kernel/sysSymTbl.h"
#endif
