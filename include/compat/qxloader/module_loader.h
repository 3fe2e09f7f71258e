/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/module_loader.h", which it
   includes, so that older include lines still build; it goes with a later release. Each
   build says so, naming the line to write instead (NEWS), through a message rather than
   #warning: GCC gives it as a note, so a host built with -Werror keeps building. */
#ifndef QXZEVA_COMPAT_QXLOADER_MODULE_LOADER_H
#define QXZEVA_COMPAT_QXLOADER_MODULE_LOADER_H
/* clang-format off */
#pragma message("\"qxloader/module_loader.h\" is deprecated: write #include \"qxzeva/module_loader.h\" with -I<prefix>/include alone")
/* clang-format on */
#include "../qxzeva/module_loader.h"
#endif
