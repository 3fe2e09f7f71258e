// The bag's own data model with nothing of the module around it: an ordered map from tag to
// an owned, heap-allocated value object of one class per type (told apart by exact class),
// and an ordered set of changed tags, behind a std::recursive_mutex. It costs what any
// implementation of that model costs; the module's figures against it show what the module
// adds (its section on a kernel semaphore, the interface call), and its figures against the
// baseline what the model itself costs.
#ifndef QX_BENCH_DATA_MODEL_BAG_H
#define QX_BENCH_DATA_MODEL_BAG_H

#include "com/hresult.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <typeinfo>

class DataModelBag {
public:
    HRESULT SetInteger(std::uint32_t tag, std::int32_t value) {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        const auto position = m_values.lower_bound(tag);
        if (position != m_values.end() && position->first == tag) {
            auto* stored = As<std::int32_t>(position->second.get());
            if (stored == nullptr)
                return E_PROPERTY_TYPE_MISMATCH;
            stored->value = value;
        } else {
            m_values.emplace_hint(position, tag, std::make_unique<Typed<std::int32_t>>(value));
        }
        m_changed.insert(tag);
        return S_OK;
    }

    HRESULT GetInteger(std::uint32_t tag, std::int32_t* value) {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        const auto found = m_values.find(tag);
        if (found == m_values.end())
            return E_PROPERTY_NOT_FOUND;
        const auto* stored = As<std::int32_t>(found->second.get());
        if (stored == nullptr)
            return E_PROPERTY_TYPE_MISMATCH;
        *value = stored->value;
        return S_OK;
    }

    HRESULT Has(std::uint32_t tag) {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        return m_values.count(tag) != 0 ? S_OK : S_FALSE;
    }

    HRESULT Delete(std::uint32_t tag) {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        const auto found = m_values.find(tag);
        if (found == m_values.end())
            return E_PROPERTY_NOT_FOUND;
        m_values.erase(found);
        m_changed.erase(tag);
        return S_OK;
    }

private:
    struct Value {
        virtual ~Value() = default;
    };
    template <class T>
    struct Typed final : Value {
        explicit Typed(T initial) : value(initial) {}
        T value;
    };
    template <class T>
    static Typed<T>* As(Value* value) {
        return typeid(*value) == typeid(Typed<T>) ? static_cast<Typed<T>*>(value) : nullptr;
    }

    std::recursive_mutex m_mutex;
    std::map<std::uint32_t, std::unique_ptr<Value>> m_values;
    std::set<std::uint32_t> m_changed;
};

#endif
