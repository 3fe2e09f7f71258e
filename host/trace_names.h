// Names the host shows for the module's result codes and interface identifiers, taken from
// the tables beside the constants themselves.
#ifndef QX_HOST_TRACE_NAMES_H
#define QX_HOST_TRACE_NAMES_H

#include "cli/c_view.h"

#include <string>

// "0x80004005": a result code as its hexadecimal bits.
std::string HResultText(HRESULT result);

// "S_OK", "E_ITEM_NOT_FOUND", ...; HResultText for a code without a name.
std::string HResultName(HRESULT result);

// "E_OUTOFMEMORY (0x8007000E)", as messages give a result; HResultText for one without a name.
std::string HResultNamed(HRESULT result);

// "IkcSysPropertyBag3"; null for an identifier the module does not define.
const char* InterfaceName(const _GUID& iid);

#endif
