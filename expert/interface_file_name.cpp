#include "expert/interface_file_name.h"

#include "expert/kcsyszeva.h"

#include <cstring>

ModuleStatic<std::string> k_InterfaceExtensionString;

void ConstructInterfaceExtensionString() {
    k_InterfaceExtensionString.Construct(".zid");
}

void DestroyInterfaceExtensionString() {
    k_InterfaceExtensionString.Destroy();
}

std::string TextInDriverBuffer(const char* buffer, std::size_t bufferSize) {
    return std::string(buffer, strnlen(buffer, bufferSize));
}

// The last four characters go whenever the extension occurs anywhere in the name, not only at
// its end: "a.zidb" gives "a.". Item names the host already knows depend on this.
std::string CkcSysZeva::StripInterfaceExtension(const std::string& name) {
    const std::string& extension = *k_InterfaceExtensionString;
    if (name.size() <= extension.size() || name.find(extension) == std::string::npos)
        return name;
    return name.substr(0, name.size() - extension.size());
}
