/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/kernel/symLib.h", which it
   includes, so that older include lines still build; it goes with a later release. Each
   build says so, naming the line to write instead (NEWS), through a message rather than
   #warning: GCC gives it as a note, so a host built with -Werror keeps building. */
#ifndef QXZEVA_COMPAT_QXKERNEL_SYMLIB_H
#define QXZEVA_COMPAT_QXKERNEL_SYMLIB_H
/* clang-format off */
#pragma message("\"qxkernel/symLib.h\" is deprecated: write #include \"qxzeva/kernel/symLib.h\" with -I<prefix>/include alone")
/* clang-format on */
#include "../qxzeva/kernel/symLib.h"
#endif
