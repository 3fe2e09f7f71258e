// The bag's changed-tag set, its batch lock and its deep copy.
#include "propertybag/dynamic_property_bag.h"

#include <memory>
#include <new>
#include <utility>

namespace {

// A new value object of the same class and content as value, chosen by its type code and
// confirmed by its class. Throws std::bad_alloc when memory runs out, a string copy
// included: a clone never holds a null string where its source holds text.
template <class T>
HRESULT CopyTyped(const CkcPropertyValue& value, std::unique_ptr<CkcPropertyValue>* copy) {
    const CkcTemplatePropertyValue<T>* typed = AsTypedValue<T>(&value);
    if (typed == nullptr)
        return E_PROPERTY_TYPE_MISMATCH; // GCOVR_EXCL_LINE: a value's code is its class's
    *copy = std::make_unique<CkcTemplatePropertyValue<T>>(typed->GetValue(), typed->GetType());
    return S_OK;
}

template <>
HRESULT CopyTyped<CqxBStr>(const CkcPropertyValue& value, std::unique_ptr<CkcPropertyValue>* copy) {
    const CkcTemplatePropertyValue<CqxBStr>* typed = AsTypedValue<CqxBStr>(&value);
    if (typed == nullptr)
        return E_PROPERTY_TYPE_MISMATCH; // GCOVR_EXCL_LINE: a value's code is its class's
    CqxBStr text = CopyOfStoredString(typed->GetValue());
    if (text.IsNull() && !typed->GetValue().IsNull())
        throw std::bad_alloc();
    *copy = std::make_unique<CkcTemplatePropertyValue<CqxBStr>>(std::move(text), typed->GetType());
    return S_OK;
}

HRESULT CopyOfValue(const CkcPropertyValue& value, std::unique_ptr<CkcPropertyValue>* copy) {
    switch (value.GetType()) {
    case kcSysAttrTypeBoolean:
        return CopyTyped<bool>(value, copy);
    case kcSysAttrTypeInteger:
        return CopyTyped<std::int32_t>(value, copy);
    case kcSysAttrTypeUnsignedInteger:
        return CopyTyped<std::uint32_t>(value, copy);
    case kcSysAttrTypeDouble:
        return CopyTyped<double>(value, copy);
    case kcSysAttrTypeGuid:
        return CopyTyped<_GUID>(value, copy);
    case kcSysAttrTypeString:
        return CopyTyped<CqxBStr>(value, copy);
    case kcSysAttrTypeTimestampUTC:
        return CopyTyped<kcSysAttrTimestampUTC>(value, copy);
    }
    return E_FAIL; // GCOVR_EXCL_LINE: a bag stores values of the seven types above alone
}

// Appends a copy of each value of source, in order, to the end of target, whose tags all sort
// before source's. Kept out of line: compiled inside the locked section's own frame, the loop
// gives up a register to the lock's state and costs an instruction more per property.
template <class PropertyMap>
[[gnu::noinline]] HRESULT AppendCopies(const PropertyMap& source, PropertyMap* target) {
    for (const auto& property : source) {
        std::unique_ptr<CkcPropertyValue> copy;
        const HRESULT copied = CopyOfValue(*property.second, &copy);
        if (FAILED(copied))
            return copied; // GCOVR_EXCL_LINE: a copy fails only where excluded above
        target->emplace_hint(target->end(), property.first, std::move(copy));
    }
    return S_OK;
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
        *tags = MakeEnumerator<CkcSysEnumPropertyTags>(std::move(snapshot)).detach();
        return S_OK;
    });
}

HRESULT CkcDynamicPropertyBag::EnumProperties(IkcSysEnumPropertyTag** tags) noexcept {
    return EnumerateSnapshot(
        tags, [this] { return m_properties.empty(); },
        [this](TagSet& snapshot) {
            for (const auto& property : m_properties)
                snapshot.insert(snapshot.end(), property.first);
        });
}

HRESULT CkcDynamicPropertyBag::EnumChangedTags(IkcSysEnumPropertyTag** tags) noexcept {
    return EnumerateSnapshot(
        tags, [this] { return m_changedTags.empty(); },
        [this](TagSet& snapshot) { snapshot = m_changedTags; });
}

HRESULT CkcDynamicPropertyBag::ClearChangedTags() noexcept {
    return Locked([&] {
        if (m_changedTags.empty())
            return S_FALSE;
        m_changedTags.clear();
        return S_OK;
    });
}

HRESULT CkcDynamicPropertyBag::AcquireBatchLock() noexcept {
    return Locked([&] {
        // This acquisition outlives the call: the task keeps m_cs one level deeper
        // per outstanding batch lock, so every other task's call waits until the
        // last release.
        m_cs.Lock(-1);
        ++m_batchLockCount;
        return S_OK;
    });
}

HRESULT CkcDynamicPropertyBag::ReleaseBatchLock() noexcept {
    return Locked([&] {
        if (m_batchLockCount == 0)
            return E_FAIL;
        m_cs.Unlock();
        --m_batchLockCount;
        return S_OK;
    });
}

// The copy reads the source's values directly under the source's critical section, which the
// caller holds: one pass over the tree in ascending order, each value copied once and put
// in at the end of the new tree. Going through the interfaces instead (enumerate, then Get
// and Set per tag) gives the same bag at several times the cost: a snapshot of every tag,
// three lock acquisitions per property, every string copied twice, and every tag marked
// changed only to be cleared again.
HRESULT CkcDynamicPropertyBag::TakeCopiesOf(const PropertyMap& properties) {
    // The new bag is no other task's yet; its lock is taken all the same, as for every
    // change of a bag.
    return Locked([&] { return AppendCopies(properties, &m_properties); });
}

HRESULT CkcDynamicPropertyBag::Clone(IkcSysPropertyBag** copy) noexcept {
    if (copy == nullptr)
        return E_POINTER;
    *copy = nullptr;
    return Locked([&] {
        // Released on every failure, so a partial copy never survives.
        CQXComPtr<CkcDynamicPropertyBagObject> target = MakeComObject<CkcDynamicPropertyBag>();
        const HRESULT copied = target->TakeCopiesOf(m_properties);
        if (FAILED(copied))
            return copied;
        // The copy's tags were never marked: it starts with none changed.
        *copy = static_cast<IkcSysPropertyBag3*>(target.detach());
        return S_OK;
    });
}
