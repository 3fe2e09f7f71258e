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

inline std::string ValueOf(IkcSysPropertyBag3* bag, std::uint32_t tag, kcSysAttributeType type) {
    const auto bytes = [](const void* value, std::size_t size) {
        std::string text;
        for (std::size_t i = 0; i < size; ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", static_cast<const unsigned char*>(value)[i]);
            text += hex;
        }
        return text;
    };
    // Each read completes before its value is printed.
    const auto show = [](HRESULT result, const std::string& value) {
        return std::to_string(result) + ":" + value;
    };
    switch (type) {
    case kcSysAttrTypeBoolean: {
        int value = -1;
        const HRESULT result = bag->GetBooleanProperty(tag, &value);
        return show(result, std::to_string(value));
    }
    case kcSysAttrTypeInteger: {
        std::int32_t value = 0;
        const HRESULT result = bag->GetIntegerProperty(tag, &value);
        return show(result, std::to_string(value));
    }
    case kcSysAttrTypeUnsignedInteger: {
        std::uint32_t value = 0;
        const HRESULT result = bag->GetUnsignedIntegerProperty(tag, &value);
        return show(result, std::to_string(value));
    }
    case kcSysAttrTypeDouble: {
        double value = 0;
        const HRESULT result = bag->GetDoubleProperty(tag, &value);
        return show(result, bytes(&value, sizeof value));
    }
    case kcSysAttrTypeGuid: {
        _GUID value{};
        const HRESULT result = bag->GetGuidProperty(tag, &value);
        return show(result, bytes(&value, sizeof value));
    }
    case kcSysAttrTypeString: {
        char16_t* value = nullptr;
        const HRESULT result = bag->GetStringProperty(tag, &value);
        const std::string text =
            value == nullptr ? "<null>" : bytes(value, WideStringLength(value) * 2);
        FreeWideString(value);
        return show(result, text);
    }
    default: {
        kcSysAttrTimestampUTC value{};
        const HRESULT result = bag->GetTimestampPropertyUTC(tag, &value);
        return show(result, bytes(&value, sizeof value));
    }
    }
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
