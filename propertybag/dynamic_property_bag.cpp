// The bag's lifetime and its typed store: presence, type, Get, Set and Delete.
#include "propertybag/dynamic_property_bag.h"

#include "com/widestring.h"
#include "qx/kit/osdep/TimeBreakdown.h"
#include "qxzeva/identifiers.h"

#include <type_traits>
#include <utility>

static_assert(!std::is_destructible_v<CkcDynamicPropertyBag>,
              "only the last Release may destroy a bag");

const InterfaceEntry* CkcDynamicPropertyBag::_GetEntries() {
    static const InterfaceEntry _entries[] = {
        {&IID_IkcSysPropertyBag, OffsetOfBase<IkcSysPropertyBag3, CkcDynamicPropertyBag>(),
         k_entrySimple},
        {&IID_IkcSysPropertyBag2, OffsetOfBase<IkcSysPropertyBag3, CkcDynamicPropertyBag>(),
         k_entrySimple},
        {&IID_IkcSysPropertyBag3, OffsetOfBase<IkcSysPropertyBag3, CkcDynamicPropertyBag>(),
         k_entrySimple},
        {nullptr, 0, k_entryEnd}};
    return _entries;
}

CkcDynamicPropertyBag::CkcDynamicPropertyBag() = default;

CkcDynamicPropertyBag::~CkcDynamicPropertyBag() {
    Tessaly::CqxSyncLock lock(m_cs);
    ClearProperties();
    GiveBackKeptBatchLocks();
}

// Reached from the destructor with m_cs held: any kept acquisitions belong to this task, since
// no other could have acquired m_cs while they were outstanding. Giving them back before m_cs
// goes leaves no task holding a lock that no longer exists.
void CkcDynamicPropertyBag::GiveBackKeptBatchLocks() {
    for (; m_batchLockCount > 0; --m_batchLockCount)
        m_cs.Unlock();
}

template <class T>
HRESULT CkcDynamicPropertyBag::FindTyped(std::uint32_t tag,
                                         const CkcTemplatePropertyValue<T>** found) const {
    const auto entry = m_properties.find(tag);
    if (entry == m_properties.end())
        return E_PROPERTY_NOT_FOUND;
    *found = AsTypedValue<T>(entry->second.get());
    return *found == nullptr ? E_PROPERTY_TYPE_MISMATCH : S_OK;
}

template <class T>
HRESULT CkcDynamicPropertyBag::ReadValue(std::uint32_t tag, T* out) const {
    const CkcTemplatePropertyValue<T>* stored = nullptr;
    const HRESULT result = FindTyped(tag, &stored);
    if (SUCCEEDED(result))
        *out = stored->GetValue();
    return result;
}

namespace {

// Stores under tag, creating the property or replacing a value of the same type; a value of
// another type is refused and left as it was. Equal values are not compared: every store
// marks the tag changed. All or nothing: whatever allocation fails, the bag stays as it was,
// so every step that can allocate comes before the first change that could not be undone.
// A function of this file alone, not a member: each type's form then has one caller, which
// the compiler folds it into, so a Set makes no second call with a frame of its own.
template <class T, class PropertyMap>
HRESULT StoreValue(PropertyMap& properties, PropertyTagSet& changedTags, std::uint32_t tag,
                   T value) {
    const auto position = properties.lower_bound(tag);
    const bool exists = position != properties.end() && position->first == tag;
    CkcTemplatePropertyValue<T>* stored = nullptr;
    std::unique_ptr<CkcTemplatePropertyValue<T>> created;
    if (exists) {
        stored = AsTypedValue<T>(position->second.get());
        if (stored == nullptr)
            return E_PROPERTY_TYPE_MISMATCH;
    } else {
        created = std::make_unique<CkcTemplatePropertyValue<T>>(std::move(value),
                                                                PropertyTypeCode<T>::value);
    }
    const auto [mark, newlyMarked] = changedTags.insert(tag);
    if (exists) {
        // NOLINTNEXTLINE(bugprone-use-after-move): value was moved only where the tag is new
        stored->SetValue(std::move(value)); // a move: nothing to allocate
        return S_OK;
    }
    try {
        properties.emplace_hint(position, tag, std::move(created));
    } catch (...) {
        if (newlyMarked)
            changedTags.erase(mark);
        throw;
    }
    return S_OK;
}

} // namespace

HRESULT CkcDynamicPropertyBag::HasProperty(std::uint32_t tag) noexcept {
    return Locked([&] { return m_properties.count(tag) != 0 ? S_OK : S_FALSE; });
}

HRESULT CkcDynamicPropertyBag::GetPropertyType(std::uint32_t tag,
                                               kcSysAttributeType* type) noexcept {
    if (type == nullptr)
        return E_POINTER;
    return Locked([&] {
        const auto entry = m_properties.find(tag);
        if (entry == m_properties.end())
            return E_PROPERTY_NOT_FOUND;
        *type = entry->second->GetType();
        return S_OK;
    });
}

HRESULT CkcDynamicPropertyBag::DeleteProperty(std::uint32_t tag) noexcept {
    return Locked([&] {
        const auto entry = m_properties.find(tag);
        if (entry == m_properties.end())
            return E_PROPERTY_NOT_FOUND;
        m_properties.erase(entry);
        m_changedTags.erase(tag);
        return S_OK;
    });
}

