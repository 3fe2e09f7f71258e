// A property bag's whole content as text, for comparing a bag before and after an operation:
// every tag with its type and value in tag order, then the changed tags. Reads only through
// the bag's interface.
#ifndef QX_TESTS_BAG_DUMP_H
#define QX_TESTS_BAG_DUMP_H

#include "com/enuminterfaces.h"
#include "com/widestring.h"
#include "propertybag/propertybag_interfaces.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

inline std::string TagsOf(IkcSysEnumPropertyTag* tags) {
    std::string text;
    if (tags == nullptr)
        return "none";
    std::uint32_t tag = 0;
    while (tags->Next(1, &tag, nullptr) == S_OK) {
        char number[16];
        std::snprintf(number, sizeof number, "%08X ", static_cast<unsigned>(tag));
        text += number;
    }
    tags->Release();
    return text;
}

// Each type's read through the bag's interface: the value it reads into, set beforehand to
// what shows that the read wrote nothing, and the operation that reads it.
template <kcSysAttributeType Type>
struct BagRead;
template <>
struct BagRead<kcSysAttrTypeBoolean> {
    static constexpr int unread = -1;
    static constexpr auto get = &IkcSysPropertyBag3::GetBooleanProperty;
};
template <>
struct BagRead<kcSysAttrTypeInteger> {
    static constexpr std::int32_t unread = 0;
    static constexpr auto get = &IkcSysPropertyBag3::GetIntegerProperty;
};
template <>
struct BagRead<kcSysAttrTypeUnsignedInteger> {
    static constexpr std::uint32_t unread = 0;
    static constexpr auto get = &IkcSysPropertyBag3::GetUnsignedIntegerProperty;
};
template <>
struct BagRead<kcSysAttrTypeDouble> {
    static constexpr double unread = 0;
    static constexpr auto get = &IkcSysPropertyBag3::GetDoubleProperty;
};
template <>
struct BagRead<kcSysAttrTypeGuid> {
    static constexpr _GUID unread{};
    static constexpr auto get = &IkcSysPropertyBag3::GetGuidProperty;
};
template <>
struct BagRead<kcSysAttrTypeString> {
    static constexpr char16_t* unread = nullptr;
    static constexpr auto get = &IkcSysPropertyBag3::GetStringProperty;
};
template <>
struct BagRead<kcSysAttrTypeTimestampUTC> {
    static constexpr kcSysAttrTimestampUTC unread{};
    static constexpr auto get = &IkcSysPropertyBag3::GetTimestampPropertyUTC;
};

inline std::string BytesText(const void* value, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<const unsigned char*>(value)[i]);
        text += hex;
    }
    return text;
}

// Numbers as numbers; every other value as its bytes, which the two dumps compare.
template <class T>
std::string ValueText(const T& value) {
    if constexpr (std::is_integral_v<T>)
        return std::to_string(value);
    else
        return BytesText(&value, sizeof value);
}
inline std::string ValueText(char16_t* value) {
    const std::string text =
        value == nullptr ? "<null>" : BytesText(value, WideStringLength(value) * 2);
    FreeWideString(value);
    return text;
}

// A code that names no type is read as the last type.
inline std::string ValueOf(IkcSysPropertyBag3* bag, std::uint32_t tag, kcSysAttributeType type) {
    const auto read = [&](auto kind) {
        using Read = BagRead<decltype(kind)::value>;
        auto value = Read::unread;
        // Each read completes before its value is printed.
        const HRESULT result = (bag->*Read::get)(tag, &value);
        return std::to_string(result) + ":" + ValueText(value);
    };
    return qxzeva::VisitAttributeType(
        type, read, [&] { return read(qxzeva::AttributeTypeTag<kcSysAttrTypeTimestampUTC>{}); });
}

inline std::string BagDump(IkcSysPropertyBag3* bag) {
    std::string text;
    IkcSysEnumPropertyTag* tags = nullptr;
    if (bag->EnumProperties(&tags) == S_OK) {
        std::uint32_t tag = 0;
        while (tags->Next(1, &tag, nullptr) == S_OK) {
            kcSysAttributeType type{};
            bag->GetPropertyType(tag, &type);
            char head[32];
            std::snprintf(head, sizeof head, "%08X/%d=", static_cast<unsigned>(tag), type);
            text += head + ValueOf(bag, tag, type) + "\n";
        }
        tags->Release();
    }
    IkcSysEnumPropertyTag* changed = nullptr;
    bag->EnumChangedTags(&changed);
    return text + "changed " + TagsOf(changed);
}

#endif
