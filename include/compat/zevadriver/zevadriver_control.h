/* Deprecated: where this header lay before 18.5.0 moved it to
   "qxzeva/zevadriver/zevadriver_control.h", which it includes. Kept for 18.6 only, so that older
   include lines still build: write #include "qxzeva/zevadriver/zevadriver_control.h" instead
   (NEWS). */
#ifndef QXZEVA_COMPAT_ZEVADRIVER_ZEVADRIVER_CONTROL_H
#define QXZEVA_COMPAT_ZEVADRIVER_ZEVADRIVER_CONTROL_H
#include "../qxzeva/zevadriver/zevadriver_control.h"
#endif
