// The module's reference-holding pointer for interfaces the host sees through the C view:
// counting goes through each interface's table of operations.
#ifndef QX_HOST_INTERFACE_REF_H
#define QX_HOST_INTERFACE_REF_H

#include "com/comptr.h"

struct CViewCounting {
    template <class Interface>
    static void AddRef(Interface* pointer) noexcept {
        pointer->lpVtbl->AddRef(pointer);
    }
    template <class Interface>
    static void Release(Interface* pointer) noexcept {
        pointer->lpVtbl->Release(pointer);
    }
};

template <class Interface>
using InterfaceRef = CQXComPtr<Interface, CViewCounting>;

#endif
