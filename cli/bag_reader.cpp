#include "cli/bag_reader.h"

#include "cli/property_labels.h"
#include "cli/value_text.h"
#include "qxzeva/qxzeva_host.h"
#include "qxzeva/types.h"

#include <algorithm>

namespace {

using qxzeva::AttributeTypeTag;

// Each type's read through the C view: the value it reads into and the slot that reads it.
template <kcSysAttributeType Type>
struct CViewRead;
template <>
struct CViewRead<kcSysAttrTypeBoolean> {
    using Value = int;
    static constexpr auto slot = &IkcSysPropertyBag3Vtbl::GetBooleanProperty;
};
template <>
struct CViewRead<kcSysAttrTypeInteger> {
    using Value = std::int32_t;
    static constexpr auto slot = &IkcSysPropertyBag3Vtbl::GetIntegerProperty;
};
template <>
struct CViewRead<kcSysAttrTypeUnsignedInteger> {
    using Value = std::uint32_t;
    static constexpr auto slot = &IkcSysPropertyBag3Vtbl::GetUnsignedIntegerProperty;
};
template <>
struct CViewRead<kcSysAttrTypeDouble> {
    using Value = double;
    static constexpr auto slot = &IkcSysPropertyBag3Vtbl::GetDoubleProperty;
};
template <>
struct CViewRead<kcSysAttrTypeGuid> {
    using Value = _GUID;
    static constexpr auto slot = &IkcSysPropertyBag3Vtbl::GetGuidProperty;
};
template <>
struct CViewRead<kcSysAttrTypeString> {
    using Value = QX_WCHAR*;
    static constexpr auto slot = &IkcSysPropertyBag3Vtbl::GetStringProperty;
};
template <>
struct CViewRead<kcSysAttrTypeTimestampUTC> {
    using Value = kcSysAttrTimestamp; // shown as local time, as the framework's tools show it
    static constexpr auto slot = &IkcSysPropertyBag3Vtbl::GetTimestampProperty;
};

void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeBoolean>, int value) {
    reading->boolean = value != 0;
}
void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeInteger>, std::int32_t value) {
    reading->integer = value;
}
void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeUnsignedInteger>,
          std::uint32_t value) {
    reading->unsignedInteger = value;
}
void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeDouble>, double value) {
    reading->real = value;
}
void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeGuid>, const _GUID& value) {
    reading->text = qxzeva::GuidText(value);
}
void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeString>, QX_WCHAR* value) {
    qxzeva::WideString owned;
    *owned.put() = value;
    reading->isNull = !owned;
    reading->text = owned.utf8();
}
void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeTimestampUTC>,
          const kcSysAttrTimestamp& value) {
    reading->text = TimestampText(value);
}

HRESULT ReadValue(IkcSysPropertyBag* bag, PropertyReading* reading) {
    return qxzeva::VisitAttributeType(
        static_cast<kcSysAttributeType>(reading->type),
        [&](auto type) {
            using Read = CViewRead<decltype(type)::value>;
            typename Read::Value value{};
            const HRESULT result = (bag->lpVtbl->*Read::slot)(bag, reading->tag, &value);
            Keep(reading, type, value);
            return result;
        },
        [] { return E_FAIL; });
}

} // namespace

HRESULT ReadBag(IkcSysPropertyBag* bag, std::vector<PropertyReading>* properties) {
    qxzeva::Ref<IkcSysEnumPropertyTag> tags;
    HRESULT result = bag->lpVtbl->EnumProperties(bag, tags.put());
    if (QX_FAILED(result) || !tags)
        return result;
    std::uint32_t batch[32];
    std::uint32_t fetched = 0;
    do {
        result = tags->lpVtbl->Next(tags.get(), 32, batch, &fetched);
        for (std::uint32_t i = 0; QX_SUCCEEDED(result) && i < fetched; ++i) {
            PropertyReading reading;
            reading.tag = batch[i];
            kcSysAttributeType type = kcSysAttrTypeBoolean;
            result = bag->lpVtbl->GetPropertyType(bag, reading.tag, &type);
            reading.type = type;
            if (QX_SUCCEEDED(result))
                result = ReadValue(bag, &reading);
            properties->push_back(reading);
        }
    } while (result == S_OK && fetched == 32);
    tags.reset();
    if (QX_FAILED(result))
        return result;
    std::stable_sort(properties->begin(), properties->end(),
                     [](const PropertyReading& left, const PropertyReading& right) {
                         return PropertyRank(left.tag) < PropertyRank(right.tag);
                     });
    return S_OK;
}
