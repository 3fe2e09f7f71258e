// Optional functions of the target, found by name in the kernel's symbol table when the
// module loads. The module never links against them: each slot holds the address found or
// null, and callers read the slot right before each use and fall back when it is null.
#ifndef QX_KIT_OSDEP_RTSYMBOLLOADER_H
#define QX_KIT_OSDEP_RTSYMBOLLOADER_H

#include "qx/kit/ModuleStatic.h"

#include <symLib.h>

#include <cstdint>

namespace qx {
namespace kit {
namespace osdep {

// A result of 0 is a failure with the reason in errno; a null output with capacity 0 asks
// for the size the output needs.
using MultiByteToWideCharFunction = std::int32_t (*)(std::uint32_t codePage, std::uint32_t flags,
                                                     const char* input, std::int32_t inputBytes,
                                                     char16_t* output, std::int32_t outputUnits);
using WideCharToMultiByteFunction = std::int32_t (*)(std::uint32_t codePage, std::uint32_t flags,
                                                     const char16_t* input, std::int32_t inputUnits,
                                                     char* output, std::int32_t outputBytes,
                                                     const char* defaultChar,
                                                     std::int32_t* usedDefaultChar);
// Looked up for completeness; the module calls none of them.
using NetworkQueryFunction = void (*)();

class RTSymbolLoader {
public:
    // The process-wide table; the first call builds it.
    static RTSymbolLoader& instance();

    MultiByteToWideCharFunction multiByteToWideChar() const { return m_multiByteToWideChar; }
    WideCharToMultiByteFunction wideCharToMultiByte() const { return m_wideCharToMultiByte; }
    NetworkQueryFunction enetGetNetworkDeviceCount() const { return m_networkDeviceCount; }
    NetworkQueryFunction enetGetIPAddressByIndex() const { return m_ipAddressByIndex; }
    NetworkQueryFunction enetGetMACAddressByIndex() const { return m_macAddressByIndex; }

    // Looks every name up again in table, as if the module were loaded now. For tests: a
    // table that knows none of the names leaves every slot null.
    static void rebuildForTesting(SYMTAB_ID table);

    explicit RTSymbolLoader(SYMTAB_ID table);
    RTSymbolLoader(const RTSymbolLoader&) = delete;
    RTSymbolLoader& operator=(const RTSymbolLoader&) = delete;

private:
    MultiByteToWideCharFunction m_multiByteToWideChar = nullptr;
    WideCharToMultiByteFunction m_wideCharToMultiByte = nullptr;
    NetworkQueryFunction m_networkDeviceCount = nullptr;
    NetworkQueryFunction m_ipAddressByIndex = nullptr;
    NetworkQueryFunction m_macAddressByIndex = nullptr;
};

// Builds the singleton from the module's static constructors, so the lookups see the
// symbols present when the module is loaded, before any other code of the module runs.
class SingletonInitializer {
public:
    SingletonInitializer() { RTSymbolLoader::instance(); }

    static ModuleStatic<SingletonInitializer> g_initializer;

    // The module's static constructor and destructor entries.
    static void Construct() { g_initializer.Construct(); }
    static void Destroy();
};

} // namespace osdep
} // namespace kit
} // namespace qx

#endif
