/** @file ref.h
    The holder of one counted interface reference, the same template for the module and for
    hosts: the module counts through its C++ interfaces' own operations, a host of the C view
    through the table of operations. A copy takes a reference of its own; destruction and
    reassignment give the held one back; the constructor from a pointer counts, while adopt,
    attach and detach move a reference in and out without counting; put and put_void lend the empty
   slot to an operation that writes a new reference into an out-parameter; as and try_as ask the
   object for another interface, by the identifier of the interface's type. C++17. */
#ifndef QXZEVA_REF_H
#define QXZEVA_REF_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/identifiers.h"
#include "qxzeva/results.h"

#include <cassert>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace qxzeva {

/** Counting and asking through the interface's own operations (C++ interfaces). */
struct MemberCounting {
    /** Adds a reference. */
    template <class T>
    static void AddRef(T* pointer) noexcept {
        pointer->AddRef();
    }
    /** Gives back a reference. */
    template <class T>
    static void Release(T* pointer) noexcept {
        pointer->Release();
    }
    /** Asks for the interface iid names. */
    template <class T>
    static HRESULT QueryInterface(T* pointer, const _GUID& iid, void** object) noexcept {
        return pointer->QueryInterface(iid, object);
    }
};

/** Counting and asking through the table of operations (lpVtbl; the C view). */
struct TableCounting {
    /** Adds a reference. */
    template <class T>
    static void AddRef(T* pointer) noexcept {
        pointer->lpVtbl->AddRef(pointer);
    }
    /** Gives back a reference. */
    template <class T>
    static void Release(T* pointer) noexcept {
        pointer->lpVtbl->Release(pointer);
    }
    /** Asks for the interface iid names. */
    template <class T>
    static HRESULT QueryInterface(T* pointer, const _GUID& iid, void** object) noexcept {
        return pointer->lpVtbl->QueryInterface(pointer, &iid, object);
    }
};

/** A reference to an interface, given back when the holder lets go of it; Counting says how
    the interface counts (MemberCounting or TableCounting). */
template <class T, class Counting>
class BasicRef {
public:
    /** An empty holder. */
    BasicRef() noexcept = default;
    /** An empty holder, from nullptr. */
    BasicRef(std::nullptr_t) noexcept {}
    /** Counts: takes a reference of its own (AddRef), and the caller keeps its one, which it
        still gives back. A pointer whose reference the caller hands over, such as one an
        operation just wrote into an out-parameter, goes to adopt instead: counted here, it
        would never be given back. */
    explicit BasicRef(T* pointer) noexcept : m_pointer(pointer) {
        if (m_pointer != nullptr)
            Counting::AddRef(m_pointer);
    }
    /** Adopts: a holder of the caller's reference to pointer, uncounted; the caller gives
        nothing back. `auto bag = qxzeva::Ref<IkcSysPropertyBag3>::adopt(raw);` */
    [[nodiscard]] static BasicRef adopt(T* pointer) noexcept {
        BasicRef holder;
        holder.m_pointer = pointer;
        return holder;
    }
    /** Takes a reference of its own to what other holds. */
    BasicRef(const BasicRef& other) noexcept : BasicRef(other.m_pointer) {}
    /** Takes over other's reference, leaving other empty. */
    BasicRef(BasicRef&& other) noexcept : m_pointer(other.detach()) {}
    /** Takes over the reference of a holder of a derived class, such as a new object's holder
        becoming one of the interface it is handed out as. */
    template <class Derived, class = std::enable_if_t<std::is_convertible_v<Derived*, T*>>>
    BasicRef(BasicRef<Derived, Counting>&& other) noexcept : m_pointer(other.detach()) {}
    /** Gives back the reference held, if any. */
    ~BasicRef() { reset(); }

    /** Holds what other holds. By value: the new reference is taken before the old one is
        given back, so assigning a holder the object it already holds is safe. */
    BasicRef& operator=(BasicRef other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    /** The interface held, or null; the holder keeps its reference. */
    T* get() const noexcept { return m_pointer; }
    /** The interface held, to reach its operations. */
    T* operator->() const noexcept { return m_pointer; }
    /** Whether a reference is held. */
    explicit operator bool() const noexcept { return m_pointer != nullptr; }

    /** Gives back the reference held, if any, leaving the holder empty. */
    void reset() noexcept {
        if (T* held = detach())
            Counting::Release(held);
    }
    /** Adopts the caller's reference, giving back the one held. */
    void attach(T* pointer) noexcept {
        reset();
        m_pointer = pointer;
    }
    /** Hands the reference held over to the caller, uncounted, leaving the holder empty. */
    [[nodiscard]] T* detach() noexcept { return std::exchange(m_pointer, nullptr); }
    /** The empty slot, for an operation's out-parameter to write a new reference into.
        Lending a slot that still holds a reference is a caller error: the operation would
        overwrite it unreleased. Debug builds stop on it; other builds give the reference
        back first rather than lose it. */
    [[nodiscard]] T** put() noexcept {
        assert(m_pointer == nullptr &&
               "put() on a holder that still holds a reference; reset() it first");
        reset();
        return &m_pointer;
    }
    /** The empty slot as void**, for QueryInterface and the module's factory. */
    [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    /** A holder of interface U of the same object, asked for by U's identifier; empty when
        the object has no such interface (or this holder is empty). */
    template <class U>
    BasicRef<U, Counting> try_as() const noexcept {
        BasicRef<U, Counting> other;
        if (m_pointer != nullptr)
            Counting::QueryInterface(m_pointer, InterfaceId<U>::value, other.put_void());
        return other;
    }
    /** As try_as, with the object's answer in *result: S_OK, or E_NOINTERFACE (or another
        failure) with the holder empty. */
    template <class U>
    BasicRef<U, Counting> as(HRESULT* result) const noexcept {
        BasicRef<U, Counting> other;
        *result = m_pointer == nullptr ? E_POINTER
                                       : Counting::QueryInterface(m_pointer, InterfaceId<U>::value,
                                                                  other.put_void());
        if (QX_FAILED(*result))
            other.reset();
        return other;
    }

private:
    T* m_pointer = nullptr;
};

/// @cond internal
namespace detail {
// How an interface counts: through lpVtbl when it is a struct of the C view, else through
// its own operations.
template <class Interface, class = void>
struct CountingOf {
    using type = MemberCounting;
};
template <class Interface>
struct CountingOf<Interface, std::void_t<decltype(std::declval<Interface&>().lpVtbl)>> {
    using type = TableCounting;
};
} // namespace detail
/// @endcond

/** The holder of an interface for hosts, of either view: Ref<IkcSysPropertyBag3> (the C++
    view, qxzeva/qxzeva_cxx.h) counts through the interface's operations,
    Ref<qxzeva::c::IkcSysPropertyBag3> (the C view) through its table. The interface must be
    complete where the holder is named. */
template <class Interface>
using Ref = BasicRef<Interface, typename detail::CountingOf<Interface>::type>;

} // namespace qxzeva

#endif
