// The module loaded, used and unloaded a thousand times in one process, as a host that loads
// it for each configuration pass would: every cycle gives the same report, and the heap and
// the resident size do not grow from one cycle to the next. Once through the loader, which
// runs the module's static tables itself, and once with a plain dlopen and dlclose, where
// the module must run them on its own.
#include "com/enuminterfaces.h"
#include "expert/expert_interfaces.h"
#include "keeping_collection.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/identifiers.h"
#include "test_helpers.h"

#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QX_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QX_UNDER_ASAN 1
#endif
#endif
#ifdef QX_UNDER_ASAN
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr int k_cycles = 1000;
constexpr int k_settledCycle = 100;
constexpr long k_heapTolerance = 2 * 1024;        // bytes
constexpr long k_residentTolerance = 1024 * 1024; // bytes

// Bytes the program has allocated and not freed.
long HeapInUse() {
#ifdef QX_UNDER_ASAN
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long>(mallinfo2().uordblks + mallinfo2().hblkhd);
#endif
}

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

std::string Narrow(const char16_t* text) {
    std::string out;
    for (; text != nullptr && *text != 0; ++text)
        out += *text < 0x80 ? static_cast<char>(*text) : '?';
    return out;
}

std::string TakeText(char16_t* text) {
    const std::string narrow = text == nullptr ? "<null>" : Narrow(text);
    FreeBoundaryString(text);
    return narrow;
}

// Every property of a bag as text, in tag order.
std::string BagText(IkcSysPropertyBag* bag) {
    std::string text;
    IkcSysEnumPropertyTag* tags = nullptr;
    if (bag->EnumProperties(&tags) != S_OK)
        return "no tags\n";
    std::uint32_t tag = 0;
    while (tags->Next(1, &tag, nullptr) == S_OK) {
        kcSysAttributeType type{};
        bag->GetPropertyType(tag, &type);
        char line[64];
        std::snprintf(line, sizeof line, "%08X type %d ", static_cast<unsigned>(tag), type);
        text += line;
        std::uint32_t number = 0;
        if (type == kcSysAttrTypeString) {
            char16_t* value = nullptr;
            bag->GetStringProperty(tag, &value);
            text += TakeText(value);
        } else if (type == kcSysAttrTypeUnsignedInteger) {
            bag->GetUnsignedIntegerProperty(tag, &number);
            text += std::to_string(number);
        } else if (type == kcSysAttrTypeInteger) {
            std::int32_t value = 0;
            bag->GetIntegerProperty(tag, &value);
            text += std::to_string(value);
        } else {
            int value = 0;
            bag->GetBooleanProperty(tag, &value);
            text += std::to_string(value);
        }
        text += '\n';
    }
    text += "references " + std::to_string(tags->Release()) + '\n';
    return text;
}

// The module mapped by the dynamic linker alone, with none of the loader's table runs.
class PlainModule {
public:
    PlainModule() : m_handle(dlopen(QX_MODULE_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~PlainModule() {
        if (m_handle != nullptr)
            dlclose(m_handle);
    }
    PlainModule(const PlainModule&) = delete;
    PlainModule& operator=(const PlainModule&) = delete;

    bool Loaded() const { return m_handle != nullptr; }
    LoadedModule::Factory factory() const {
        return reinterpret_cast<LoadedModule::Factory>(dlsym(m_handle, "createZEVASysapiExpert"));
    }

private:
    void* m_handle;
};

// One cycle: load, factory, Initialize, both searches, last Release, unload. Returns the
// report the host would build, with every result code and reference count in it.
template <class Module>
std::string Cycle() {
    std::string report;
    Module* module = new Module();
    if (!module->Loaded()) {
        delete module;
        return "not loaded";
    }
    void* pointer = nullptr;
    report += "factory " + std::to_string(module->factory()(&pointer)) + '\n';
    auto* expert = static_cast<IkcSysExpert2*>(pointer);
    char16_t* text = nullptr;
    const HRESULT named = expert->GetProductDisplayName(&text);
    report += "name " + std::to_string(named) + ' ' + TakeText(text) + '\n';
    const HRESULT versioned = expert->GetProductVersion(&text);
    report += "version " + std::to_string(versioned) + ' ' + TakeText(text) + '\n';
    report += "initialize " + std::to_string(expert->Initialize()) + '\n';

    IkcSysEnumStringList* names = nullptr;
    report += "names " + std::to_string(expert->SearchForItemNames(&names)) + '\n';
    char16_t* name = nullptr;
    while (names != nullptr && names->Next(1, &name, nullptr) == S_OK)
        report += "  " + TakeText(name) + '\n';
    if (names != nullptr)
        report += "names references " + std::to_string(names->Release()) + '\n';

    KeepingCollection collection;
    report += "search " + std::to_string(expert->SearchForItemsAndProperties(&collection)) + '\n';
    for (IkcSysPropertyBag* bag : collection.m_bags)
        report += BagText(bag);
    report += std::string("bags destroyed ") + (collection.ReleaseBags() ? "yes" : "no") + '\n';
    report += "collection references " + std::to_string(collection.m_count) + '\n';
    report += "expert references " + std::to_string(expert->Release()) + '\n';
    delete module; // runs _dtors and unmaps
    return report;
}

template <class Module>
void ExpectCyclesGiveOneReportAndNoGrowth() {
    zevadriverReset();
    const std::string first = Cycle<Module>();
    ASSERT_NE(first.find("search 0\n"), std::string::npos) << first;
    ASSERT_NE(first.find("expert references 0\n"), std::string::npos) << first;
    long heapSettled = 0;
    long residentSettled = 0;
    for (int cycle = 2; cycle <= k_cycles; ++cycle) {
        zevadriverClearLog();
        const std::string report = Cycle<Module>();
        ASSERT_EQ(report, first) << "cycle " << cycle;
        if (cycle == k_settledCycle) {
            heapSettled = HeapInUse();
            residentSettled = ResidentBytes();
        }
    }
    const long heapGrowth = HeapInUse() - heapSettled;
    const long residentGrowth = ResidentBytes() - residentSettled;
    std::printf("load cycles: %d, heap growth after cycle %d: %ld bytes, resident: %ld bytes\n",
                k_cycles, k_settledCycle, heapGrowth, residentGrowth);
    EXPECT_LE(heapGrowth, k_heapTolerance);
    // The sanitizer's quarantine keeps freed blocks resident on purpose, and qemu-user keeps
    // the code it translated for every mapping of the module: only a plain native run tells.
#if !defined(QX_UNDER_ASAN) && !defined(__powerpc__)
    EXPECT_LE(residentGrowth, k_residentTolerance);
#endif
    zevadriverReset();
}

} // namespace

TEST(ModuleLoadCycles, Thousand_load_use_unload_cycles_give_one_report_and_no_growth) {
    ExpectCyclesGiveOneReportAndNoGrowth<LoadedModule>();
}

TEST(ModuleLoadCycles, Plain_dlopen_and_dlclose_cycles_run_the_static_tables_too) {
    ExpectCyclesGiveOneReportAndNoGrowth<PlainModule>();
}
