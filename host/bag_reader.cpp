#include "host/bag_reader.h"

#include "host/interface_ref.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

struct TagMeaning {
    std::uint32_t tag;
    const char* label;
};

// In the order the expert sets them.
const TagMeaning k_meanings[] = {
    {kcSysTagSerialNumber, "Serial number"},
    {kcSysTagConstant1C, "Fixed integer (1)"},
    {kcSysTagItemName, "Item name"},
    {kcSysTagItemAlias, "Item name (alias)"},
    {kcSysTagFlag54, "Fixed flag (false)"},
    {kcSysTagConstant2A, "Fixed integer (99)"},
    {kcSysTagFlag01, "Fixed flag (true)"},
    {kcSysTagFlag28, "Fixed flag (false)"},
    {kcSysTagConstant24, "Fixed integer (1)"},
    {kcSysTagFlag08, "Fixed flag (true)"},
    {kcSysTagPciIdUpper, "PCI identifier, upper 16 bits"},
    {kcSysTagPciIdLower, "PCI identifier, lower 16 bits"},
    {kcSysTagVendor, "Vendor"},
    {kcSysTagModel, "Model"},
    {kcSysTagEmptyText, "Empty text"},
    {kcSysTagConstant0B, "Fixed integer (-1)"},
    {kcSysTagDriverVersion, "Driver version"},
    {kcSysTagDriverFamily, "Driver family"},
    {kcSysTagCount02, "Fixed count (1)"},
    {kcSysTagPciBus, "PCI bus"},
    {kcSysTagPciDevice, "PCI device"},
    {kcSysTagPciFunction, "PCI function"},
};

std::size_t DisplayRank(std::uint32_t tag) {
    const auto found =
        std::find_if(std::begin(k_meanings), std::end(k_meanings),
                     [tag](const TagMeaning& meaning) { return meaning.tag == tag; });
    return static_cast<std::size_t>(found - std::begin(k_meanings));
}

void AppendUtf8(std::string* out, std::uint32_t point) {
    if (point < 0x80) {
        *out += static_cast<char>(point);
    } else if (point < 0x800) {
        *out += static_cast<char>(0xC0 | (point >> 6));
        *out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        *out += static_cast<char>(0xE0 | (point >> 12));
        *out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (point >> 18));
        *out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

} // namespace

std::string FormatGuid(const _GUID& id) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1],
                  id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

namespace {

HRESULT ReadValue(IkcSysPropertyBag* bag, PropertyReading* reading) {
    const IkcSysPropertyBag3Vtbl* table = bag->lpVtbl;
    const std::uint32_t tag = reading->tag;
    switch (reading->type) {
    case kcSysAttrTypeBoolean: {
        int value = 0;
        const HRESULT result = table->GetBooleanProperty(bag, tag, &value);
        reading->boolean = value != 0;
        return result;
    }
    case kcSysAttrTypeInteger:
        return table->GetIntegerProperty(bag, tag, &reading->integer);
    case kcSysAttrTypeUnsignedInteger:
        return table->GetUnsignedIntegerProperty(bag, tag, &reading->unsignedInteger);
    case kcSysAttrTypeDouble:
        return table->GetDoubleProperty(bag, tag, &reading->real);
    case kcSysAttrTypeGuid: {
        _GUID id{};
        const HRESULT result = table->GetGuidProperty(bag, tag, &id);
        reading->text = FormatGuid(id);
        return result;
    }
    case kcSysAttrTypeString: {
        QX_WCHAR* text = nullptr;
        const HRESULT result = table->GetStringProperty(bag, tag, &text);
        reading->isNull = text == nullptr;
        reading->text = Utf8FromWide(text);
        qxFreeWideString(text);
        return result;
    }
    case kcSysAttrTypeTimestampUTC: {
        kcSysAttrTimestamp local{};
        const HRESULT result = table->GetTimestampProperty(bag, tag, &local);
        char text[64];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.year, local.month,
                      local.day, local.hour, local.minute, local.second);
        reading->text = text;
        return result;
    }
    default:
        return E_FAIL;
    }
}

} // namespace

const char* PropertyLabel(std::uint32_t tag) {
    const std::size_t rank = DisplayRank(tag);
    return rank < std::size(k_meanings) ? k_meanings[rank].label : "";
}

const char* AttributeTypeName(std::int32_t type) {
    static const char* const k_names[] = {"?",      "boolean", "integer", "unsigned",
                                          "double", "guid",    "string",  "timestamp"};
    return type >= 1 && type <= 7 ? k_names[type] : k_names[0];
}

std::string Utf8FromWide(const QX_WCHAR* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text) {
        std::uint32_t point = *text;
        if (point >= 0xD800 && point < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000) {
            point = 0x10000 + ((point - 0xD800) << 10) + (text[1] - 0xDC00);
            ++text;
        } else if (point >= 0xD800 && point < 0xE000) {
            point = 0xFFFD; // a lone surrogate
        }
        AppendUtf8(&out, point);
    }
    return out;
}

std::vector<QX_WCHAR> WideFromUtf8(const std::string& text) {
    std::vector<QX_WCHAR> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = lead < 0x80 || (lead >= 0xC2 && lead < 0xF5 && i + length <= text.size());
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            point = (point << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (point >= 0x10000) {
            out.push_back(static_cast<QX_WCHAR>(0xD800 + ((point - 0x10000) >> 10)));
            out.push_back(static_cast<QX_WCHAR>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<QX_WCHAR>(point));
        }
        i += length;
    }
    out.push_back(0);
    return out;
}

HRESULT ReadBag(IkcSysPropertyBag* bag, std::vector<PropertyReading>* properties) {
    InterfaceRef<IkcSysEnumPropertyTag> tags;
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
                         return DisplayRank(left.tag) < DisplayRank(right.tag);
                     });
    return S_OK;
}
