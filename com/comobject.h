// Reference counting, creation and destruction of the module's component objects.
#ifndef QX_COM_COMOBJECT_H
#define QX_COM_COMOBJECT_H

#include "com/comptr.h"
#include "com/hresult.h"
#include "com/interfaceentry.h"
#include "com/qxmutex.h"
#include "com/unknown.h"

#include <cassert>
#include <cstdint>
#include <new>
#include <type_traits>

// Holds the count. No virtual operations, so it adds no table slot to any class.
class CQXComObjectRootBase {
public:
    CQXComObjectRootBase() = default;
    CQXComObjectRootBase(const CQXComObjectRootBase&) = delete;
    CQXComObjectRootBase& operator=(const CQXComObjectRootBase&) = delete;

    // Exact only while no other task counts; for tests.
    std::int32_t RefCountForTesting() const { return m_refCount; }

protected:
    std::int32_t m_refCount = 0;
};

// Counts through the module's global lock; gives the object no lock of its own.
struct CQXComMultiThreadModelNoCS {
    static std::int32_t Increment(std::int32_t* count, bool* changed) {
        return InterLockedIncrementCount(count, changed);
    }
    static std::int32_t Decrement(std::int32_t* count, bool* changed) {
        return InterLockedDecrementCount(count, changed);
    }
};

template <class ThreadModel>
class CQXComObjectRootEx : public CQXComObjectRootBase {
public:
    std::int32_t InternalAddRef() {
        bool changed = false;
        const std::int32_t count = ThreadModel::Increment(&m_refCount, &changed);
        assert(changed && "AddRef on a destroyed or saturated object");
        return count;
    }

    // *last is true for the call that took the count to 0: that caller destroys.
    std::int32_t InternalRelease(bool* last) {
        bool changed = false;
        const std::int32_t count = ThreadModel::Decrement(&m_refCount, &changed);
        assert(changed && "Release of an object that holds no reference");
        *last = changed && count == 0;
        return count;
    }

protected:
    void SetRefCountForDestruction() { m_refCount = 1; }
};

// The class that is created: supplies IUnknown for all of T's interfaces.
template <class T>
class CQXComObject final : public T {
public:
    CQXComObject() = default;

    HRESULT QueryInterface(const _GUID& iid, void** object) noexcept override {
        if (object == nullptr)
            return E_POINTER;
        return InternalQueryInterface(static_cast<T*>(this), T::_GetEntries(), iid, object);
    }

    std::int32_t AddRef() noexcept override { return this->InternalAddRef(); }

    std::int32_t Release() noexcept override {
        bool last = false;
        const std::int32_t count = this->InternalRelease(&last);
        if (last)
            delete this;
        return count;
    }

    // A destructor that runs T's cleanup sees a count of 1, so a reference taken and given
    // back during cleanup cannot destroy the object a second time.
    ~CQXComObject() override { this->SetRefCountForDestruction(); }

    // Reached by no interface the host knows.
    // GCOVR_EXCL_START: no interface leads here, the slot only keeps the layout
    virtual HRESULT RemoteNext(std::uint32_t, char16_t**, std::uint32_t*) { return S_OK; }
    // GCOVR_EXCL_STOP

    // Creates with count 0; the caller owns no reference yet.
    static HRESULT CreateInstance(CQXComObject** out) {
        assert(out != nullptr);
        CQXComObject* object = nullptr;
        try {
            object = new CQXComObject();
        } catch (...) {
            object = nullptr; // new has released the memory of a half-built object
        }
        *out = object;
        if (object == nullptr)
            return E_OUTOFMEMORY;
        assert(object->RefCountForTesting() == 0);
        return S_OK;
    }

    // Creates and takes the first reference, or throws the failing HRESULT.
    static CQXComObject* NewInstance() {
        CQXComObject* object = nullptr;
        const HRESULT result = CreateInstance(&object);
        if (FAILED(result))
            throw HRESULT{result};
        object->AddRef();
        return object;
    }
};

// Makes an object whose first reference is born into a holder: the way the module makes
// every object, so that one it gives up before handing it out (a failure on the way) is
// released by the holder. An out-parameter receives the reference with detach(). Throws the
// failing HRESULT, as NewInstance does.
template <class T>
CQXComPtr<CQXComObject<T>> MakeComObject() {
    CQXComPtr<CQXComObject<T>> made;
    made.attach(CQXComObject<T>::NewInstance());
    return made;
}

// Stores pointer in a slot that owns a reference: the new reference is taken before the old
// one is given back, so assigning the pointer a slot already holds is safe.
template <class Interface>
Interface* ComPtrAssign(Interface** slot, Interface* pointer) {
    if (pointer != nullptr)
        pointer->AddRef();
    if (*slot != nullptr)
        (*slot)->Release();
    *slot = pointer;
    return pointer;
}

#endif
