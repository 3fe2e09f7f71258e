#include "host/host_collection.h"

#include <new>
#include <utility>

const IkcSysPropertyBagCollectionVtbl HostCollection::s_table = {
    HostCollection::QueryInterface, HostCollection::AddRef, HostCollection::Release,
    HostCollection::AddPropertyBag};

HostCollection::HostCollection() : m_interface{&s_table} {}

HostCollection* HostCollection::From(IkcSysPropertyBagCollection* self) {
    return reinterpret_cast<HostCollection*>(self);
}

HRESULT HostCollection::QueryInterface(IkcSysPropertyBagCollection* self, const _GUID* iid,
                                       void** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (iid == nullptr)
        return E_POINTER;
    if (!qxzeva::SameGuid(*iid, IID_IUnknown))
        return E_NOINTERFACE;
    AddRef(self);
    *object = self;
    return S_OK;
}

int32_t HostCollection::AddRef(IkcSysPropertyBagCollection* self) {
    return ++From(self)->m_count;
}

int32_t HostCollection::Release(IkcSysPropertyBagCollection* self) {
    return --From(self)->m_count;
}

HRESULT HostCollection::AddPropertyBag(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag) {
    if (bag == nullptr)
        return E_POINTER;
    qxzeva::Ref<IkcSysPropertyBag> kept;
    bag->lpVtbl->AddRef(bag);
    kept.attach(bag);
    try {
        From(self)->m_bags.push_back(std::move(kept));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
