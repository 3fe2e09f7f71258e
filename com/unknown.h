// IUnknown: the three operations every interface of the module starts with. The module's
// interfaces are the installed C++ view's classes (qxzeva/qxzeva_cxx.h), expanded from the one
// list of each interface's slots; what each operation returns, who owns and frees each
// out-value and which tasks may call it at once is written once, beside that list, on the C
// view's slot of the same name.
#ifndef QX_COM_UNKNOWN_H
#define QX_COM_UNKNOWN_H

#include "com/guid.h"
#include "com/hresult.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/qxzeva_cxx.h"

#include <cstdint>

#endif
