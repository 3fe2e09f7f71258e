// Enumerators over a standard container: one template does the walking for every
// enumerator interface of the module. The container never changes while enumerators walk
// it; a source and its clones share it and move independently.
#ifndef QX_COM_ENUMONSTL_H
#define QX_COM_ENUMONSTL_H

#include "com/comobject.h"
#include "com/comptr.h"
#include "com/hresult_from_exception.h"
#include "com/interfaceentry.h"
#include "com/unknown.h"

#include <cstdint>
#include <memory>

template <class Interface, const _GUID* piid, class T, class Copy, class CollType,
          class ThreadModel>
class CQXComEnumOnSTL;

// Copy supplies static HRESULT copy(T* to, const CollType::value_type* from), failing with
// nothing to destroy, and static void destroy(T*). m_container is the container walked: the
// enumerator's own (m_ownContainer), or one that m_owner keeps alive, or, for a caller that
// outlives the enumerator, simply borrowed.
template <class Interface, const _GUID* piid, class T, class Copy, class CollType>
class IQXEnumOnSTLImpl : public Interface {
public:
    using InterfaceType = Interface;
    using ContainerType = CollType;

    // Done once, before the enumerator is handed out: walks a container that owner, when
    // not null, keeps alive.
    void Init(IUnknown* owner, CollType* container) {
        m_owner = CQXComPtr<IUnknown>(owner);
        m_container = container;
        m_position = container->begin();
    }
    // The same for a container the enumerator owns from now on.
    void Init(std::unique_ptr<CollType> container) {
        m_ownContainer = std::move(container);
        Init(nullptr, m_ownContainer.get());
    }

    HRESULT Next(std::uint32_t wanted, T* elements, std::uint32_t* fetched) noexcept override;
    HRESULT Skip(std::uint32_t count) noexcept override;
    HRESULT Reset() noexcept override;
    HRESULT Clone(Interface** clone) noexcept override;

    CQXComPtr<IUnknown> m_owner;
    CollType* m_container = nullptr;
    typename CollType::const_iterator m_position{};

protected:
    IQXEnumOnSTLImpl() = default;
    virtual ~IQXEnumOnSTLImpl() = default;

private:
    std::unique_ptr<CollType> m_ownContainer;
};

template <class Interface, const _GUID* piid, class T, class Copy, class CollType,
          class ThreadModel>
class CQXComEnumOnSTL : public IQXEnumOnSTLImpl<Interface, piid, T, Copy, CollType>,
                        public CQXComObjectRootEx<ThreadModel> {
public:
    static const InterfaceEntry* _GetEntries() {
        static const InterfaceEntry _entries[] = {
            {piid, OffsetOfBase<Interface, CQXComEnumOnSTL>(), k_entrySimple},
            {nullptr, 0, k_entryEnd}};
        return _entries;
    }

protected:
    ~CQXComEnumOnSTL() override = default;
};

template <class I, const _GUID* piid, class T, class Copy, class CollType>
HRESULT IQXEnumOnSTLImpl<I, piid, T, Copy, CollType>::Next(std::uint32_t wanted, T* elements,
                                                           std::uint32_t* fetched) noexcept {
    if (elements == nullptr || (wanted != 1 && fetched == nullptr))
        return E_POINTER;
    if (m_container == nullptr)
        return E_FAIL;
    const auto start = m_position;
    std::uint32_t count = 0;
    HRESULT result = S_OK;
    for (; m_position != m_container->end() && count < wanted; ++m_position, ++count) {
        if (SUCCEEDED(Copy::copy(&elements[count], &*m_position)))
            continue;
        // Nothing of a failed call reaches the caller, and nothing is lost: the elements
        // copied so far are freed, their slots cleared, and they will be offered again.
        for (std::uint32_t i = 0; i < count; ++i)
            Copy::destroy(&elements[i]);
        for (std::uint32_t i = 0; i <= count; ++i)
            elements[i] = T{};
        m_position = start;
        count = 0;
        result = E_OUTOFMEMORY;
        break;
    }
    if (fetched != nullptr)
        *fetched = count;
    if (FAILED(result))
        return result;
    return count == wanted ? S_OK : S_FALSE;
}

template <class I, const _GUID* piid, class T, class Copy, class CollType>
HRESULT IQXEnumOnSTLImpl<I, piid, T, Copy, CollType>::Skip(std::uint32_t count) noexcept {
    if (m_container == nullptr)
        return E_FAIL;
    for (; count > 0; --count, ++m_position)
        if (m_position == m_container->end())
            return S_FALSE;
    return S_OK;
}

template <class I, const _GUID* piid, class T, class Copy, class CollType>
HRESULT IQXEnumOnSTLImpl<I, piid, T, Copy, CollType>::Reset() noexcept {
    if (m_container == nullptr)
        return E_FAIL;
    m_position = m_container->begin();
    return S_OK;
}

template <class I, const _GUID* piid, class T, class Copy, class CollType>
HRESULT IQXEnumOnSTLImpl<I, piid, T, Copy, CollType>::Clone(I** clone) noexcept {
    using Enumerator = CQXComEnumOnSTL<I, piid, T, Copy, CollType, CQXComMultiThreadModelNoCS>;
    if (clone == nullptr)
        return E_POINTER;
    *clone = nullptr;
    if (m_container == nullptr)
        return E_FAIL;
    return HResultOf([&] {
        CQXComPtr<CQXComObject<Enumerator>> object = MakeComObject<Enumerator>();
        // A source that owns its container becomes the clone's owner, so the container lives
        // as long as any enumerator walks it, whichever is released first.
        IUnknown* keeper = m_owner ? m_owner.get() : static_cast<IUnknown*>(this);
        object->m_owner = CQXComPtr<IUnknown>(keeper);
        object->m_container = m_container;
        object->m_position = m_position;
        *clone = object.detach();
        return S_OK;
    });
}

// A new enumerator of class Enumerator over container, which it then owns, holding the one
// reference the receiver gets. Throws the HRESULT of a failed creation (the container is then
// released).
template <class Enumerator>
CQXComPtr<typename Enumerator::InterfaceType>
MakeEnumerator(std::unique_ptr<typename Enumerator::ContainerType> container) {
    CQXComPtr<CQXComObject<Enumerator>> enumerator = MakeComObject<Enumerator>();
    enumerator->Init(std::move(container));
    return enumerator;
}

#endif
