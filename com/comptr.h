// A reference to a counted object, held for as long as the holder lives: a copy takes a
// reference of its own, destruction and reassignment give the held one back. attach and
// detach move a reference in and out without counting; put hands an empty slot to an
// operation that writes a new reference into an out-parameter. Counting goes through the C++
// interface's own operations; a host that sees the interfaces through the C view names a
// Counting that goes through the table of operations instead.
#ifndef QX_COM_COMPTR_H
#define QX_COM_COMPTR_H

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
    // Gives back the held reference and returns the empty slot for an out-parameter.
    [[nodiscard]] T** put() noexcept {
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

// Holds a reference the caller already owns, such as a new object's first one.
template <class Counting = CQXComMemberCounting, class T>
CQXComPtr<T, Counting> AttachComPtr(T* pointer) noexcept {
    CQXComPtr<T, Counting> held;
    held.attach(pointer);
    return held;
}

#endif
