// The module's static constructors and destructors, in the order the loader runs them.
// The module also runs both tables itself when it is mapped and unmapped, so a plain dlopen
// works; a loader that runs them too changes nothing, since every entry is idempotent.
#include "com/qxmutex.h"
#include "expert/interface_file_name.h"
#include "expert/module_exports.h"
#include "qx/kit/AbsTime.h"
#include "qx/kit/CharacterAttributes.h"
#include "qx/kit/osdep/RTSymbolLoader.h"

extern "C" {

// clang-format off
const QxStaticFunction _ctors[] = {
    ConstructInterfaceExtensionString,
    qx::kit::osdep::SingletonInitializer::Construct,
    qx::kit::ConstructDefaultSystemLocale,
    qx::kit::ConstructAbsTimeConstants,
    qx::kit::ConstructAbsTimeLimits,
    ConstructInterLockedIncDec,
    nullptr,
};

const QxStaticFunction _dtors[] = {
    DestroyInterfaceExtensionString,
    qx::kit::osdep::SingletonInitializer::Destroy,
    qx::kit::DestroyDefaultSystemLocale,
    qx::kit::DestroyAbsTimeConstants,
    qx::kit::DestroyAbsTimeLimits,
    DestroyInterLockedIncDec,
    nullptr,
};
// clang-format on
}

namespace {

void RunTable(const QxStaticFunction* table) {
    for (; *table != nullptr; ++table)
        (*table)();
}

__attribute__((constructor)) void RunModuleConstructors() {
    RunTable(_ctors);
}
__attribute__((destructor)) void RunModuleDestructors() {
    RunTable(_dtors);
}

} // namespace
