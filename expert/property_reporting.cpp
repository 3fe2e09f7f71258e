// Property reporting: one bag per item, filled from the item's interface record with the
// same 22 properties, handed to the host's collection or returned for one named item.
#include "com/comptr.h"
#include "expert/kcsyszeva.h"
#include "propertybag/dynamic_property_bag.h"
#include "qx/kit/StringBase.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using qx::kit::WideString;

enum class SetterKind { String, Integer, UnsignedInteger, Boolean };

struct Setting {
    std::uint32_t tag;
    SetterKind kind;
    const char16_t* text;
    std::uint32_t number; // the integer's bits, the unsigned value, or the flag
};

// The model: the board name without a leading "ZEVA " when more follows it.
std::string ModelName(const std::string& boardName) {
    static constexpr char k_family[] = "ZEVA ";
    constexpr std::size_t k_familyLength = sizeof k_family - 1;
    if (boardName.size() > k_familyLength &&
        std::memcmp(boardName.data(), k_family, k_familyLength) == 0)
        return boardName.substr(k_familyLength);
    return boardName;
}

HRESULT Apply(IkcSysPropertyBag* bag, const Setting& setting) {
    switch (setting.kind) {
    case SetterKind::String:
        return bag->SetStringProperty(setting.tag, setting.text);
    case SetterKind::Integer:
        return bag->SetIntegerProperty(setting.tag, static_cast<std::int32_t>(setting.number));
    case SetterKind::UnsignedInteger:
        return bag->SetUnsignedIntegerProperty(setting.tag, setting.number);
    case SetterKind::Boolean:
        return bag->SetBooleanProperty(setting.tag, static_cast<int>(setting.number));
    }
    return E_FAIL; // GCOVR_EXCL_LINE: every kind has its case above
}

// The collection is the host's: it need not be a C++ object at all (a C host builds its
// table by hand), so the dynamic-type check of the undefined-behaviour sanitizer, which
// looks for C++ type information, does not apply to this one call.
__attribute__((no_sanitize("vptr"))) HRESULT
AddToCollection(IkcSysPropertyBagCollection* collection, IkcSysPropertyBag* bag) {
    return collection->AddPropertyBag(bag);
}

// The same units, case included.
bool SameUnits(const WideString& left, const WideString& right) {
    return left.length() == right.length() &&
           std::char_traits<char16_t>::compare(left.c_str(), right.c_str(), left.length()) == 0;
}

IkcSysPropertyBag* NewBag() {
    return CQXComObject<CkcDynamicPropertyBag>::NewInstance();
}

} // namespace

const InterfaceRecord* CkcSysZeva::FindRecord(const WideString& wanted) const {
    const InterfaceRecord* differingInCase = nullptr;
    for (const InterfaceRecord& record : m_interfaces) {
        const WideString name(record.interfaceFileName.c_str());
        if (!name.equalsNoCase(wanted))
            continue;
        if (SameUnits(name, wanted))
            return &record;
        if (differingInCase == nullptr)
            differingInCase = &record;
    }
    return differingInCase;
}

void CkcSysZeva::FillItemProperties(const InterfaceRecord& record, const char16_t* itemName,
                                    IkcSysPropertyBag* bag) const {
    char serial[16] = {};
    std::snprintf(serial, sizeof serial, "%08X", static_cast<unsigned>(record.serialNumber));
    const WideString serialText(serial);
    const WideString model(ModelName(record.boardName).c_str());
    using K = SetterKind;
    const Setting settings[] = {
        {kcSysTagSerialNumber, K::String, serialText.c_str(), 0},
        {kcSysTagConstant1C, K::Integer, nullptr, 1},
        {kcSysTagItemName, K::String, itemName, 0},
        {kcSysTagItemAlias, K::String, itemName, 0},
        {kcSysTagFlag54, K::Boolean, nullptr, 0},
        {kcSysTagConstant2A, K::Integer, nullptr, 99},
        {kcSysTagFlag01, K::Boolean, nullptr, 1},
        {kcSysTagFlag28, K::Boolean, nullptr, 0},
        {kcSysTagConstant24, K::Integer, nullptr, 1},
        {kcSysTagFlag08, K::Boolean, nullptr, 1},
        {kcSysTagPciIdUpper, K::UnsignedInteger, nullptr, record.pciId >> 16},
        {kcSysTagPciIdLower, K::UnsignedInteger, nullptr, record.pciId & 0xFFFFu},
        {kcSysTagVendor, K::String, u"Verantic", 0},
        {kcSysTagModel, K::String, model.c_str(), 0},
        {kcSysTagEmptyText, K::String, u"", 0},
        {kcSysTagConstant0B, K::Integer, nullptr, static_cast<std::uint32_t>(-1)},
        {kcSysTagDriverVersion, K::UnsignedInteger, nullptr, m_driverVersion},
        {kcSysTagDriverFamily, K::String, u"ZEVA", 0},
        {kcSysTagCount02, K::UnsignedInteger, nullptr, 1},
        {kcSysTagPciBus, K::UnsignedInteger, nullptr, record.pciBus},
        {kcSysTagPciDevice, K::UnsignedInteger, nullptr, record.pciDevice},
        {kcSysTagPciFunction, K::UnsignedInteger, nullptr, record.pciFunction},
    };
    static_assert(sizeof settings / sizeof settings[0] == 22, "every item has 22 properties");
    // A setter's other failures are ignored, but a bag that lost a tag for want of memory
    // must not be reported as complete.
    for (const Setting& setting : settings) {
        if (Apply(bag, setting) == E_OUTOFMEMORY)
            throw HRESULT{E_OUTOFMEMORY};
    }
}

HRESULT CkcSysZeva::GetPropertiesOfItem(const char16_t* itemName,
                                        IkcSysPropertyBag** bag) noexcept {
    if (bag == nullptr)
        return E_POINTER;
    *bag = nullptr;
    if (itemName == nullptr)
        return E_POINTER;
    return Locked([&] {
        CQXComPtr<IkcSysPropertyBag> made = AttachComPtr(NewBag());
        const InterfaceRecord* found = FindRecord(WideString(itemName));
        if (found == nullptr)
            return E_ITEM_NOT_FOUND;
        FillItemProperties(*found, itemName, made.get());
        *bag = made.detach();
        return S_OK;
    });
}

HRESULT CkcSysZeva::SearchForItemsAndProperties(IkcSysPropertyBagCollection* collection) noexcept {
    if (collection == nullptr)
        return E_POINTER;
    return Locked([&] {
        ItemNameList names;
        ListItemNames(&names);
        // One name per record, in record order: each item is reported from its own record,
        // even where names differ only in case. Records are reached by index, since a
        // collection that calls back into the expert may add records while this runs (it
        // never removes one, so every index listed stays valid).
        std::size_t index = 0;
        for (const WideString& name : names) {
            const CQXComPtr<IkcSysPropertyBag> bag = AttachComPtr(NewBag());
            FillItemProperties(m_interfaces[index++], name.c_str(), bag.get());
            const HRESULT given = AddToCollection(collection, bag.get());
            if (FAILED(given))
                return given;
        }
        return names.empty() ? S_FALSE : S_OK;
    });
}
