// The property store handed to the host: typed values keyed by 32-bit tags, the set of tags
// changed since the last clear, tag enumerators, deep cloning and a batch lock. Every
// operation runs under the bag's recursive critical section, which a caller can keep across
// calls with AcquireBatchLock.
#ifndef QX_PROPERTYBAG_DYNAMIC_PROPERTY_BAG_H
#define QX_PROPERTYBAG_DYNAMIC_PROPERTY_BAG_H

#include "com/comobject.h"
#include "com/hresult_from_exception.h"
#include "com/interfaceentry.h"
#include "com/kcsysenum.h"
#include "com/qxcs.h"
#include "com/qxsynclock.h"
#include "propertybag/property_value.h"
#include "propertybag/propertybag_interfaces.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>

class CkcDynamicPropertyBag : public virtual CQXComObjectRootEx<CQXComMultiThreadModelNoCS>,
                              public IkcSysPropertyBag3 {
public:
    using TagSet = PropertyTagSet;

    static const InterfaceEntry* _GetEntries();

    // IkcSysPropertyBag
    HRESULT EnumProperties(IkcSysEnumPropertyTag** tags) noexcept override;
    HRESULT HasProperty(std::uint32_t tag) noexcept override;
    HRESULT GetPropertyType(std::uint32_t tag, kcSysAttributeType* type) noexcept override;
    HRESULT DeleteProperty(std::uint32_t tag) noexcept override;
    HRESULT DeleteAllProperties() noexcept override;
    HRESULT SetBooleanProperty(std::uint32_t tag, int value) noexcept override;
    HRESULT SetIntegerProperty(std::uint32_t tag, std::int32_t value) noexcept override;
    HRESULT SetUnsignedIntegerProperty(std::uint32_t tag, std::uint32_t value) noexcept override;
    HRESULT SetDoubleProperty(std::uint32_t tag, double value) noexcept override;
    HRESULT SetGuidProperty(std::uint32_t tag, _GUID value) noexcept override;
    HRESULT SetStringProperty(std::uint32_t tag, const char16_t* value) noexcept override;
    HRESULT _SetTimestampProperty(std::uint32_t tag,
                                  const kcSysAttrTimestamp* value) noexcept override;
    HRESULT GetBooleanProperty(std::uint32_t tag, int* value) noexcept override;
    HRESULT GetIntegerProperty(std::uint32_t tag, std::int32_t* value) noexcept override;
    HRESULT GetUnsignedIntegerProperty(std::uint32_t tag, std::uint32_t* value) noexcept override;
    HRESULT GetDoubleProperty(std::uint32_t tag, double* value) noexcept override;
    HRESULT GetGuidProperty(std::uint32_t tag, _GUID* value) noexcept override;
    HRESULT GetStringProperty(std::uint32_t tag, char16_t** value) noexcept override;
    HRESULT GetTimestampProperty(std::uint32_t tag, kcSysAttrTimestamp* value) noexcept override;
    // IkcSysPropertyBag2
    HRESULT Clone(IkcSysPropertyBag** copy) noexcept override;
    HRESULT ClearChangedTags() noexcept override;
    HRESULT EnumChangedTags(IkcSysEnumPropertyTag** tags) noexcept override;
    // IkcSysPropertyBag3
    HRESULT GetTimestampPropertyUTC(std::uint32_t tag,
                                    kcSysAttrTimestampUTC* value) noexcept override;
    HRESULT SetTimestampPropertyUTC(std::uint32_t tag,
                                    const kcSysAttrTimestampUTC* value) noexcept override;
    HRESULT AcquireBatchLock() noexcept override;
    HRESULT ReleaseBatchLock() noexcept override;

    // After the interface slots. Only the last Release destroys a bag.
protected:
    virtual ~CkcDynamicPropertyBag();
    CkcDynamicPropertyBag();

public:
    // For tests; exact only while no other task uses the bag.
    std::int32_t BatchLockCountForTesting() const { return m_batchLockCount; }
    const Tessaly::CqxCS& CriticalSectionForTesting() const { return m_cs; }

private:
    // Runs work under one scoped acquisition of m_cs; whatever it throws becomes the result.
    template <class Work>
    HRESULT Locked(Work&& work) noexcept {
        return HResultOf([&] {
            Tessaly::CqxSyncLock lock(m_cs);
            return work();
        });
    }

    template <class T>
    HRESULT FindTyped(std::uint32_t tag, const CkcTemplatePropertyValue<T>** found) const;
    template <class T>
    HRESULT ReadValue(std::uint32_t tag, T* out) const;

    // A snapshot of the tags that fill gives, handed out as an enumerator that owns it;
    // S_FALSE and no enumerator when there are none.
    template <class IsEmpty, class Fill>
    HRESULT EnumerateSnapshot(IkcSysEnumPropertyTag** tags, IsEmpty&& isEmpty, Fill&& fill);
    using PropertyMap = std::map<std::uint32_t, std::unique_ptr<CkcPropertyValue>>;
    // Fills this new, empty bag with copies of properties; none is marked changed.
    HRESULT TakeCopiesOf(const PropertyMap& properties);
    // Every property and changed tag gone; the caller holds m_cs.
    void ClearProperties() noexcept;
    void GiveBackKeptBatchLocks();

    Tessaly::CqxCS m_cs;
    PropertyMap m_properties;
    TagSet m_changedTags;
    std::int32_t m_batchLockCount = 0;
};

using CkcDynamicPropertyBagObject = CQXComObject<CkcDynamicPropertyBag>;

#endif
