// The value objects a property bag keeps, one per tag: a base that knows its type code and
// one class per stored type. The bag tells the type of a stored value by its class (a
// checked down-cast), never by the code.
#ifndef QX_PROPERTYBAG_PROPERTY_VALUE_H
#define QX_PROPERTYBAG_PROPERTY_VALUE_H

#include "com/guid.h"
#include "propertybag/qxbstr.h"
#include "qxzeva/types.h"

#include <cstdint>
#include <type_traits>
#include <typeinfo>
#include <utility>

class CkcPropertyValue {
public:
    explicit CkcPropertyValue(kcSysAttributeType type) : m_type(type) {}
    virtual ~CkcPropertyValue();
    CkcPropertyValue(const CkcPropertyValue&) = delete;
    CkcPropertyValue& operator=(const CkcPropertyValue&) = delete;

    kcSysAttributeType GetType() const { return m_type; }

private:
    const kcSysAttributeType m_type;
};

// The stored type behind each code; exactly these seven are instantiated.
template <class T>
struct PropertyTypeCode;
template <>
struct PropertyTypeCode<bool> : std::integral_constant<kcSysAttributeType, kcSysAttrTypeBoolean> {};
template <>
struct PropertyTypeCode<std::int32_t>
    : std::integral_constant<kcSysAttributeType, kcSysAttrTypeInteger> {};
template <>
struct PropertyTypeCode<std::uint32_t>
    : std::integral_constant<kcSysAttributeType, kcSysAttrTypeUnsignedInteger> {};
template <>
struct PropertyTypeCode<double> : std::integral_constant<kcSysAttributeType, kcSysAttrTypeDouble> {
};
template <>
struct PropertyTypeCode<_GUID> : std::integral_constant<kcSysAttributeType, kcSysAttrTypeGuid> {};
template <>
struct PropertyTypeCode<CqxBStr> : std::integral_constant<kcSysAttributeType, kcSysAttrTypeString> {
};
template <>
struct PropertyTypeCode<kcSysAttrTimestampUTC>
    : std::integral_constant<kcSysAttributeType, kcSysAttrTypeTimestampUTC> {};

template <class T>
class CkcTemplatePropertyValue final : public CkcPropertyValue {
public:
    CkcTemplatePropertyValue(const T& value, kcSysAttributeType type)
        : CkcPropertyValue(type), m_value(value) {}
    CkcTemplatePropertyValue(T&& value, kcSysAttributeType type)
        : CkcPropertyValue(type), m_value(std::move(value)) {}
    ~CkcTemplatePropertyValue() override;

    // The bag reads through these (copying out) and never keeps the reference.
    const T& GetValue() const { return m_value; }
    // The type code stays what construction gave.
    // GCOVR_EXCL_START: the bag only moves values in
    void SetValue(const T& value) { m_value = value; }
    // GCOVR_EXCL_STOP
    void SetValue(T&& value) { m_value = std::move(value); }

private:
    T m_value;
};

template <class T>
CkcTemplatePropertyValue<T>::~CkcTemplatePropertyValue() = default;

// The checked down-cast: the value itself if its class is CkcTemplatePropertyValue<T>, else
// null (also for null). The class is final, so comparing the dynamic type answers exactly
// what dynamic_cast would, without walking the class hierarchy on every bag operation.
template <class T>
CkcTemplatePropertyValue<T>* AsTypedValue(CkcPropertyValue* value) {
    static_assert(std::is_final_v<CkcTemplatePropertyValue<T>>, "an exact type test needs it");
    if (value == nullptr || typeid(*value) != typeid(CkcTemplatePropertyValue<T>))
        return nullptr;
    return static_cast<CkcTemplatePropertyValue<T>*>(value);
}
template <class T>
const CkcTemplatePropertyValue<T>* AsTypedValue(const CkcPropertyValue* value) {
    return AsTypedValue<T>(const_cast<CkcPropertyValue*>(value));
}

// A copy of a string a bag stores (null for null, and null when there is no memory). Every
// stored string is a block the bag made with AllocWideString, so the count in front of it
// is its length: the copy is one allocation and one memcpy, with no scan for the end.
CqxBStr CopyOfStoredString(const CqxBStr& stored);

extern template class CkcTemplatePropertyValue<bool>;
extern template class CkcTemplatePropertyValue<std::int32_t>;
extern template class CkcTemplatePropertyValue<std::uint32_t>;
extern template class CkcTemplatePropertyValue<double>;
extern template class CkcTemplatePropertyValue<_GUID>;
extern template class CkcTemplatePropertyValue<CqxBStr>;
extern template class CkcTemplatePropertyValue<kcSysAttrTimestampUTC>;

#endif
