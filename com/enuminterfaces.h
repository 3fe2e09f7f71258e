// The enumerator interfaces the host receives: item names and property tags. Slot order is
// the ABI: QueryInterface, AddRef, Release, Next, Skip, Reset, Clone.
// What each operation returns, who owns and frees each out-value and which tasks may call it
// at once is written once, on the slot of the same name in the C view (expert/qxzeva_c.h).
// Interface names are spelled ::Name: a translation unit may include the C view as well, whose
// types of the same names a using-directive brings into the global namespace.
#ifndef QX_COM_ENUMINTERFACES_H
#define QX_COM_ENUMINTERFACES_H

#include "com/unknown.h"

#include <cstdint>

// Next hands out new boundary wide strings; the receiver frees each one (qxFreeWideString of
// the C view, or qxzeva::WideString of hostkit/qxzeva_host.h).
class IkcSysEnumStringList : public ::IUnknown {
public:
    virtual HRESULT Next(std::uint32_t wanted, char16_t** names, std::uint32_t* fetched) = 0;
    virtual HRESULT Skip(std::uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(::IkcSysEnumStringList** clone) = 0;

protected:
    ~IkcSysEnumStringList() = default;
};

class IkcSysEnumPropertyTag : public ::IUnknown {
public:
    virtual HRESULT Next(std::uint32_t wanted, std::uint32_t* tags, std::uint32_t* fetched) = 0;
    virtual HRESULT Skip(std::uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(::IkcSysEnumPropertyTag** clone) = 0;

protected:
    ~IkcSysEnumPropertyTag() = default;
};

#endif
