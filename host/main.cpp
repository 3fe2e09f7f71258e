// Loads the expert module as the host framework does and shows a person what it reports.
#include "com/guid.h"
#include "expert/expert_interfaces.h"

#include <module_loader.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string ExecutableDirectory() {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    std::string text(path, static_cast<std::size_t>(length));
    const auto slash = text.rfind('/');
    return slash == std::string::npos ? "." : text.substr(0, slash);
}

std::string Narrow(const char16_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text)
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

// Boundary strings are freed from the block start, four bytes below the text.
void FreeWideString(char16_t* text) {
    if (text != nullptr)
        std::free(reinterpret_cast<unsigned char*>(text) - 4);
}

} // namespace

int main() {
    const std::string modulePath = ExecutableDirectory() + "/" QX_DEFAULT_MODULE_NAME;
    qx_load_status status = QX_LOAD_OK;
    char error[512];
    qx_module* module = qxLoadModule(modulePath.c_str(), &status, error, sizeof error);
    if (module == nullptr) {
        std::fprintf(stderr, "qxzeva-host: %s\n", error);
        return 2;
    }
    using Factory = HRESULT (*)(void**);
    using VersionArray = const char* const* (*)();
    auto factory = reinterpret_cast<Factory>(qxModuleSymbol(module, "createZEVASysapiExpert"));
    auto versions = reinterpret_cast<VersionArray>(
        qxModuleSymbol(module, "nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray"));
    void* pointer = nullptr;
    if (factory == nullptr || versions == nullptr || factory(&pointer) < 0) {
        std::fprintf(stderr, "qxzeva-host: the module's factory failed\n");
        qxUnloadModule(module);
        return 3;
    }
    auto* expert = static_cast<IkcSysExpert2*>(pointer);
    char16_t* name = nullptr;
    expert->GetProductDisplayName(&name);
    std::printf("Product:      %s\n", Narrow(name).c_str());
    FreeWideString(name);
    expert->GetProgrammaticName(&name);
    std::printf("Programmatic: %s\n", Narrow(name).c_str());
    FreeWideString(name);
    expert->GetProductVersion(&name);
    std::printf("Version:      %s\n", Narrow(name).c_str());
    FreeWideString(name);
    _GUID id{};
    expert->GetProductID(&id);
    std::printf("Product ID:   {%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}\n", id.Data1,
                id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3],
                id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    std::printf("Version record:\n");
    for (const char* const* entry = versions(); *entry != nullptr; ++entry)
        std::printf("  %s\n", *entry);
    expert->Release();
    qxUnloadModule(module);
    return 0;
}
