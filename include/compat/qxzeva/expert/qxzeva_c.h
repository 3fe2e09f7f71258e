/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/qxzeva_c.h", which it
   includes, so that older include lines still build; it goes with a later release. Each
   build says so, naming the line to write instead (NEWS), through a message rather than
   #warning: GCC gives it as a note, so a host built with -Werror keeps building. */
#ifndef QXZEVA_COMPAT_QXZEVA_EXPERT_QXZEVA_C_H
#define QXZEVA_COMPAT_QXZEVA_EXPERT_QXZEVA_C_H
/* clang-format off */
#pragma message("\"qxzeva/expert/qxzeva_c.h\" is deprecated: write #include \"qxzeva/qxzeva_c.h\" with -I<prefix>/include alone")
/* clang-format on */
#include "../../qxzeva/qxzeva_c.h"
#endif
