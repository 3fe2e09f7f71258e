// Property reporting: one bag per item, filled from the item's interface record with the
// same 22 properties, handed to the host's collection or returned for one named item.
#include "com/hresult_from_exception.h"
#include "expert/kcsyszeva.h"
#include "propertybag/dynamic_property_bag.h"
#include "qx/kit/StringBase.h"

#include <cassert>
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
    return E_FAIL;
}

// The collection is the host's: it need not be a C++ object at all (a C host builds its
// table by hand), so the dynamic-type check of the undefined-behaviour sanitizer, which
// looks for C++ type information, does not apply to this one call.
__attribute__((no_sanitize("vptr"))) HRESULT
AddToCollection(IkcSysPropertyBagCollection* collection, IkcSysPropertyBag* bag) {
    return collection->AddPropertyBag(bag);
}

IkcSysPropertyBag* NewBag() {
    return CQXComObject<CkcDynamicPropertyBag>::NewInstance();
}

} // namespace

const InterfaceRecord* CkcSysZeva::FindRecord(const WideString& wanted,
                                              const ItemNameList* listedNames) const {
    if (listedNames != nullptr) {
        assert(listedNames->size() == m_interfaces.size() && "one listed name per record");
        auto record = m_interfaces.begin();
        for (const WideString& name : *listedNames) {
            if (name.equalsNoCase(wanted))
                return &*record;
            ++record;
        }
        return nullptr;
    }
    for (const InterfaceRecord& record : m_interfaces) {
        if (WideString(record.interfaceFileName.c_str()).equalsNoCase(wanted))
            return &record;
    }
    return nullptr;
}

HRESULT CkcSysZeva::FillItemProperties(const char16_t* itemName, IkcSysPropertyBag* bag,
                                       const ItemNameList* listedNames) {
    try {
        const InterfaceRecord* found = FindRecord(WideString(itemName), listedNames);
        if (found == nullptr)
            return E_ITEM_NOT_FOUND;

        char serial[16] = {};
        std::snprintf(serial, sizeof serial, "%08X", static_cast<unsigned>(found->serialNumber));
        const WideString serialText(serial);
        const WideString model(ModelName(found->boardName).c_str());
        using K = SetterKind;
        const Setting settings[] = {
            {0x01007000, K::String, serialText.c_str(), 0},
            {0x0101C000, K::Integer, nullptr, 1},
            {0x0101D000, K::String, itemName, 0},
            {0x0101F000, K::String, itemName, 0},
            {0x01054000, K::Boolean, nullptr, 0},
            {0x0102A000, K::Integer, nullptr, 99},
            {0x01001000, K::Boolean, nullptr, 1},
            {0x01028000, K::Boolean, nullptr, 0},
            {0x01024000, K::Integer, nullptr, 1},
            {0x01008000, K::Boolean, nullptr, 1},
            {0x01005000, K::UnsignedInteger, nullptr, found->pciId >> 16},
            {0x01003000, K::UnsignedInteger, nullptr, found->pciId & 0xFFFFu},
            {0x01004000, K::String, u"Verantic", 0},
            {0x01006000, K::String, model.c_str(), 0},
            {0x0100A000, K::String, u"", 0},
            {0x0100B000, K::Integer, nullptr, static_cast<std::uint32_t>(-1)},
            {0x0700C000, K::UnsignedInteger, nullptr, m_driverVersion},
            {0x0700D000, K::String, u"ZEVA", 0},
            {0x01002000, K::UnsignedInteger, nullptr, 1},
            {0x01018000, K::UnsignedInteger, nullptr, found->pciBus},
            {0x01019000, K::UnsignedInteger, nullptr, found->pciDevice},
            {0x0101A000, K::UnsignedInteger, nullptr, found->pciFunction},
        };
        static_assert(sizeof settings / sizeof settings[0] == 22, "every item has 22 properties");
        // A setter's other failures are ignored, but a bag that lost a tag for want of
        // memory must not be reported as complete.
        for (const Setting& setting : settings) {
            if (Apply(bag, setting) == E_OUTOFMEMORY)
                return E_OUTOFMEMORY;
        }
        return S_OK;
    } catch (...) {
        return HResultFromCurrentException();
    }
}

HRESULT CkcSysZeva::GetPropertiesOfItem(const char16_t* itemName, IkcSysPropertyBag** bag) {
    if (bag == nullptr)
        return E_POINTER;
    *bag = nullptr;
    try {
        IkcSysPropertyBag* made = NewBag();
        const HRESULT filled = FillItemProperties(itemName, made);
        if (FAILED(filled)) {
            made->Release();
            return filled;
        }
        *bag = made;
        return S_OK;
    } catch (...) {
        return HResultFromCurrentException();
    }
}

HRESULT CkcSysZeva::SearchForItemsAndProperties(IkcSysPropertyBagCollection* collection) {
    if (collection == nullptr)
        return E_POINTER;
    IkcSysPropertyBag* inHand = nullptr;
    try {
        ItemNameList names;
        const HRESULT listed = ListItemNames(&names);
        if (FAILED(listed))
            return listed;
        bool added = false;
        for (const WideString& name : names) {
            inHand = NewBag();
            const HRESULT filled = FillItemProperties(name.c_str(), inHand, &names);
            HRESULT failure = filled == E_OUTOFMEMORY ? filled : S_OK;
            if (SUCCEEDED(filled)) {
                const HRESULT given = AddToCollection(collection, inHand);
                if (FAILED(given))
                    failure = given;
                else
                    added = true;
            }
            inHand->Release(); // a bag the collection did not keep goes here
            inHand = nullptr;
            if (FAILED(failure))
                return failure;
        }
        return added ? S_OK : S_FALSE;
    } catch (...) {
        if (inHand != nullptr)
            inHand->Release();
        return HResultFromCurrentException();
    }
}
