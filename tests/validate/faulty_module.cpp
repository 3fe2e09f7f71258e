// A module with one fault, for the validator's tests: it loads the real module and hands out
// its expert with one operation replaced by a faulty one. The expert's table of operations
// (and the words the C++ runtime keeps before and after it) is copied once and the copy's slot
// replaced; each new expert's table pointer is then pointed at the copy. Which fault: the
// compile definition QX_FAULT, one of the QX_FAULT_... names below.
#include "qxzeva/module_loader.h"
#include "qxzeva/qxzeva_c.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unistd.h>

using namespace qxzeva::c;

#define QX_FAULT_asymmetric 1         // IkcSysExpertPlugPlay refuses IID_IkcSysExpert
#define QX_FAULT_no_e_pointer 2       // GetProductVersion(null) gives S_OK
#define QX_FAULT_block_length 3       // GetProgrammaticName's block counts one unit too many
#define QX_FAULT_leak 4               // GetProductDisplayName keeps a block when memory runs out
#define QX_FAULT_crash 5              // RenameAlias dies of SIGSEGV
#define QX_FAULT_hang 6               // RegisterNotificationCallback never returns
#define QX_FAULT_count_off_by_one 7   // the expert's AddRef returns one too many
#define QX_FAULT_unknown_item 8       // an unknown item name gives E_FAIL
#define QX_FAULT_type_mismatch 9      // a bag's SetIntegerProperty replaces another type
#define QX_FAULT_shallow_clone 10     // a bag's Clone hands out the bag itself
#define QX_FAULT_enum_end 11          // the name enumerator's Next says S_OK at the end
#define QX_FAULT_constructor_crash 12 // a static constructor dies of SIGSEGV
#define QX_FAULT_wrong_value 13       // an item's bag holds one wrong row, chosen at run time
// No fault: the module as the contract's text writes it where this project chose a stricter
// behaviour. The bag's getters do not test their out-pointers, a string that cannot be
// copied is null with S_OK (read or stored), and a null item name is not tested either.
#define QX_FAULT_literal_contract 14
#define QX_FAULT_count_not_atomic 15 // the expert's count is read and written back, unlocked
#define QX_FAULT_leak_next 16        // the names' Next of several keeps a block when one fails

