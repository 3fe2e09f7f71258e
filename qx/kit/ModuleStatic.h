// Storage for a module-level static object whose life is run by the module's static
// constructor and destructor tables rather than by the C++ runtime: the storage is
// constant-initialised, and Construct and Destroy may each be called any number of times.
#ifndef QX_KIT_MODULESTATIC_H
#define QX_KIT_MODULESTATIC_H

#include <cassert>
#include <new>
#include <utility>

template <class T>
class ModuleStatic {
public:
    constexpr ModuleStatic() = default;
    ModuleStatic(const ModuleStatic&) = delete;
    ModuleStatic& operator=(const ModuleStatic&) = delete;

    template <class... Args>
    void Construct(Args&&... args) {
        if (m_built)
            return;
        ::new (static_cast<void*>(m_storage)) T(std::forward<Args>(args)...);
        m_built = true;
    }

    void Destroy() {
        if (!m_built)
            return;
        T& object = Get();
        m_built = false;
        object.~T();
    }

    bool IsBuilt() const { return m_built; }

    T& Get() {
        assert(m_built && "module static used before the module's constructors ran");
        return *std::launder(reinterpret_cast<T*>(m_storage));
    }
    T* operator->() { return &Get(); }
    T& operator*() { return Get(); }

private:
    alignas(T) unsigned char m_storage[sizeof(T)]{};
    bool m_built = false;
};

#endif
