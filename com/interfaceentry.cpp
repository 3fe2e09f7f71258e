#include "com/interfaceentry.h"

#include "com/unknown.h"

#include <cassert>

namespace {

HRESULT TakeRow(void* object, const InterfaceEntry& row, void** out) {
    auto* pointer = reinterpret_cast<IUnknown*>(static_cast<char*>(object) + row.offset);
    pointer->AddRef();
    *out = pointer;
    return S_OK;
}

} // namespace

bool IsIUnknown(const _GUID& iid) {
    const std::uint32_t word2 = GuidWordBigEndian(iid, 2);
    return GuidWordBigEndian(iid, 0) == 0 && GuidWordBigEndian(iid, 1) == 0 &&
           (word2 == 0xC0000000u || word2 == 0x00C00000u) && GuidWordBigEndian(iid, 3) == 0x46u;
}

HRESULT InternalQueryInterface(void* object, const InterfaceEntry* entries, const _GUID& iid,
                               void** out) {
    if (out == nullptr)
        return E_POINTER;
    assert(object != nullptr && entries != nullptr);
    assert(entries[0].func == k_entrySimple && "the first row answers IUnknown and must be simple");
    *out = nullptr;
    if (IsIUnknown(iid))
        return TakeRow(object, entries[0], out);
    for (const InterfaceEntry* row = entries; row->func != k_entryEnd; ++row) {
        if (row->iid != nullptr && *row->iid != iid)
            continue;
        if (row->func == k_entrySimple) {
            assert(row->iid != nullptr && "a simple row names its identifier");
            return TakeRow(object, *row, out);
        }
        // NOLINTNEXTLINE(performance-no-int-to-ptr): a row holds its handler or a marker
        const auto handler = reinterpret_cast<InterfaceEntryFunc>(row->func);
        const HRESULT result = handler(object, iid, out, row->offset);
        if (result == S_OK)
            return result;
        if (row->iid != nullptr && FAILED(result))
            return result;
    }
    return E_NOINTERFACE;
}
