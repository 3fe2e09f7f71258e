// The interfaces through which the host talks to the expert. Slot order is the ABI.
// What each operation returns, who owns and frees each out-value and which tasks may call it
// at once is written once, on the slot of the same name in the C view (expert/qxzeva_c.h).
// Interface names are spelled ::Name: a translation unit may include the C view as well, whose
// types of the same names a using-directive brings into the global namespace.
#ifndef QX_EXPERT_EXPERT_INTERFACES_H
#define QX_EXPERT_EXPERT_INTERFACES_H

#include "com/unknown.h"

#include <cstdint>

class IkcSysPropertyBag;
class IkcSysPropertyBag2;
class IkcSysEnumStringList;
class IkcSysEnumPropertyTag;
class IkcSysPropertyBagCollection;
class IkcSysFrameworkNotificationHandler;

// Host framework enumerations the expert passes through without reading.
enum kcSysLocale : std::int32_t { kcSysLocaleDefault = 0 };
enum kcSysRenameValidationMode : std::int32_t {
    kcSysRenameValidationNone = 0,
    kcSysRenameValidationFull = 1
};

class IkcSysExpertInfo : public ::IUnknown {
public:
    virtual HRESULT GetProductID(_GUID* productId) = 0;
    virtual HRESULT GetProductDisplayName(char16_t** name) = 0;
    virtual HRESULT GetProductVersion(char16_t** version) = 0;
    virtual HRESULT GetProgrammaticName(char16_t** name) = 0;

protected:
    ~IkcSysExpertInfo() = default;
};

class IkcSysExpert : public ::IkcSysExpertInfo {
public:
    virtual HRESULT Initialize() = 0;
    virtual HRESULT Finalize() = 0;
    virtual HRESULT SearchForItemsAndProperties(::IkcSysPropertyBagCollection* collection) = 0;
    virtual HRESULT SearchForItemNames(::IkcSysEnumStringList** names) = 0;
    virtual HRESULT GetPropertiesOfItem(const char16_t* itemName, ::IkcSysPropertyBag** bag) = 0;
    virtual HRESULT PopulateOrRefreshProperties(const char16_t* itemName, std::uint32_t tagCount,
                                                const std::uint32_t* tags, int refresh,
                                                ::IkcSysPropertyBag** bag) = 0;
    virtual HRESULT SetPreferredLocale(kcSysLocale locale) = 0;
    virtual HRESULT RenameAlias(const char16_t* oldAlias, const char16_t* newAlias,
                                kcSysRenameValidationMode mode, int* valid, char16_t** message) = 0;

protected:
    ~IkcSysExpert() = default;
};

class IkcSysExpert2 : public ::IkcSysExpert {
public:
    virtual HRESULT ValidatePropertyChanges(const char16_t* itemName, ::IkcSysPropertyBag2* bag,
                                            ::IkcSysEnumPropertyTag** tags, char16_t** message) = 0;
    virtual HRESULT PersistPropertyChanges(const char16_t* itemName, ::IkcSysPropertyBag2* bag,
                                           int* rebootRequired) = 0;

protected:
    ~IkcSysExpert2() = default;
};

class IkcSysExpertPlugPlay : public ::IUnknown {
public:
    virtual HRESULT RegisterNotificationCallback(::IkcSysFrameworkNotificationHandler* handler) = 0;

protected:
    ~IkcSysExpertPlugPlay() = default;
};

// Supplied by the host: the expert hands it one bag per item. A collection that keeps a bag
// takes its own reference.
class IkcSysPropertyBagCollection : public ::IUnknown {
public:
    virtual HRESULT AddPropertyBag(::IkcSysPropertyBag* bag) = 0;

protected:
    ~IkcSysPropertyBagCollection() = default;
};

#endif
