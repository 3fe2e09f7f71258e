// IUnknown: the three operations every interface of the module starts with, expanded from
// the one list of its slots (qxzeva/interfaces.h), as every interface of the module is.
// What each operation returns, who owns and frees each out-value and which tasks may call it
// at once is written once, beside that list, on the C view's slot of the same name.
#ifndef QX_COM_UNKNOWN_H
#define QX_COM_UNKNOWN_H

#include "com/guid.h"
#include "com/hresult.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/interfaces.h"

#include <cstdint>

class IUnknown {
public:
    QXZEVA_IUNKNOWN_SLOTS(QXCXX_SLOT, QXCXX, IUnknown)

protected:
    ~IUnknown() = default;
};
QXZEVA_INTERFACE_ID_OF(::IUnknown, IUnknown)

#endif
