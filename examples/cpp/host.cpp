// A host written in C++: loads the expert module, asks it which image-acquisition boards the
// image driver knows, reads a few properties of the first one and has every board's property
// bag handed to a small collection of its own. Every reference and string the module hands
// out is held by qxzeva::Ref or qxzeva::WideString, which give it back.
//
// Build against the installed package with the CMakeLists.txt beside this file:
//     cmake -S . -B build -DCMAKE_PREFIX_PATH=<prefix> && cmake --build build
// The module is found where the package installed it, or where QXZEVA_MODULE says.
#include "qxzeva/module_loader.h"  // qxInstalledModulePath, qxLoadModule, qxUnloadModule
#include "qxzeva/qxzeva_c.h"       // the interfaces, results, identifiers and tags
#include "qxzeva/qxzeva_host.h"    // qxzeva::Ref, WideString, ModuleFunction, text conversion
#include "qxzeva/qxzeva_version.h" // QXZEVA_VERSION_STRING

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The collection SearchForItemsAndProperties hands each item's bag to. The module calls it
// through its table of operations; it lives on the caller's stack, so its counts are nominal.
// The module sees only the interface this collection derives from.
struct BoardCollection : IkcSysPropertyBagCollection {
    int boards = 0;

    BoardCollection() : IkcSysPropertyBagCollection{&k_operations} {}
    static BoardCollection* Of(IkcSysPropertyBagCollection* self) {
        return static_cast<BoardCollection*>(self);
    }
    static HRESULT QueryInterface(IkcSysPropertyBagCollection* self, const _GUID* iid,
                                  void** object) {
        if (object == nullptr)
            return E_POINTER;
        *object = qxzeva::SameGuid(*iid, IID_IUnknown) ? self : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    static std::int32_t AddRef(IkcSysPropertyBagCollection*) { return 2; }
    static std::int32_t Release(IkcSysPropertyBagCollection*) { return 1; }
    // Each bag is lent for this call only: read it now, or hold it in a Ref (copying a Ref
    // takes a reference) to keep it.
    static HRESULT AddPropertyBag(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag) {
        qxzeva::WideString name;
        std::uint32_t bus = 0;
        if (bag->lpVtbl->GetStringProperty(bag, kcSysTagItemName, name.put()) == S_OK &&
            bag->lpVtbl->GetUnsignedIntegerProperty(bag, kcSysTagPciBus, &bus) == S_OK)
            std::printf("  %s on PCI bus %u\n", name.utf8().c_str(), static_cast<unsigned>(bus));
        ++Of(self)->boards;
        return S_OK;
    }
    static constexpr IkcSysPropertyBagCollectionVtbl k_operations = {QueryInterface, AddRef,
                                                                     Release, AddPropertyBag};
};

// Prints the item's name, vendor, model and serial number.
HRESULT ShowBoard(IkcSysExpert2* expert, const std::string& itemName) {
    const struct {
        std::uint32_t tag;
        const char* label;
    } shown[] = {{kcSysTagItemName, "Item"},
                 {kcSysTagVendor, "Vendor"},
                 {kcSysTagModel, "Model"},
                 {kcSysTagSerialNumber, "Serial number"}};
    qxzeva::Ref<IkcSysPropertyBag> bag;
    HRESULT result =
        expert->lpVtbl->GetPropertiesOfItem(expert, qxzeva::ToUtf16(itemName).data(), bag.put());
    for (const auto& property : shown) {
        if (QX_FAILED(result))
            break;
        qxzeva::WideString value;
        result = bag->lpVtbl->GetStringProperty(bag.get(), property.tag, value.put());
        if (result == S_OK)
            std::printf("%-14s%s\n", property.label, value.utf8().c_str());
    }
    return result;
}

// Lists the item names and shows the first item.
HRESULT ListBoards(IkcSysExpert2* expert) {
    qxzeva::Ref<IkcSysEnumStringList> names;
    HRESULT result = expert->lpVtbl->SearchForItemNames(expert, names.put());
    if (result != S_OK) // S_FALSE: no boards, and no enumerator
        return result;
    std::printf("Items\n");
    std::string first;
    for (;;) {
        qxzeva::WideString name;
        std::uint32_t fetched = 0;
        if (names->lpVtbl->Next(names.get(), 1, name.put(), &fetched) != S_OK || fetched != 1)
            break;
        std::printf("  %s\n", name.utf8().c_str());
        if (first.empty())
            first = name.utf8();
    }
    return first.empty() ? S_OK : ShowBoard(expert, first);
}

HRESULT Report(IkcSysExpert2* expert) {
    qxzeva::WideString version;
    HRESULT result = expert->lpVtbl->GetProductVersion(expert, version.put());
    if (QX_FAILED(result))
        return result;
    std::printf("Product version %s (package %s)\n", version.utf8().c_str(), QXZEVA_VERSION_STRING);

    // Initialize asks the driver once; S_FALSE means it did not answer.
    result = expert->lpVtbl->Initialize(expert);
    if (result != S_OK)
        return QX_FAILED(result) ? result : E_FAIL;
    result = ListBoards(expert);
    if (QX_SUCCEEDED(result)) {
        BoardCollection collection;
        std::printf("Every board\n");
        result = expert->lpVtbl->SearchForItemsAndProperties(expert, &collection);
        std::printf("%d boards reported\n", collection.boards);
    }
    expert->lpVtbl->Finalize(expert);
    return result;
}

struct ModuleUnloader {
    void operator()(qx_module* module) const { qxUnloadModule(module); }
};

} // namespace

int main() {
    // No path is compiled in: the loader knows where the package put the module.
    char path[4096];
    if (qxInstalledModulePath(path, sizeof path) < 0) {
        std::fprintf(stderr, "cannot tell where the module is installed\n");
        return 1;
    }
    char error[512];
    qx_load_status status = QX_LOAD_OK;
    const std::unique_ptr<qx_module, ModuleUnloader> module(
        qxLoadModule(path, &status, error, sizeof error));
    if (!module) {
        std::fprintf(stderr, "%s\n", error);
        return 1;
    }
    const auto create =
        qxzeva::ModuleFunction<qxCreateExpertFunction>(module.get(), QX_FACTORY_SYMBOL);

    HRESULT result = E_FAIL;
    {
        // Released at the end of this block, before the module is unloaded.
        qxzeva::Ref<IUnknown> object;
        if (create != nullptr)
            result = create(object.put_void());
        // Ask for the interface this host speaks rather than trust the pointer's type.
        qxzeva::Ref<IkcSysExpert2> expert;
        if (QX_SUCCEEDED(result))
            expert = object.as<IkcSysExpert2>(&result);
        if (QX_SUCCEEDED(result))
            result = Report(expert.get());
    }
    if (QX_FAILED(result)) {
        const char* name = qxzeva::HResultName(result);
        std::fprintf(stderr, "failed: %s (0x%08X)\n", name != nullptr ? name : "HRESULT",
                     static_cast<unsigned>(result));
    }
    return QX_SUCCEEDED(result) ? 0 : 1;
}
