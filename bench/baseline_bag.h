// The yardstick for the property bag: what a careful engineer writes when nothing but
// speed matters. One ordered map from tag to a small value object, behind one recursive
// mutex; the value object holds every type inline but the string, which is a u16string.
// No change tracking, no interfaces, no reference count.
#ifndef QX_BENCH_BASELINE_BAG_H
#define QX_BENCH_BASELINE_BAG_H

#include "com/guid.h"
#include "com/hresult.h"
#include "qxzeva/types.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

struct BaselineValue {
    kcSysAttributeType type = kcSysAttrTypeInteger;
    union {
        bool flag;
        std::int32_t integer;
        std::uint32_t unsignedInteger;
        double real;
        _GUID guid;
        kcSysAttrTimestampUTC stamp;
    };
    std::u16string text;

    BaselineValue() : stamp{} {}
};

class BaselineBag {
public:
    BaselineBag() = default;
    BaselineBag(const BaselineBag& other) {
        std::lock_guard<std::recursive_mutex> lock(other.m_mutex);
        m_values = other.m_values;
    }
    BaselineBag& operator=(const BaselineBag&) = delete;

    HRESULT SetInteger(std::uint32_t tag, std::int32_t value) {
        return Store(tag, kcSysAttrTypeInteger, [&](BaselineValue& v) { v.integer = value; });
    }
    HRESULT SetUnsigned(std::uint32_t tag, std::uint32_t value) {
        return Store(tag, kcSysAttrTypeUnsignedInteger,
                     [&](BaselineValue& v) { v.unsignedInteger = value; });
    }
    HRESULT SetBoolean(std::uint32_t tag, bool value) {
        return Store(tag, kcSysAttrTypeBoolean, [&](BaselineValue& v) { v.flag = value; });
    }
    HRESULT SetDouble(std::uint32_t tag, double value) {
        return Store(tag, kcSysAttrTypeDouble, [&](BaselineValue& v) { v.real = value; });
    }
    HRESULT SetGuid(std::uint32_t tag, const _GUID& value) {
        return Store(tag, kcSysAttrTypeGuid, [&](BaselineValue& v) { v.guid = value; });
    }
    HRESULT SetTimestamp(std::uint32_t tag, const kcSysAttrTimestampUTC& value) {
        return Store(tag, kcSysAttrTypeTimestampUTC, [&](BaselineValue& v) { v.stamp = value; });
    }
    HRESULT SetString(std::uint32_t tag, const char16_t* value) {
        return Store(tag, kcSysAttrTypeString, [&](BaselineValue& v) { v.text = value; });
    }

    HRESULT GetInteger(std::uint32_t tag, std::int32_t* value) const {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        const auto found = m_values.find(tag);
        if (found == m_values.end())
            return E_PROPERTY_NOT_FOUND;
        if (found->second.type != kcSysAttrTypeInteger)
            return E_PROPERTY_TYPE_MISMATCH;
        *value = found->second.integer;
        return S_OK;
    }

    HRESULT Has(std::uint32_t tag) const {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        return m_values.count(tag) != 0 ? S_OK : S_FALSE;
    }

    HRESULT Delete(std::uint32_t tag) {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        return m_values.erase(tag) != 0 ? S_OK : E_PROPERTY_NOT_FOUND;
    }

private:
    template <class Assign>
    HRESULT Store(std::uint32_t tag, kcSysAttributeType type, Assign assign) {
        std::lock_guard<std::recursive_mutex> lock(m_mutex);
        auto position = m_values.lower_bound(tag);
        if (position == m_values.end() || position->first != tag) {
            position = m_values.emplace_hint(position, tag, BaselineValue());
            position->second.type = type;
        } else if (position->second.type != type) {
            return E_PROPERTY_TYPE_MISMATCH;
        }
        assign(position->second);
        return S_OK;
    }

    mutable std::recursive_mutex m_mutex;
    std::map<std::uint32_t, BaselineValue> m_values;
};

#endif
