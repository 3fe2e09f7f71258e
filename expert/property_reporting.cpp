// Property reporting: one bag per item, filled from the item's interface record with the
// properties of the one property table, handed to the host's collection or returned for one
// named item.
#include "com/comptr.h"
#include "expert/kcsyszeva.h"
#include "propertybag/dynamic_property_bag.h"
#include "qx/kit/StringBase.h"
#include "qxzeva/tags.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using qx::kit::WideString;

struct Setting {
    std::uint32_t tag;
    kcSysAttributeType type; // one of the four the expert sets
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
    switch (setting.type) {
    case kcSysAttrTypeString:
        return bag->SetStringProperty(setting.tag, setting.text);
    case kcSysAttrTypeInteger:
        return bag->SetIntegerProperty(setting.tag, static_cast<std::int32_t>(setting.number));
    case kcSysAttrTypeUnsignedInteger:
        return bag->SetUnsignedIntegerProperty(setting.tag, setting.number);
    case kcSysAttrTypeBoolean:
        return bag->SetBooleanProperty(setting.tag, static_cast<int>(setting.number));
    // GCOVR_EXCL_START: the table sets only the four types above
    default:
        return E_FAIL;
        // GCOVR_EXCL_STOP
    }
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

CQXComPtr<IkcSysPropertyBag> NewBag() {
    return MakeComObject<CkcDynamicPropertyBag>();
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

void CkcSysZeva::FillItemProperties(const InterfaceRecord& record, std::uint32_t driverVersion,
                                    const char16_t* itemName, IkcSysPropertyBag* bag) {
    char serial[16] = {};
    std::snprintf(serial, sizeof serial, "%08X", static_cast<unsigned>(record.serialNumber));
    const WideString serialText(serial);
    const WideString model(ModelName(record.boardName).c_str());
    // Each row's source, as the text or the number of its setting.
#define QX_FROM_SERIAL serialText.c_str(), 0
#define QX_FROM_ITEM_NAME itemName, 0
#define QX_FROM_MODEL model.c_str(), 0
#define QX_FROM_PCI_ID_HIGH nullptr, record.pciId >> 16
#define QX_FROM_PCI_ID_LOW nullptr, record.pciId & 0xFFFFu
#define QX_FROM_DRIVER_VERSION nullptr, driverVersion
#define QX_FROM_BOARD(member) nullptr, record.member
#define QX_FROM_FIXED(value) nullptr, static_cast<std::uint32_t>(value)
#define QX_FROM_TEXT(text) u"" text, 0
#define QX_SETTING(constant, tag, type, label, jsonKey, source) {constant, type, QX_FROM_##source},
    const Setting settings[] = {QXZEVA_PROPERTY_TABLE(QX_SETTING)};
#undef QX_SETTING
#undef QX_FROM_TEXT
#undef QX_FROM_FIXED
#undef QX_FROM_BOARD
#undef QX_FROM_DRIVER_VERSION
#undef QX_FROM_PCI_ID_LOW
#undef QX_FROM_PCI_ID_HIGH
#undef QX_FROM_MODEL
#undef QX_FROM_ITEM_NAME
#undef QX_FROM_SERIAL
    static_assert(sizeof settings / sizeof settings[0] == QXZEVA_ITEM_PROPERTY_COUNT,
                  "one setting per property");
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
        CQXComPtr<IkcSysPropertyBag> made = NewBag();
        const InterfaceRecord* found = FindRecord(WideString(itemName));
        if (found == nullptr)
            return E_ITEM_NOT_FOUND;
        FillItemProperties(*found, m_driverVersion, itemName, made.get());
        *bag = made.detach();
        return S_OK;
    });
}

// The collection is the host's code: it may call back into this expert, on this task or by
// making another task do so while it waits. So the names are listed and the records copied
// under the lock, and the lock is given back before the first bag is handed over; a call back
// that renames or adds records changes the next report, never this one.
HRESULT CkcSysZeva::SearchForItemsAndProperties(IkcSysPropertyBagCollection* collection) noexcept {
    if (collection == nullptr)
        return E_POINTER;
    ItemNameList names;
    std::vector<InterfaceRecord> records;
    std::uint32_t driverVersion = 0;
    const HRESULT taken = Locked([&] {
        ListItemNames(&names);
        // Copied one by one: a whole-vector copy would import a runtime function the
        // target does not offer.
        records.reserve(m_interfaces.size());
        for (const InterfaceRecord& record : m_interfaces)
            records.push_back(record);
        driverVersion = m_driverVersion;
        return S_OK;
    });
    if (FAILED(taken))
        return taken;
    return HResultOf([&] {
        // One name per record, in record order: each item is reported from its own record,
        // even where names differ only in case.
        auto record = records.cbegin();
        for (const WideString& name : names) {
            const CQXComPtr<IkcSysPropertyBag> bag = NewBag();
            FillItemProperties(*record++, driverVersion, name.c_str(), bag.get());
            const HRESULT given = AddToCollection(collection, bag.get());
            if (FAILED(given))
                return given;
        }
        return names.empty() ? S_FALSE : S_OK;
    });
}
