// A host written in C++: loads the expert module, asks it which image-acquisition boards the
// image driver knows, reads a few properties of the first one and has every board's property
// bag handed to a small collection of its own. Operations are methods of the C++ view's
// interfaces; every reference and string the module hands out is held by qxzeva::Ref or
// qxzeva::WideString, which give it back.
//
// Build against the installed package with the CMakeLists.txt beside this file:
//     cmake -S . -B build -DCMAKE_PREFIX_PATH=<prefix> && cmake --build build
// The module is found where the package installed it, or where QXZEVA_MODULE says.
#include "qxzeva/module_loader.h" // qxInstalledModulePath, qxLoadModule, qxUnloadModule
#include "qxzeva/qxzeva_cxx.h"    // the interfaces as classes, results, identifiers and tags
#include "qxzeva/qxzeva_host.h"   // Ref, WideString, CreateExpert, text, QXZEVA_VERSION_STRING
#include "qxzeva/zevadriver/zevadriver_control.h" // zevadriverLastDescriptionError

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The collection SearchForItemsAndProperties hands each item's bag to. It lives on the
// caller's stack, so its counts are nominal.
class BoardCollection final : public IkcSysPropertyBagCollection {
public:
    HRESULT QueryInterface(const _GUID& iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = qxzeva::SameGuid(iid, IID_IUnknown) ? this : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    std::int32_t AddRef() override { return 2; }
    std::int32_t Release() override { return 1; }
    // Each bag is lent for this call only: read it now, or hold it in a Ref (copying a Ref
    // takes a reference) to keep it.
    HRESULT AddPropertyBag(IkcSysPropertyBag* bag) override {
        qxzeva::WideString name;
        std::uint32_t bus = 0;
        if (bag->GetStringProperty(kcSysTagItemName, name.put()) == S_OK &&
            bag->GetUnsignedIntegerProperty(kcSysTagPciBus, &bus) == S_OK)
            std::printf("  %s on PCI bus %u\n", name.utf8().c_str(), static_cast<unsigned>(bus));
        ++boards;
        return S_OK;
    }

    int boards = 0;
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
    HRESULT result = expert->GetPropertiesOfItem(qxzeva::ToUtf16(itemName).data(), bag.put());
    for (const auto& property : shown) {
        if (QX_FAILED(result))
            break;
        qxzeva::WideString value;
        result = bag->GetStringProperty(property.tag, value.put());
        if (result == S_OK)
            std::printf("%-14s%s\n", property.label, value.utf8().c_str());
    }
    return result;
}

// Lists the item names and shows the first item.
HRESULT ListBoards(IkcSysExpert2* expert) {
    qxzeva::Ref<IkcSysEnumStringList> names;
    HRESULT result = expert->SearchForItemNames(names.put());
    if (result != S_OK) // S_FALSE: no boards, and no enumerator
        return result;
    std::printf("Items\n");
    std::string first;
    for (;;) {
        qxzeva::WideString name;
        std::uint32_t fetched = 0;
        if (names->Next(1, name.put(), &fetched) != S_OK || fetched != 1)
            break;
        std::printf("  %s\n", name.utf8().c_str());
        if (first.empty())
            first = name.utf8();
    }
    return first.empty() ? S_OK : ShowBoard(expert, first);
}

HRESULT Report(IkcSysExpert2* expert) {
    qxzeva::WideString version;
    HRESULT result = expert->GetProductVersion(version.put());
    if (QX_FAILED(result))
        return result;
    std::printf("Product version %s (package %s)\n", version.utf8().c_str(), QXZEVA_VERSION_STRING);

    // Initialize asks the driver once. S_FALSE, a success code to QX_SUCCEEDED, means the
    // driver did not answer: the simulated driver then says why, when it refused its board
    // description.
    result = expert->Initialize();
    if (result == S_FALSE) {
        const char* reason = zevadriverLastDescriptionError();
        std::fprintf(stderr, "the image driver did not answer%s%s\n", reason ? ": " : "",
                     reason ? reason : "");
        return result;
    }
    if (result != S_OK)
        return result;
    result = ListBoards(expert);
    if (QX_SUCCEEDED(result)) {
        BoardCollection collection;
        std::printf("Every board\n");
        result = expert->SearchForItemsAndProperties(&collection);
        std::printf("%d boards reported\n", collection.boards);
    }
    expert->Finalize();
    return QX_SUCCEEDED(result) ? S_OK : result; // S_FALSE here: no boards, which is fine
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
    HRESULT result = E_FAIL;
    {
        // Released at the end of this block, before the module is unloaded.
        qxzeva::Ref<IUnknown> object;
        result = qxzeva::CreateExpert(module.get(), object.put());
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
    return result == S_OK ? 0 : 1;
}
