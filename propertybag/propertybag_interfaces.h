// The host framework's property-bag interfaces. Each version derives singly from the one
// before, so a later version's table extends the earlier one's; slot order is the ABI.
// Tags are 32-bit unsigned numbers; no tag value is reserved.
// What each operation returns, who owns and frees each out-value and which tasks may call it
// at once is written once, on the slot of the same name in the C view (expert/qxzeva_c.h).
// Interface names are spelled ::Name: a translation unit may include the C view as well, whose
// types of the same names a using-directive brings into the global namespace.
#ifndef QX_PROPERTYBAG_PROPERTYBAG_INTERFACES_H
#define QX_PROPERTYBAG_PROPERTYBAG_INTERFACES_H

#include "com/guid.h"
#include "com/unknown.h"
#include "propertybag/attribute_types.h"

#include <cstdint>

class IkcSysEnumPropertyTag;

// Slots 3 to 21: presence, type, deletion and the typed values.
class IkcSysPropertyBag : public ::IUnknown {
public:
    virtual HRESULT EnumProperties(::IkcSysEnumPropertyTag** tags) = 0;
    virtual HRESULT HasProperty(std::uint32_t tag) = 0;
    virtual HRESULT GetPropertyType(std::uint32_t tag, kcSysAttributeType* type) = 0;
    virtual HRESULT DeleteProperty(std::uint32_t tag) = 0;
    virtual HRESULT DeleteAllProperties() = 0;
    virtual HRESULT SetBooleanProperty(std::uint32_t tag, int value) = 0;
    virtual HRESULT SetIntegerProperty(std::uint32_t tag, std::int32_t value) = 0;
    virtual HRESULT SetUnsignedIntegerProperty(std::uint32_t tag, std::uint32_t value) = 0;
    virtual HRESULT SetDoubleProperty(std::uint32_t tag, double value) = 0;
    virtual HRESULT SetGuidProperty(std::uint32_t tag, _GUID value) = 0;
    virtual HRESULT SetStringProperty(std::uint32_t tag, const char16_t* value) = 0;
    virtual HRESULT _SetTimestampProperty(std::uint32_t tag, const kcSysAttrTimestamp* value) = 0;
    virtual HRESULT GetBooleanProperty(std::uint32_t tag, int* value) = 0;
    virtual HRESULT GetIntegerProperty(std::uint32_t tag, std::int32_t* value) = 0;
    virtual HRESULT GetUnsignedIntegerProperty(std::uint32_t tag, std::uint32_t* value) = 0;
    virtual HRESULT GetDoubleProperty(std::uint32_t tag, double* value) = 0;
    virtual HRESULT GetGuidProperty(std::uint32_t tag, _GUID* value) = 0;
    // The caller frees the string (qxFreeWideString of the C view, or qxzeva::WideString).
    virtual HRESULT GetStringProperty(std::uint32_t tag, char16_t** value) = 0;
    virtual HRESULT GetTimestampProperty(std::uint32_t tag, kcSysAttrTimestamp* value) = 0;

protected:
    ~IkcSysPropertyBag() = default;
};

// Slots 22 to 24: deep copy and change tracking.
class IkcSysPropertyBag2 : public ::IkcSysPropertyBag {
public:
    virtual HRESULT Clone(::IkcSysPropertyBag** copy) = 0;
    virtual HRESULT ClearChangedTags() = 0;
    virtual HRESULT EnumChangedTags(::IkcSysEnumPropertyTag** tags) = 0;

protected:
    ~IkcSysPropertyBag2() = default;
};

// Slots 25 to 28: UTC timestamps and the batch lock.
class IkcSysPropertyBag3 : public ::IkcSysPropertyBag2 {
public:
    virtual HRESULT GetTimestampPropertyUTC(std::uint32_t tag, kcSysAttrTimestampUTC* value) = 0;
    virtual HRESULT SetTimestampPropertyUTC(std::uint32_t tag,
                                            const kcSysAttrTimestampUTC* value) = 0;
    // Keeps the bag's lock on the calling task until the matching ReleaseBatchLock.
    virtual HRESULT AcquireBatchLock() = 0;
    virtual HRESULT ReleaseBatchLock() = 0;

protected:
    ~IkcSysPropertyBag3() = default;
};

#endif