namespace {

qx_module* g_real = nullptr;

// A copy of a table of operations with the runtime's words around it: virtual-base and
// top offsets before, the implementation's own virtual functions after.
template <class Table>
struct TableCopy {
    void* before[8];
    Table table;
    void* after[16];
};

TableCopy<IkcSysExpert2Vtbl> g_expert;
TableCopy<IkcSysExpertPlugPlayVtbl> g_plugPlay;
const IkcSysExpert2Vtbl* g_realExpert = nullptr;
const IkcSysExpertPlugPlayVtbl* g_realPlugPlay = nullptr;
TableCopy<IkcSysPropertyBag3Vtbl> g_bag;
TableCopy<IkcSysEnumStringListVtbl> g_names;
const IkcSysPropertyBag3Vtbl* g_realBag = nullptr;
const IkcSysEnumStringListVtbl* g_realNames = nullptr;

// Each build uses one of the faulty operations below.

// Word by word, as the words beyond the table belong to no object the sanitizers know.
template <class Table>
__attribute__((no_sanitize("address"))) void Copy(TableCopy<Table>& copy, const Table* table) {
    const auto* from = reinterpret_cast<void* const*>(table) - 8;
    auto** to = reinterpret_cast<void**>(&copy);
    for (std::size_t i = 0; i < sizeof copy / sizeof(void*); ++i)
        to[i] = from[i];
}

[[maybe_unused]] HRESULT AsymmetricAsk(IkcSysExpertPlugPlay* self, const _GUID* iid, void** out) {
    if (out != nullptr && iid != nullptr && qxSameGuid(iid, &IID_IkcSysExpert)) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    return g_realPlugPlay->QueryInterface(self, iid, out);
}

[[maybe_unused]] HRESULT VersionWithoutEPointer(IkcSysExpert2* self, QX_WCHAR** version) {
    return version == nullptr ? S_OK : g_realExpert->GetProductVersion(self, version);
}

[[maybe_unused]] HRESULT NameWithWrongLength(IkcSysExpert2* self, QX_WCHAR** name) {
    const HRESULT result = g_realExpert->GetProgrammaticName(self, name);
    if (result == S_OK && name != nullptr && *name != nullptr) {
        std::uint32_t units = qxWideStringLength(*name) + 1;
        std::memcpy(reinterpret_cast<unsigned char*>(*name) - sizeof units, &units, sizeof units);
    }
    return result;
}

[[maybe_unused]] HRESULT DisplayNameLeaking(IkcSysExpert2* self, QX_WCHAR** name) {
    if (name == nullptr)
        return g_realExpert->GetProductDisplayName(self, name);
    void* scratch = std::malloc(24);
    if (scratch == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT result = g_realExpert->GetProductDisplayName(self, name);
    if (result == S_OK)
        std::free(scratch);
    return result;
}

[[maybe_unused]] HRESULT RenameCrashing(IkcSysExpert2*, const QX_WCHAR*, const QX_WCHAR*, int32_t,
                                        int*, QX_WCHAR**) {
    std::raise(SIGSEGV);
    return E_NOTIMPL;
}

[[maybe_unused]] HRESULT RegisterHanging(IkcSysExpertPlugPlay*,
                                         IkcSysFrameworkNotificationHandler*) {
    for (;;)
        pause();
}

[[maybe_unused]] int32_t AddRefOffByOne(IkcSysExpert2* self) {
    return g_realExpert->AddRef(self) + 1;
}

// Counting as a count without the counting lock does: the expert's references, through any
// of its interfaces (QueryInterface counts through the table too), are counted here by a
// plain read and write, and the object's own count holds one reference for all of them,
// given back when this count reaches 0.
struct PlainCount {
    void* expert = nullptr;
    void* plugPlay = nullptr;
    volatile std::int32_t count = 0;
};
PlainCount g_plainCounts[256];
std::mutex g_plainSlots;

[[maybe_unused]] PlainCount* PlainCountOf(void* object) {
    for (PlainCount& plain : g_plainCounts)
        if (plain.expert == object || plain.plugPlay == object)
            return &plain;
    return nullptr;
}

[[maybe_unused]] void CountPlainly(IkcSysExpert2* expert, void* plugPlay) {
    const std::lock_guard<std::mutex> hold(g_plainSlots);
    for (PlainCount& plain : g_plainCounts)
        if (plain.expert == nullptr) {
            plain.count = 1;
            plain.plugPlay = plugPlay;
            plain.expert = expert;
            return;
        }
}

[[maybe_unused]] std::int32_t PlainAddRef(void* self) {
    PlainCount* plain = PlainCountOf(self);
    const std::int32_t seen = plain->count;
    plain->count = seen + 1;
    return seen + 1;
}

[[maybe_unused]] std::int32_t PlainRelease(void* self) {
    PlainCount* plain = PlainCountOf(self);
    const std::int32_t seen = plain->count;
    plain->count = seen - 1;
    if (seen - 1 == 0) {
        auto* expert = static_cast<IkcSysExpert2*>(plain->expert);
        {
            const std::lock_guard<std::mutex> hold(g_plainSlots);
            plain->expert = nullptr;
            plain->plugPlay = nullptr;
        }
        g_realExpert->Release(expert);
    }
    return seen - 1;
}

[[maybe_unused]] int32_t ExpertAddRefPlain(IkcSysExpert2* self) {
    return PlainAddRef(self);
}
[[maybe_unused]] int32_t ExpertReleasePlain(IkcSysExpert2* self) {
    return PlainRelease(self);
}
[[maybe_unused]] int32_t PlugPlayAddRefPlain(IkcSysExpertPlugPlay* self) {
    return PlainAddRef(self);
}
[[maybe_unused]] int32_t PlugPlayReleasePlain(IkcSysExpertPlugPlay* self) {
    return PlainRelease(self);
}
[[maybe_unused]] HRESULT UnknownItemFailing(IkcSysExpert2* self, const QX_WCHAR* name,
                                            IkcSysPropertyBag** bag) {
    const HRESULT result = g_realExpert->GetPropertiesOfItem(self, name, bag);
    return result == E_ITEM_NOT_FOUND ? E_FAIL : result;
}

[[maybe_unused]] HRESULT IntegerReplacing(IkcSysPropertyBag3* self, std::uint32_t tag,
                                          std::int32_t value) {
    kcSysAttributeType type = kcSysAttrTypeInteger;
    if (g_realBag->GetPropertyType(self, tag, &type) == S_OK && type != kcSysAttrTypeInteger)
        g_realBag->DeleteProperty(self, tag);
    return g_realBag->SetIntegerProperty(self, tag, value);
}

[[maybe_unused]] HRESULT CloneShallow(IkcSysPropertyBag3* self, IkcSysPropertyBag** copy) {
    if (copy == nullptr)
        return E_POINTER;
    g_realBag->AddRef(self);
    *copy = self;
    return S_OK;
}

[[maybe_unused]] HRESULT NextWithoutEnd(IkcSysEnumStringList* self, std::uint32_t wanted,
                                        QX_WCHAR** names, std::uint32_t* fetched) {
    const HRESULT result = g_realNames->Next(self, wanted, names, fetched);
    return result == S_FALSE ? S_OK : result;
}

// The row of the 22 to spoil, from QX_FAULTY_ROW: a number from 0 (that row's value changed,
// its type kept), "type" (the first row's type changed) or "extra" (a 23rd tag).
[[maybe_unused]] void Spoil(IkcSysPropertyBag* bag) {
    auto* b = reinterpret_cast<IkcSysPropertyBag3*>(bag);
    const char* choice = std::getenv("QX_FAULTY_ROW");
    if (choice == nullptr)
        return;
    const auto* v = b->lpVtbl;
    if (std::strcmp(choice, "extra") == 0) {
        v->SetIntegerProperty(b, 0x7E000099u, 1);
        return;
    }
    const std::uint32_t row =
        std::strcmp(choice, "type") == 0 ? 0 : std::strtoul(choice, nullptr, 10);
    // The rows in the order the module sets them, the installed table's.
#define QX_FAULTY_TAG(constant, tag, type, ...) tag,
    static const std::uint32_t k_order[] = {QXZEVA_PROPERTY_TABLE(QX_FAULTY_TAG)};
#undef QX_FAULTY_TAG
    const std::uint32_t tag = k_order[row % 22];
    kcSysAttributeType type = kcSysAttrTypeBoolean;
    v->GetPropertyType(b, tag, &type);
    if (std::strcmp(choice, "type") == 0) {
        v->DeleteProperty(b, tag);
        v->SetDoubleProperty(b, tag, 1.5);
        return;
    }
    switch (type) {
    case kcSysAttrTypeBoolean: {
        int value = 0;
        v->GetBooleanProperty(b, tag, &value);
        v->SetBooleanProperty(b, tag, value == 0 ? 1 : 0);
        break;
    }
    case kcSysAttrTypeInteger: {
        std::int32_t value = 0;
        v->GetIntegerProperty(b, tag, &value);
        v->SetIntegerProperty(b, tag, value + 1);
        break;
    }
    case kcSysAttrTypeUnsignedInteger: {
        std::uint32_t value = 0;
        v->GetUnsignedIntegerProperty(b, tag, &value);
        v->SetUnsignedIntegerProperty(b, tag, value + 1);
        break;
    }
    default:
        v->SetStringProperty(b, tag, reinterpret_cast<const QX_WCHAR*>(u"spoilt"));
        break;
    }
}

[[maybe_unused]] HRESULT ItemSpoiling(IkcSysExpert2* self, const QX_WCHAR* name,
                                      IkcSysPropertyBag** bag) {
    const HRESULT result = g_realExpert->GetPropertiesOfItem(self, name, bag);
    if (result == S_OK)
        Spoil(*bag);
    return result;
}

// The getters write through their out-pointers untested; a string copy that fails is null.
template <class T, HRESULT (*IkcSysPropertyBag3Vtbl::*Get)(IkcSysPropertyBag3*, std::uint32_t, T*)>
[[maybe_unused]] HRESULT Untested(IkcSysPropertyBag3* self, std::uint32_t tag, T* value) {
    T got{};
    const HRESULT result = (g_realBag->*Get)(self, tag, &got);
    if (result == S_OK)
        *value = got;
    return result;
}

[[maybe_unused]] HRESULT TypeUntested(IkcSysPropertyBag3* self, std::uint32_t tag,
                                      kcSysAttributeType* type) {
    kcSysAttributeType got = kcSysAttrTypeBoolean;
    const HRESULT result = g_realBag->GetPropertyType(self, tag, &got);
    if (result == S_OK)
        *type = got;
    return result;
}

[[maybe_unused]] HRESULT StringOrNull(IkcSysPropertyBag3* self, std::uint32_t tag,
                                      QX_WCHAR** value) {
    QX_WCHAR* got = nullptr;
    HRESULT result = g_realBag->GetStringProperty(self, tag, &got);
    if (result == E_OUTOFMEMORY)
        result = S_OK;
    *value = got;
    return result;
}

[[maybe_unused]] HRESULT StoreOrNull(IkcSysPropertyBag3* self, std::uint32_t tag,
                                     const QX_WCHAR* value) {
    const HRESULT result = g_realBag->SetStringProperty(self, tag, value);
    if (result != E_OUTOFMEMORY)
        return result;
    g_realBag->SetStringProperty(self, tag, nullptr);
    return S_OK;
}

[[maybe_unused]] HRESULT NameUntested(IkcSysExpert2* self, const QX_WCHAR* name,
                                      IkcSysPropertyBag** bag);

// Hands out the item's bag with its table replaced.
[[maybe_unused]] HRESULT BagPatching(IkcSysExpert2* self, const QX_WCHAR* name,
                                     IkcSysPropertyBag** bag) {
    const HRESULT result = g_realExpert->GetPropertiesOfItem(self, name, bag);
    if (result != S_OK)
        return result;
    if (g_realBag == nullptr) {
        g_realBag = (*bag)->lpVtbl;
        Copy(g_bag, g_realBag);
#if QX_FAULT == QX_FAULT_type_mismatch
        g_bag.table.SetIntegerProperty = IntegerReplacing;
#elif QX_FAULT == QX_FAULT_shallow_clone
        g_bag.table.Clone = CloneShallow;
#elif QX_FAULT == QX_FAULT_literal_contract
        auto& t = g_bag.table;
        t.GetPropertyType = TypeUntested;
        t.GetBooleanProperty = Untested<int, &IkcSysPropertyBag3Vtbl::GetBooleanProperty>;
        t.GetIntegerProperty = Untested<std::int32_t, &IkcSysPropertyBag3Vtbl::GetIntegerProperty>;
        t.GetUnsignedIntegerProperty =
            Untested<std::uint32_t, &IkcSysPropertyBag3Vtbl::GetUnsignedIntegerProperty>;
        t.GetDoubleProperty = Untested<double, &IkcSysPropertyBag3Vtbl::GetDoubleProperty>;
        t.GetGuidProperty = Untested<_GUID, &IkcSysPropertyBag3Vtbl::GetGuidProperty>;
        t.GetTimestampPropertyUTC =
            Untested<kcSysAttrTimestampUTC, &IkcSysPropertyBag3Vtbl::GetTimestampPropertyUTC>;
        t.GetStringProperty = StringOrNull;
        t.SetStringProperty = StoreOrNull;
#endif
    }
    (*bag)->lpVtbl = &g_bag.table;
    return result;
}

// The name is read before anything else, untested, as the lookup compares it.
[[maybe_unused]] HRESULT NameUntested(IkcSysExpert2* self, const QX_WCHAR* name,
                                      IkcSysPropertyBag** bag) {
    volatile QX_WCHAR first = name[0];
    (void)first;
    return BagPatching(self, name, bag);
}

[[maybe_unused]] HRESULT NextLeaking(IkcSysEnumStringList* self, std::uint32_t wanted,
                                     QX_WCHAR** names, std::uint32_t* fetched) {
    void* scratch = wanted > 1 ? std::malloc(16) : nullptr;
    const HRESULT result = g_realNames->Next(self, wanted, names, fetched);
    if (result != E_OUTOFMEMORY)
        std::free(scratch);
    return result;
}

// A clone of the name enumerator gets the replaced table too.
[[maybe_unused]] HRESULT NamesCloning(IkcSysEnumStringList* self, IkcSysEnumStringList** copy) {
    const HRESULT result = g_realNames->Clone(self, copy);
    if (result == S_OK && copy != nullptr && *copy != nullptr)
        (*copy)->lpVtbl = &g_names.table;
    return result;
}

// Hands out the name enumerator with its table replaced.
[[maybe_unused]] HRESULT NamesPatching(IkcSysExpert2* self, IkcSysEnumStringList** names) {
    const HRESULT result = g_realExpert->SearchForItemNames(self, names);
    if (result != S_OK)
        return result;
    if (g_realNames == nullptr) {
        g_realNames = (*names)->lpVtbl;
        Copy(g_names, g_realNames);
#if QX_FAULT == QX_FAULT_leak_next
        g_names.table.Next = NextLeaking;
        g_names.table.Clone = NamesCloning;
#else
        g_names.table.Next = NextWithoutEnd;
#endif
    }
    (*names)->lpVtbl = &g_names.table;
    return result;
}

void Patch(IkcSysExpert2* expert) {
    IkcSysExpertPlugPlay* plugPlay = nullptr;
    expert->lpVtbl->QueryInterface(expert, &IID_IkcSysExpertPlugPlay,
                                   reinterpret_cast<void**>(&plugPlay));
    if (g_realExpert == nullptr) {
        g_realExpert = expert->lpVtbl;
        Copy(g_expert, g_realExpert);
        g_realPlugPlay = plugPlay->lpVtbl;
        Copy(g_plugPlay, g_realPlugPlay);
#if QX_FAULT == QX_FAULT_asymmetric
        g_plugPlay.table.QueryInterface = AsymmetricAsk;
#elif QX_FAULT == QX_FAULT_no_e_pointer
        g_expert.table.GetProductVersion = VersionWithoutEPointer;
#elif QX_FAULT == QX_FAULT_block_length
        g_expert.table.GetProgrammaticName = NameWithWrongLength;
#elif QX_FAULT == QX_FAULT_leak
        g_expert.table.GetProductDisplayName = DisplayNameLeaking;
#elif QX_FAULT == QX_FAULT_crash
        g_expert.table.RenameAlias = RenameCrashing;
#elif QX_FAULT == QX_FAULT_hang
        g_plugPlay.table.RegisterNotificationCallback = RegisterHanging;
#elif QX_FAULT == QX_FAULT_count_off_by_one
        g_expert.table.AddRef = AddRefOffByOne;
#elif QX_FAULT == QX_FAULT_unknown_item
        g_expert.table.GetPropertiesOfItem = UnknownItemFailing;
#elif QX_FAULT == QX_FAULT_type_mismatch || QX_FAULT == QX_FAULT_shallow_clone
        g_expert.table.GetPropertiesOfItem = BagPatching;
#elif QX_FAULT == QX_FAULT_enum_end || QX_FAULT == QX_FAULT_leak_next
        g_expert.table.SearchForItemNames = NamesPatching;
#elif QX_FAULT == QX_FAULT_wrong_value
        g_expert.table.GetPropertiesOfItem = ItemSpoiling;
#elif QX_FAULT == QX_FAULT_literal_contract
        g_expert.table.GetPropertiesOfItem = NameUntested;
#elif QX_FAULT == QX_FAULT_count_not_atomic
        g_expert.table.AddRef = ExpertAddRefPlain;
        g_expert.table.Release = ExpertReleasePlain;
        g_plugPlay.table.AddRef = PlugPlayAddRefPlain;
        g_plugPlay.table.Release = PlugPlayReleasePlain;
#elif QX_FAULT == QX_FAULT_constructor_crash
#else
#error "QX_FAULT names no fault"
#endif
    }
    expert->lpVtbl = &g_expert.table;
    plugPlay->lpVtbl = &g_plugPlay.table;
    g_realPlugPlay->Release(plugPlay);
#if QX_FAULT == QX_FAULT_count_not_atomic
    CountPlainly(expert, plugPlay);
#endif
}

void LoadReal() {
#if QX_FAULT == QX_FAULT_constructor_crash
    std::raise(SIGSEGV);
#endif
    g_real = qxLoadModule(QX_REAL_MODULE, nullptr, nullptr, 0);
}
void UnloadReal() {
    qxUnloadModule(g_real);
    g_real = nullptr;
    g_realExpert = nullptr;
    g_realBag = nullptr;
    g_realNames = nullptr;
}

} // namespace

extern "C" {

using StaticFunction = void (*)();
extern StaticFunction _ctors[];
extern StaticFunction _dtors[];
StaticFunction _ctors[] = {LoadReal, nullptr};
StaticFunction _dtors[] = {UnloadReal, nullptr};

HRESULT createZEVASysapiExpert(void** expert);
HRESULT createZEVASysapiExpert(void** expert) {
    const auto factory =
        reinterpret_cast<qxCreateExpertFunction>(qxModuleFunction(g_real, QX_FACTORY_SYMBOL));
    const HRESULT result = factory(expert);
    if (result == S_OK)
        Patch(static_cast<IkcSysExpert2*>(*expert));
    return result;
}

const char* const* nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray();
const char* const* nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray() {
    return reinterpret_cast<qxVersionArrayFunction>(qxModuleFunction(g_real, QX_VERSION_SYMBOL))();
}

} // extern "C"
