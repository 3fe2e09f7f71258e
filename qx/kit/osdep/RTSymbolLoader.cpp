#include "qx/kit/osdep/RTSymbolLoader.h"

#include <sysSymTbl.h>

#include <cstring>

namespace qx {
namespace kit {
namespace osdep {

namespace {

ModuleStatic<RTSymbolLoader> loaderInstance;

// The slot's type is the caller's business; the table only knows addresses.
template <class Function>
void LookUp(SYMTAB_ID table, const char* name, Function* slot) {
    char* value = nullptr;
    SYM_TYPE type = 0;
    if (symFindByName(table, name, &value, &type) != OK)
        return; // absent: the slot stays null and the caller falls back
    static_assert(sizeof(Function) == sizeof(value), "a function address fits a data address");
    std::memcpy(slot, &value, sizeof value);
}

} // namespace

ModuleStatic<SingletonInitializer> SingletonInitializer::g_initializer;

RTSymbolLoader::RTSymbolLoader(SYMTAB_ID table) {
    LookUp(table, "MultiByteToWideChar", &m_multiByteToWideChar);
    LookUp(table, "WideCharToMultiByte", &m_wideCharToMultiByte);
    LookUp(table, "enetGetNetworkDeviceCount", &m_networkDeviceCount);
    LookUp(table, "enetGetIPAddressByIndex", &m_ipAddressByIndex);
    LookUp(table, "enetGetMACAddressByIndex", &m_macAddressByIndex);
}

RTSymbolLoader& RTSymbolLoader::instance() {
    // Built by the static constructors before anything else of the module runs, so later
    // readers on any task only read a finished table.
    loaderInstance.Construct(sysSymTbl);
    return loaderInstance.Get();
}

void RTSymbolLoader::rebuildForTesting(SYMTAB_ID table) {
    loaderInstance.Destroy();
    loaderInstance.Construct(table);
}

void SingletonInitializer::Destroy() {
    g_initializer.Destroy();
    loaderInstance.Destroy();
}

} // namespace osdep
} // namespace kit
} // namespace qx
