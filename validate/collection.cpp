#include "validate/collection.h"

#include "validate/alloc_interposer.h"

namespace {

Collection* Self(IkcSysPropertyBagCollection* face) {
    // face is the first member of a Collection, so the addresses are one.
    return reinterpret_cast<Collection*>(face);
}

HRESULT QueryInterface(IkcSysPropertyBagCollection* face, const _GUID* iid, void** out) {
    if (out == nullptr)
        return E_POINTER;
    if (!qxSameGuid(iid, &IID_IUnknown)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ++Self(face)->references;
    *out = face;
    return S_OK;
}

int32_t AddRef(IkcSysPropertyBagCollection* face) {
    return ++Self(face)->references;
}
int32_t Release(IkcSysPropertyBagCollection* face) {
    return --Self(face)->references;
}

HRESULT Add(Collection* self, IkcSysPropertyBag* bag) {
    if (++self->calls == self->failAt)
        return self->failWith;
    if (bag == nullptr) {
        self->dumps.emplace_back("a null bag");
        return S_OK;
    }
    if (self->dump)
        self->dumps.push_back(BagDump(*self->cx, bag));
    self->cx->Calling("IkcSysPropertyBag3::AddRef() in AddPropertyBag");
    self->lentCounts.push_back(bag->lpVtbl->AddRef(bag));
    Ref<IkcSysPropertyBag3> held;
    held.attach(bag);
    if (self->keep)
        self->kept.push_back(std::move(held));
    return S_OK;
}

HRESULT AddPropertyBag(IkcSysPropertyBagCollection* face, IkcSysPropertyBag* bag) {
    // The validator's own allocations here are no part of the module's call.
    const bool gate = SetAllocationGate(false);
    const HRESULT result = Add(Self(face), bag);
    SetAllocationGate(gate);
    return result;
}

const IkcSysPropertyBagCollectionVtbl k_table = {QueryInterface, AddRef, Release, AddPropertyBag};

} // namespace

Collection::Collection(CheckContext& context) : face{&k_table}, cx(&context) {}
