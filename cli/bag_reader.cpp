#include "cli/bag_reader.h"

#include "cli/property_labels.h"
#include "cli/value_text.h"
#include "qxzeva/qxzeva_host.h"
#include "qxzeva/types.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace {

using qxzeva::AttributeTypeTag;

// Each type's read through the C view: the value it reads into, the slot that reads it and
// the slot's name.
template <kcSysAttributeType Type>
struct CViewRead;
#define QX_CVIEW_READ(Type, ValueType, getter)                                                     \
    template <>                                                                                    \
    struct CViewRead<Type> {                                                                       \
        using Value = ValueType;                                                                   \
        static constexpr auto slot = &IkcSysPropertyBag3Vtbl::getter;                              \
        static constexpr const char* name = #getter;                                               \
    };
QX_CVIEW_READ(kcSysAttrTypeBoolean, int, GetBooleanProperty)
QX_CVIEW_READ(kcSysAttrTypeInteger, std::int32_t, GetIntegerProperty)
QX_CVIEW_READ(kcSysAttrTypeUnsignedInteger, std::uint32_t, GetUnsignedIntegerProperty)
QX_CVIEW_READ(kcSysAttrTypeDouble, double, GetDoubleProperty)
QX_CVIEW_READ(kcSysAttrTypeGuid, _GUID, GetGuidProperty)
QX_CVIEW_READ(kcSysAttrTypeString, QX_WCHAR*, GetStringProperty)
// Shown as local time, as the framework's tools show it.
QX_CVIEW_READ(kcSysAttrTypeTimestampUTC, kcSysAttrTimestamp, GetTimestampProperty)
#undef QX_CVIEW_READ
// A timestamp as stored (BagReadOptions::storedTimestamps).
struct StoredTimestampRead {
    using Value = kcSysAttrTimestampUTC;
    static constexpr auto slot = &IkcSysPropertyBag3Vtbl::GetTimestampPropertyUTC;
    static constexpr const char* name = "GetTimestampPropertyUTC";
};

void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeBoolean>, int value) {
    reading->boolean = value != 0;
    reading->integer = value;
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
void Keep(PropertyReading* reading, AttributeTypeTag<kcSysAttrTypeTimestampUTC>,
          const kcSysAttrTimestampUTC& value) {
    reading->text = UtcTimestampText(value);
}

void Tell(const BagReadOptions& options, const char* operation, std::uint32_t tag,
          const char* out) {
    if (!options.calling)
        return;
    char text[96];
    std::snprintf(text, sizeof text, "IkcSysPropertyBag3::%s(0x%08" PRIX32 ", %s)", operation, tag,
                  out);
    options.calling(text);
}

template <class Read, class Type>
HRESULT ReadWith(IkcSysPropertyBag* bag, PropertyReading* reading, Type type,
                 const BagReadOptions& options) {
    Tell(options, Read::name, reading->tag, "&value");
    typename Read::Value value{};
    const HRESULT result = (bag->lpVtbl->*Read::slot)(bag, reading->tag, &value);
    Keep(reading, type, value);
    return result;
}

HRESULT ReadValue(IkcSysPropertyBag* bag, PropertyReading* reading, const BagReadOptions& options) {
    if (options.storedTimestamps && reading->type == kcSysAttrTypeTimestampUTC)
        return ReadWith<StoredTimestampRead>(
            bag, reading, AttributeTypeTag<kcSysAttrTypeTimestampUTC>{}, options);
    return qxzeva::VisitAttributeType(
        static_cast<kcSysAttributeType>(reading->type),
        [&](auto type) {
            return ReadWith<CViewRead<decltype(type)::value>>(bag, reading, type, options);
        },
        [] { return E_FAIL; });
}

} // namespace

HRESULT ReadBag(IkcSysPropertyBag* bag, std::vector<PropertyReading>* properties,
                const BagReadOptions& options) {
    qxzeva::Ref<IkcSysEnumPropertyTag> tags;
    if (options.calling)
        options.calling("IkcSysPropertyBag3::EnumProperties(&tags)");
    HRESULT result = bag->lpVtbl->EnumProperties(bag, tags.put());
    if (QX_FAILED(result) || !tags)
        return result;
    std::uint32_t batch[32];
    std::uint32_t fetched = 0;
    do {
        if (options.calling)
            options.calling("IkcSysEnumPropertyTag::Next(32, tags, &fetched)");
        result = tags->lpVtbl->Next(tags.get(), 32, batch, &fetched);
        for (std::uint32_t i = 0; QX_SUCCEEDED(result) && i < fetched; ++i) {
            PropertyReading reading;
            reading.tag = batch[i];
            kcSysAttributeType type = kcSysAttrTypeBoolean;
            Tell(options, "GetPropertyType", reading.tag, "&type");
            result = bag->lpVtbl->GetPropertyType(bag, reading.tag, &type);
            reading.type = type;
            if (QX_SUCCEEDED(result))
                result = ReadValue(bag, &reading, options);
            reading.result = result;
            properties->push_back(reading);
        }
    } while (result == S_OK && fetched == 32);
    if (options.calling)
        options.calling("IkcSysEnumPropertyTag::Release()");
    tags.reset();
    if (QX_FAILED(result))
        return result;
    std::stable_sort(properties->begin(), properties->end(),
                     [](const PropertyReading& left, const PropertyReading& right) {
                         return PropertyRank(left.tag) < PropertyRank(right.tag);
                     });
    return S_OK;
}
