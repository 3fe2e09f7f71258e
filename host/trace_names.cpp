#include "host/trace_names.h"

#include "qxzeva/qxzeva_host.h"

#include <cinttypes>
#include <cstdio>

std::string HResultText(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, static_cast<std::uint32_t>(result));
    return text;
}

std::string HResultName(HRESULT result) {
    const char* name = qxzeva::HResultName(result);
    return name != nullptr ? name : HResultText(result);
}

std::string HResultNamed(HRESULT result) {
    const char* name = qxzeva::HResultName(result);
    return name != nullptr ? std::string(name) + " (" + HResultText(result) + ")"
                           : HResultText(result);
}

const char* InterfaceName(const _GUID& iid) {
    const qxInterfaceInfo* entry = qxFindInterface(&iid);
    return entry != nullptr ? entry->name : nullptr;
}
