// A reference to a counted object, held for as long as the holder lives: a copy takes a
// reference of its own, destruction and reassignment give the held one back. attach and
// detach move a reference in and out without counting; put hands an empty slot to an
// operation that writes a new reference into an out-parameter. Counting goes through the C++
// interface's own operations; a host that sees the interfaces through the C view names a
// Counting that goes through the table of operations instead.
#ifndef QX_COM_COMPTR_H
#define QX_COM_COMPTR_H

#include <cassert>
#include <type_traits>
#include <utility>

struct CQXComMemberCounting {
    template <class T>
    static void AddRef(T* pointer) noexcept {
        pointer->AddRef();
    }
    template <class T>
    static void Release(T* pointer) noexcept {
        pointer->Release();
    }
};

template <class T, class Counting = CQXComMemberCounting>
class CQXComPtr {
public:
    CQXComPtr() noexcept = default;
    // Takes a reference of its own; the caller keeps its one.
    explicit CQXComPtr(T* pointer) noexcept : m_pointer(pointer) {
        if (m_pointer != nullptr)
            Counting::AddRef(m_pointer);
    }
    CQXComPtr(const CQXComPtr& other) noexcept : CQXComPtr(other.m_pointer) {}
    CQXComPtr(CQXComPtr&& other) noexcept : m_pointer(other.detach()) {}
    // Takes over the reference of a holder of a derived class, such as a new object's holder
    // becoming one of the interface it is handed out as.
    template <class Derived, class = std::enable_if_t<std::is_convertible_v<Derived*, T*>>>
    CQXComPtr(CQXComPtr<Derived, Counting>&& other) noexcept : m_pointer(other.detach()) {}
    ~CQXComPtr() { reset(); }

    // By value: the copy's reference is taken before the old one is given back, so
    // assigning a holder the object it already holds is safe.
    CQXComPtr& operator=(CQXComPtr other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    // Takes over the caller's reference, giving back the one held.
    void attach(T* pointer) noexcept {
        reset();
        m_pointer = pointer;
    }
    // Hands the held reference to the caller and holds nothing.
    [[nodiscard]] T* detach() noexcept { return std::exchange(m_pointer, nullptr); }
    // The empty slot, for an operation that writes a new reference into an out-parameter.
    // Lending a slot that still holds a reference is a caller error: the operation would
    // overwrite it unreleased. Debug builds stop on it; other builds give the reference back
    // first rather than lose it.
    [[nodiscard]] T** put() noexcept {
        assert(m_pointer == nullptr &&
               "put() on a holder that still holds a reference; reset() it first");
        reset();
        return &m_pointer;
    }
    void reset() noexcept {
        if (T* held = detach())
            Counting::Release(held);
    }

    T* get() const noexcept { return m_pointer; }
    T* operator->() const noexcept { return m_pointer; }
    explicit operator bool() const noexcept { return m_pointer != nullptr; }

private:
    T* m_pointer = nullptr;
};

#endif
