/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/zevadriver/imagedriver.h",
   which it includes. Kept for 18.6 only, so that older include lines still build: write #include
   "qxzeva/zevadriver/imagedriver.h" instead (NEWS). */
#ifndef QXZEVA_COMPAT_ZEVADRIVER_IMAGEDRIVER_H
#define QXZEVA_COMPAT_ZEVADRIVER_IMAGEDRIVER_H
#include "../qxzeva/zevadriver/imagedriver.h"
#endif
