// The programs speak the C view, as a C host does: the module's interfaces as tables of
// operations (lpVtbl), named here without their namespace. Only the programs' own files
// include this; it never meets the C++ view of the same names.
#ifndef QX_CLI_C_VIEW_H
#define QX_CLI_C_VIEW_H

#include "qxzeva/qxzeva_c.h"

using namespace qxzeva::c; // NOLINT(google-global-names-in-headers): the program's own header

#endif
