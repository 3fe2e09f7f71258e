/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/qxzeva_host.h", which it
   includes, so that older include lines still build; it goes with a later release. Each
   build says so, naming the line to write instead (NEWS), through a message rather than
   #warning: GCC gives it as a note, so a host built with -Werror keeps building. */
#ifndef QXZEVA_COMPAT_QXZEVA_HOSTKIT_QXZEVA_HOST_H
#define QXZEVA_COMPAT_QXZEVA_HOSTKIT_QXZEVA_HOST_H
/* clang-format off */
#pragma message("\"qxzeva/hostkit/qxzeva_host.h\" is deprecated: write #include \"qxzeva/qxzeva_host.h\" with -I<prefix>/include alone")
/* clang-format on */
#include "../../qxzeva/qxzeva_host.h"
#endif
