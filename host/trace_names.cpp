#include "host/trace_names.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

struct NamedResult {
    HRESULT code;
    const char* name;
};

const NamedResult k_results[] = {
    {S_OK, "S_OK"},
    {S_FALSE, "S_FALSE"},
    {E_NOTIMPL, "E_NOTIMPL"},
    {E_NOINTERFACE, "E_NOINTERFACE"},
    {E_POINTER, "E_POINTER"},
    {E_FAIL, "E_FAIL"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    {E_PROPERTY_TYPE_MISMATCH, "E_PROPERTY_TYPE_MISMATCH"},
    {E_PROPERTY_NOT_FOUND, "E_PROPERTY_NOT_FOUND"},
    {E_ITEM_NOT_FOUND, "E_ITEM_NOT_FOUND"},
};

struct NamedInterface {
    const _GUID* iid;
    const char* name;
};

const NamedInterface k_interfaces[] = {
    {&IID_IUnknown, "IUnknown"},
    {&IID_IkcSysExpertInfo, "IkcSysExpertInfo"},
    {&IID_IkcSysExpert, "IkcSysExpert"},
    {&IID_IkcSysExpert2, "IkcSysExpert2"},
    {&IID_IkcSysExpertPlugPlay, "IkcSysExpertPlugPlay"},
    {&IID_IkcSysPropertyBag, "IkcSysPropertyBag"},
    {&IID_IkcSysPropertyBag2, "IkcSysPropertyBag2"},
    {&IID_IkcSysPropertyBag3, "IkcSysPropertyBag3"},
    {&IID_IkcSysEnumPropertyTag, "IkcSysEnumPropertyTag"},
    {&IID_IkcSysEnumStringList, "IkcSysEnumStringList"},
};

} // namespace

std::string HResultName(HRESULT result) {
    for (const NamedResult& entry : k_results)
        if (entry.code == result)
            return entry.name;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, static_cast<std::uint32_t>(result));
    return text;
}

const char* InterfaceName(const _GUID& iid) {
    for (const NamedInterface& entry : k_interfaces)
        if (std::memcmp(entry.iid, &iid, sizeof iid) == 0)
            return entry.name;
    return nullptr;
}
