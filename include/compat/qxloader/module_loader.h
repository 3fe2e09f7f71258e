/* Deprecated: where this header lay before 18.5.0 moved it to "qxzeva/module_loader.h", which it
   includes. Kept for 18.6 only, so that older include lines still build: write
   #include "qxzeva/module_loader.h" instead (NEWS). */
#ifndef QXZEVA_COMPAT_QXLOADER_MODULE_LOADER_H
#define QXZEVA_COMPAT_QXLOADER_MODULE_LOADER_H
#include "../qxzeva/module_loader.h"
#endif
