#include "qx/kit/CharacterAttributes.h"

#include "qx/kit/ModuleStatic.h"

#include <exception>

namespace qx {
namespace kit {

namespace {
ModuleStatic<std::locale> k_DEFAULT_SYSTEM_LOCALE;
} // namespace

std::locale MakeSystemLocale(const char* name) {
    try {
        return std::locale(name);
    } catch (const std::exception&) {
        return std::locale::classic();
    }
}

void ConstructDefaultSystemLocale() {
    if (!k_DEFAULT_SYSTEM_LOCALE.IsBuilt())
        k_DEFAULT_SYSTEM_LOCALE.Construct(MakeSystemLocale(""));
}

void DestroyDefaultSystemLocale() {
    k_DEFAULT_SYSTEM_LOCALE.Destroy();
}

const std::locale& GetDefaultSystemLocale() {
    ConstructDefaultSystemLocale(); // normally done already while the module loaded
    return k_DEFAULT_SYSTEM_LOCALE.Get();
}

} // namespace kit
} // namespace qx
