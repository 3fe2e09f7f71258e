/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/zevadriver/imagedriver.h",
   which it includes, so that older include lines still build; it goes with a later release. It says
   so at each build, naming the line to write instead (NEWS): a message rather than a warning,
   so that a host built with -Werror keeps building. */
#ifndef QXZEVA_COMPAT_ZEVADRIVER_IMAGEDRIVER_H
#define QXZEVA_COMPAT_ZEVADRIVER_IMAGEDRIVER_H
/* clang-format off */
#pragma message("\"zevadriver/imagedriver.h\" is deprecated: write #include \"qxzeva/zevadriver/imagedriver.h\" with -I<prefix>/include alone")
/* clang-format on */
#include "../qxzeva/zevadriver/imagedriver.h"
#endif
