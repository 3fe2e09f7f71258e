// The bag's changed-tag set, its batch lock and its deep copy.
#include "propertybag/dynamic_property_bag.h"

#include <memory>
#include <utility>

namespace {

// Owns one reference to a counted object and gives it back on every way out.
template <class Interface>
class OwnedReference {
public:
    OwnedReference() = default;
    explicit OwnedReference(Interface* pointer) : m_pointer(pointer) {}
    ~OwnedReference() {
        if (m_pointer != nullptr)
            m_pointer->Release();
    }
    OwnedReference(const OwnedReference&) = delete;
    OwnedReference& operator=(const OwnedReference&) = delete;

    Interface* Get() const { return m_pointer; }
    Interface** Slot() { return &m_pointer; }
    Interface* Detach() { return std::exchange(m_pointer, nullptr); }

private:
    Interface* m_pointer = nullptr;
};

// Reads one value from source and stores it under the same tag in target.
template <class Value, class Get, class Set>
HRESULT CopyValue(IkcSysPropertyBag3& source, IkcSysPropertyBag3& target, std::uint32_t tag,
                  Get get, Set set) {
    Value value{};
    const HRESULT result = (source.*get)(tag, &value);
    return FAILED(result) ? result : (target.*set)(tag, value);
}

} // namespace

template <class IsEmpty, class Fill>
HRESULT CkcDynamicPropertyBag::EnumerateSnapshot(IkcSysEnumPropertyTag** tags, IsEmpty&& isEmpty,
                                                 Fill&& fill) {
    if (tags == nullptr)
        return E_POINTER;
    *tags = nullptr;
    return Locked([&] {
        if (isEmpty())
            return S_FALSE;
        auto snapshot = std::make_unique<TagSet>();
        fill(*snapshot);
        // The enumerator takes the set; until then a failure frees it here.
        *tags = MakeEnumerator<CkcSysEnumPropertyTags>(std::move(snapshot));
        return S_OK;
    });
}

HRESULT CkcDynamicPropertyBag::EnumProperties(IkcSysEnumPropertyTag** tags) {
    return EnumerateSnapshot(
        tags, [this] { return m_properties.empty(); },
        [this](TagSet& snapshot) {
            for (const auto& property : m_properties)
                snapshot.insert(snapshot.end(), property.first);
        });
}

HRESULT CkcDynamicPropertyBag::EnumChangedTags(IkcSysEnumPropertyTag** tags) {
    return EnumerateSnapshot(
        tags, [this] { return m_changedTags.empty(); },
        [this](TagSet& snapshot) { snapshot = m_changedTags; });
}

HRESULT CkcDynamicPropertyBag::ClearChangedTags() {
    return Locked([&] {
        if (m_changedTags.empty())
            return S_FALSE;
        m_changedTags.clear();
        return S_OK;
    });
}

HRESULT CkcDynamicPropertyBag::AcquireBatchLock() {
    return Locked([&] {
        // This acquisition outlives the call: the task keeps m_cs one level deeper
        // per outstanding batch lock, so every other task's call waits until the
        // last release.
        m_cs.Lock(-1);
        ++m_batchLockCount;
        return S_OK;
    });
}

HRESULT CkcDynamicPropertyBag::ReleaseBatchLock() {
    return Locked([&] {
        if (m_batchLockCount == 0)
            return E_FAIL;
        m_cs.Unlock();
        --m_batchLockCount;
        return S_OK;
    });
}

// Every call goes through the interfaces, the source's own ones re-entering
// m_cs.
HRESULT CkcDynamicPropertyBag::CopyPropertyTo(std::uint32_t tag, IkcSysPropertyBag3& target) {
    IkcSysPropertyBag3& source = *this;
    kcSysAttributeType type{};
    HRESULT result = source.GetPropertyType(tag, &type);
    if (FAILED(result))
        return result;
    switch (type) {
    case kcSysAttrTypeBoolean:
        return CopyValue<int>(source, target, tag, &IkcSysPropertyBag3::GetBooleanProperty,
                              &IkcSysPropertyBag3::SetBooleanProperty);
    case kcSysAttrTypeInteger:
        return CopyValue<std::int32_t>(source, target, tag, &IkcSysPropertyBag3::GetIntegerProperty,
                                       &IkcSysPropertyBag3::SetIntegerProperty);
    case kcSysAttrTypeUnsignedInteger:
        return CopyValue<std::uint32_t>(source, target, tag,
                                        &IkcSysPropertyBag3::GetUnsignedIntegerProperty,
                                        &IkcSysPropertyBag3::SetUnsignedIntegerProperty);
    case kcSysAttrTypeDouble:
        return CopyValue<double>(source, target, tag, &IkcSysPropertyBag3::GetDoubleProperty,
                                 &IkcSysPropertyBag3::SetDoubleProperty);
    case kcSysAttrTypeGuid:
        return CopyValue<_GUID>(source, target, tag, &IkcSysPropertyBag3::GetGuidProperty,
                                &IkcSysPropertyBag3::SetGuidProperty);
    case kcSysAttrTypeString: {
        CqxBStr text;
        result = source.GetStringProperty(tag, &text);
        return FAILED(result) ? result : target.SetStringProperty(tag, text);
    }
    case kcSysAttrTypeTimestampUTC: {
        kcSysAttrTimestampUTC stamp{};
        result = source.GetTimestampPropertyUTC(tag, &stamp);
        return FAILED(result) ? result : target.SetTimestampPropertyUTC(tag, &stamp);
    }
    }
    return E_FAIL;
}

HRESULT CkcDynamicPropertyBag::Clone(IkcSysPropertyBag** copy) {
    if (copy == nullptr)
        return E_POINTER;
    *copy = nullptr;
    return Locked([&] {
        // Released on every failure, so a partial copy never survives.
        OwnedReference<CkcDynamicPropertyBagObject> target(
            CkcDynamicPropertyBagObject::NewInstance());
        OwnedReference<IkcSysEnumPropertyTag> tags;
        const HRESULT listed = static_cast<IkcSysPropertyBag3*>(this)->EnumProperties(tags.Slot());
        if (FAILED(listed))
            return listed;
        if (tags.Get() != nullptr) {
            std::uint32_t tag = 0;
            std::uint32_t fetched = 0;
            while (tags.Get()->Next(1, &tag, &fetched) == S_OK) {
                const HRESULT copied = CopyPropertyTo(tag, *target.Get());
                if (FAILED(copied))
                    return copied;
                fetched = 0;
            }
        }
        // Every Set marked its tag; the copy starts with none changed.
        target.Get()->ClearChangedTags();
        *copy = static_cast<IkcSysPropertyBag3*>(target.Detach());
        return S_OK;
    });
}
