// Names a trace shows for the module's HRESULT codes and interface identifiers. The one
// table of each lives in trace_names.cpp, taken from the C view's constants.
#ifndef QX_HOST_TRACE_NAMES_H
#define QX_HOST_TRACE_NAMES_H

#include "expert/qxzeva_c.h"

#include <string>

// "S_OK", "E_ITEM_NOT_FOUND", ...; "0x80004005"-style hexadecimal for a code without a name.
std::string HResultName(HRESULT result);

// "IkcSysPropertyBag3"; null for an identifier the module does not define.
const char* InterfaceName(const _GUID& iid);

#endif
