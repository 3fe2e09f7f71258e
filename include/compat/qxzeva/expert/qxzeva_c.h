/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/qxzeva_c.h", which it
   includes. Kept for 18.6 only, so that older include lines still build: write
   #include "qxzeva/qxzeva_c.h" instead (NEWS). */
#ifndef QXZEVA_COMPAT_QXZEVA_EXPERT_QXZEVA_C_H
#define QXZEVA_COMPAT_QXZEVA_EXPERT_QXZEVA_C_H
#include "../../qxzeva/qxzeva_c.h"
#endif
