// Interface-entry tables and the one table-driven QueryInterface that every class shares.
#ifndef QX_COM_INTERFACEENTRY_H
#define QX_COM_INTERFACEENTRY_H

#include "com/guid.h"
#include "com/hresult.h"

#include <cstdint>

// A function row's handler: object, identifier, out-pointer, the row's offset.
using InterfaceEntryFunc = HRESULT (*)(void* object, const _GUID& iid, void** out,
                                       std::uint32_t offset);

// func: k_entryEnd ends the table, k_entrySimple names the base at offset, anything else is
// an InterfaceEntryFunc. A null iid makes a blind row, allowed on function rows only.
constexpr std::uintptr_t k_entryEnd = 0;
constexpr std::uintptr_t k_entrySimple = 1;

struct InterfaceEntry {
    const _GUID* iid;
    std::uint32_t offset;
    std::uintptr_t func;
};

// Byte distance from the start of Derived to its (non-virtual) Base subobject. Computed on
// a made-up aligned address: a non-virtual upcast only adds a constant.
template <class Base, class Derived>
std::uint32_t OffsetOfBase() {
    constexpr std::uintptr_t k_probe = 0x1000;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the probe is never dereferenced
    const auto* derived = reinterpret_cast<Derived*>(k_probe);
    return static_cast<std::uint32_t>(
        reinterpret_cast<std::uintptr_t>(static_cast<const Base*>(derived)) - k_probe);
}

// IUnknown is {00000000-0000-0000-C000-000000000046}, also accepted with 00C0 in the
// fourth group; the test reads the words in the target's byte order on every host.
bool IsIUnknown(const _GUID& iid);

// The first row must be simple: it also answers IUnknown. Takes a reference on success.
HRESULT InternalQueryInterface(void* object, const InterfaceEntry* entries, const _GUID& iid,
                               void** out);

#endif