HRESULT CkcDynamicPropertyBag::DeleteAllProperties() noexcept {
    return Locked([&] {
        ClearProperties();
        return S_OK;
    });
}

// Not the virtual DeleteAllProperties: the destructor runs this too.
void CkcDynamicPropertyBag::ClearProperties() noexcept {
    for (auto& property : m_properties)
        property.second.reset();
    m_properties.clear();
    m_changedTags.clear();
}

HRESULT CkcDynamicPropertyBag::SetBooleanProperty(std::uint32_t tag, int value) noexcept {
    return Locked([&] { return StoreValue<bool>(m_properties, m_changedTags, tag, value != 0); });
}

HRESULT CkcDynamicPropertyBag::SetIntegerProperty(std::uint32_t tag, std::int32_t value) noexcept {
    return Locked(
        [&] { return StoreValue<std::int32_t>(m_properties, m_changedTags, tag, value); });
}

HRESULT CkcDynamicPropertyBag::SetUnsignedIntegerProperty(std::uint32_t tag,
                                                          std::uint32_t value) noexcept {
    return Locked(
        [&] { return StoreValue<std::uint32_t>(m_properties, m_changedTags, tag, value); });
}

HRESULT CkcDynamicPropertyBag::SetDoubleProperty(std::uint32_t tag, double value) noexcept {
    return Locked([&] { return StoreValue<double>(m_properties, m_changedTags, tag, value); });
}

HRESULT CkcDynamicPropertyBag::SetGuidProperty(std::uint32_t tag, _GUID value) noexcept {
    return Locked([&] { return StoreValue<_GUID>(m_properties, m_changedTags, tag, value); });
}

HRESULT CkcDynamicPropertyBag::SetStringProperty(std::uint32_t tag,
                                                 const char16_t* value) noexcept {
    return Locked([&] {
        // The bag's own copy moves into the value object; a text that cannot be copied is
        // a failure, not a null string.
        CqxBStr copy(value, false);
        if (value != nullptr && copy.IsNull())
            return E_OUTOFMEMORY;
        return StoreValue<CqxBStr>(m_properties, m_changedTags, tag, std::move(copy));
    });
}

HRESULT
CkcDynamicPropertyBag::SetTimestampPropertyUTC(std::uint32_t tag,
                                               const kcSysAttrTimestampUTC* value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    return Locked([&] {
        return StoreValue<kcSysAttrTimestampUTC>(m_properties, m_changedTags, tag, *value);
    });
}

// Local timestamps cannot be stored.
HRESULT CkcDynamicPropertyBag::_SetTimestampProperty(std::uint32_t,
                                                     const kcSysAttrTimestamp*) noexcept {
    return E_NOTIMPL;
}

HRESULT CkcDynamicPropertyBag::GetBooleanProperty(std::uint32_t tag, int* value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    return Locked([&] {
        bool stored = false;
        const HRESULT result = ReadValue(tag, &stored);
        *value = stored ? 1 : 0;
        return result;
    });
}

HRESULT CkcDynamicPropertyBag::GetIntegerProperty(std::uint32_t tag, std::int32_t* value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    return Locked([&] { return ReadValue(tag, value); });
}

HRESULT CkcDynamicPropertyBag::GetUnsignedIntegerProperty(std::uint32_t tag,
                                                          std::uint32_t* value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    return Locked([&] { return ReadValue(tag, value); });
}

HRESULT CkcDynamicPropertyBag::GetDoubleProperty(std::uint32_t tag, double* value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    return Locked([&] { return ReadValue(tag, value); });
}

HRESULT CkcDynamicPropertyBag::GetGuidProperty(std::uint32_t tag, _GUID* value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    return Locked([&] { return ReadValue(tag, value); });
}

HRESULT CkcDynamicPropertyBag::GetTimestampPropertyUTC(std::uint32_t tag,
                                                       kcSysAttrTimestampUTC* value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    return Locked([&] { return ReadValue(tag, value); });
}

HRESULT CkcDynamicPropertyBag::GetStringProperty(std::uint32_t tag, char16_t** value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    *value = nullptr;
    return Locked([&] {
        const CkcTemplatePropertyValue<CqxBStr>* stored = nullptr;
        const HRESULT result = FindTyped(tag, &stored);
        if (FAILED(result))
            return result;
        const CqxBStr& text = stored->GetValue();
        CqxBStr copy = CopyOfStoredString(text);
        if (!text.IsNull() && copy.IsNull())
            return E_OUTOFMEMORY;
        *value = copy.Detach();
        return S_OK;
    });
}

// A missing or mistyped tag converts like an all-zero record: every field -1.
HRESULT CkcDynamicPropertyBag::GetTimestampProperty(std::uint32_t tag,
                                                    kcSysAttrTimestamp* value) noexcept {
    if (value == nullptr)
        return E_POINTER;
    return Locked([&] {
        kcSysAttrTimestampUTC stored{};
        const HRESULT result = ReadValue(tag, &stored);
        qx::kit::osdep::ToLocalTimestamp(&stored, value, 0.0);
        return result;
    });
}
