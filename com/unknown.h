// IUnknown: the three operations every interface of the module starts with. Interfaces have
// no virtual destructor, so their tables hold exactly the listed slots.
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
