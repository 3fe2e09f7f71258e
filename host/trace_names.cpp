#include "host/trace_names.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

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
    if (const char* name = qxHResultName(result))
        return name;
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
