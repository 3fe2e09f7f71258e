// IUnknown: the three operations every interface of the module starts with. Interfaces have
// no virtual destructor, so their tables hold exactly the listed slots.
// What each operation returns, who owns and frees each out-value and which tasks may call it
// at once is written once, on the slot of the same name in the C view (expert/qxzeva_c.h).
#ifndef QX_COM_UNKNOWN_H
#define QX_COM_UNKNOWN_H

#include "com/guid.h"
#include "com/hresult.h"

#include <cstdint>

class IUnknown {
public:
    virtual HRESULT QueryInterface(const _GUID& iid, void** object) = 0;
    virtual std::int32_t AddRef() = 0;
    virtual std::int32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

#endif
