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
#include <sched.h>
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
// copied is null with S_OK (read or stored), a null item name is not tested either, an item
// name finds the first record of that name without regard to case, and the search passes
// over a setter that fails.
#define QX_FAULT_literal_contract 14
#define QX_FAULT_count_not_atomic 15 // the expert's count is read and written back, unlocked
#define QX_FAULT_leak_next 16        // the names' Next of several keeps a block when one fails
#define QX_FAULT_factory_null_out 17 // the factory takes a null out-pointer with S_OK
#define QX_FAULT_ask_null_out 18     // QueryInterface(iid, null) gives E_NOINTERFACE
#define QX_FAULT_product_id_null 19  // GetProductID(null) gives S_OK
#define QX_FAULT_finalize_drops 20   // after Finalize the expert lists no names
#define QX_FAULT_batch_release 21    // ReleaseBatchLock without the lock gives S_OK
#define QX_FAULT_double_rounded 22   // a double is stored rounded to a float
#define QX_FAULT_clear_changed 23    // ClearChangedTags gives S_OK with nothing changed
#define QX_FAULT_has_absent 24       // HasProperty gives S_OK for an absent tag
#define QX_FAULT_clone_leak 25       // a bag's Clone keeps a block when memory runs out
#define QX_FAULT_report_leak 26      // the search keeps a block when memory runs out
#define QX_FAULT_skip_past_end 27    // the names' Skip past the end gives S_OK
#define QX_FAULT_clone_from_start 28 // a clone of the names starts over
#define QX_FAULT_version_record 29   // the version record's entry has no '='
#define QX_FAULT_load_leak 30        // every load keeps a block
#define QX_FAULT_validate_changes 31 // ValidatePropertyChanges gives E_FAIL, not E_NOTIMPL
#define QX_FAULT_unknown_kept 32     // an unknown identifier leaves the out-value as it was
#define QX_FAULT_own_unknown 33      // IkcSysExpertPlugPlay answers IUnknown with itself
#define QX_FAULT_failure_ignored 34  // the search goes on after the collection fails
#define QX_FAULT_version_hidden 35   // the version-record function is not exported
#define QX_FAULT_bag_lent_twice 36   // the search lends each bag with a second reference
#define QX_FAULT_names_borrowed 37   // the names' Next finds nothing once the expert is gone
#define QX_FAULT_shared_setter 38    // the unsigned setter passes through one unlocked variable
#define QX_FAULT_destructor_crash 39 // a static destructor dies of SIGSEGV

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

[[maybe_unused]] HRESULT AskWithoutEPointer(IkcSysExpert2* self, const _GUID* iid, void** out) {
    return out == nullptr ? E_NOINTERFACE : g_realExpert->QueryInterface(self, iid, out);
}

[[maybe_unused]] HRESULT ChangesFailing(IkcSysExpert2* self, const QX_WCHAR* name,
                                        IkcSysPropertyBag2* bag, IkcSysEnumPropertyTag** tags,
                                        QX_WCHAR** message) {
    const HRESULT result = g_realExpert->ValidatePropertyChanges(self, name, bag, tags, message);
    return result == E_NOTIMPL ? E_FAIL : result;
}

[[maybe_unused]] HRESULT AskKeepingOut(IkcSysExpert2* self, const _GUID* iid, void** out) {
    void* before = out != nullptr ? *out : nullptr;
    const HRESULT result = g_realExpert->QueryInterface(self, iid, out);
    if (result == E_NOINTERFACE && out != nullptr)
        *out = before;
    return result;
}

[[maybe_unused]] HRESULT AskUnknownOwn(IkcSysExpertPlugPlay* self, const _GUID* iid, void** out) {
    if (out != nullptr && iid != nullptr && qxSameGuid(iid, &IID_IUnknown)) {
        g_realPlugPlay->AddRef(self);
        *out = self;
        return S_OK;
    }
    return g_realPlugPlay->QueryInterface(self, iid, out);
}

// The host's collection seen through one that makes every failure of AddPropertyBag a success.
struct Ignoring {
    IkcSysPropertyBagCollection face; // first: the pointer handed to the module
    IkcSysPropertyBagCollection* host;
};

IkcSysPropertyBagCollection* HostOf(IkcSysPropertyBagCollection* self) {
    return reinterpret_cast<Ignoring*>(self)->host;
}

[[maybe_unused]] HRESULT IgnoringAsk(IkcSysPropertyBagCollection* self, const _GUID* iid,
                                     void** out) {
    return HostOf(self)->lpVtbl->QueryInterface(HostOf(self), iid, out);
}
[[maybe_unused]] int32_t IgnoringAddRef(IkcSysPropertyBagCollection* self) {
    return HostOf(self)->lpVtbl->AddRef(HostOf(self));
}
[[maybe_unused]] int32_t IgnoringRelease(IkcSysPropertyBagCollection* self) {
    return HostOf(self)->lpVtbl->Release(HostOf(self));
}
[[maybe_unused]] HRESULT IgnoringAdd(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag) {
    const HRESULT result = HostOf(self)->lpVtbl->AddPropertyBag(HostOf(self), bag);
    return result < 0 ? S_OK : result;
}
// Lends each bag with a reference of the search's own besides the expert's.
[[maybe_unused]] HRESULT LendingTwice(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag) {
    bag->lpVtbl->AddRef(bag);
    const HRESULT result = HostOf(self)->lpVtbl->AddPropertyBag(HostOf(self), bag);
    bag->lpVtbl->Release(bag);
    return result;
}

[[maybe_unused]] HRESULT SearchIgnoringFailures(IkcSysExpert2* self,
                                                IkcSysPropertyBagCollection* collection) {
    if (collection == nullptr)
        return g_realExpert->SearchForItemsAndProperties(self, collection);
#if QX_FAULT == QX_FAULT_bag_lent_twice
    static const IkcSysPropertyBagCollectionVtbl k_table = {IgnoringAsk, IgnoringAddRef,
                                                            IgnoringRelease, LendingTwice};
#else
    static const IkcSysPropertyBagCollectionVtbl k_table = {IgnoringAsk, IgnoringAddRef,
                                                            IgnoringRelease, IgnoringAdd};
#endif
    Ignoring ignoring{{&k_table}, collection};
    return g_realExpert->SearchForItemsAndProperties(self, &ignoring.face);
}

[[maybe_unused]] HRESULT ProductIdWithoutEPointer(IkcSysExpert2* self, _GUID* id) {
    return id == nullptr ? S_OK : g_realExpert->GetProductID(self, id);
}

bool g_finalized = false;
[[maybe_unused]] HRESULT FinalizeMarking(IkcSysExpert2* self) {
    g_finalized = true;
    return g_realExpert->Finalize(self);
}
[[maybe_unused]] HRESULT InitializeClearing(IkcSysExpert2* self) {
    g_finalized = false;
    return g_realExpert->Initialize(self);
}
[[maybe_unused]] HRESULT NamesDroppedAfterFinalize(IkcSysExpert2* self,
                                                   IkcSysEnumStringList** names) {
    if (!g_finalized || names == nullptr)
        return g_realExpert->SearchForItemNames(self, names);
    *names = nullptr;
    return S_FALSE;
}

[[maybe_unused]] HRESULT ReleaseBatchAlways(IkcSysPropertyBag3* self) {
    const HRESULT result = g_realBag->ReleaseBatchLock(self);
    return result == E_FAIL ? S_OK : result;
}

[[maybe_unused]] HRESULT DoubleRounded(IkcSysPropertyBag3* self, std::uint32_t tag, double value) {
    return g_realBag->SetDoubleProperty(self, tag, static_cast<double>(static_cast<float>(value)));
}

[[maybe_unused]] HRESULT ClearAlwaysChanged(IkcSysPropertyBag3* self) {
    const HRESULT result = g_realBag->ClearChangedTags(self);
    return result == S_FALSE ? S_OK : result;
}

[[maybe_unused]] HRESULT HasEverything(IkcSysPropertyBag3* self, std::uint32_t tag) {
    const HRESULT result = g_realBag->HasProperty(self, tag);
    return result == S_FALSE ? S_OK : result;
}

// Where the leaking faults keep their block, so that the compiler cannot leave it out.
void* volatile g_scratch = nullptr;

[[maybe_unused]] HRESULT CloneLeaking(IkcSysPropertyBag3* self, IkcSysPropertyBag** copy) {
    void* scratch = std::malloc(16);
    g_scratch = scratch;
    const HRESULT result = g_realBag->Clone(self, copy);
    if (result != E_OUTOFMEMORY)
        std::free(scratch);
    return result;
}

[[maybe_unused]] HRESULT SearchLeaking(IkcSysExpert2* self,
                                       IkcSysPropertyBagCollection* collection) {
    void* scratch = std::malloc(16);
    g_scratch = scratch;
    const HRESULT result = g_realExpert->SearchForItemsAndProperties(self, collection);
    if (result != E_OUTOFMEMORY)
        std::free(scratch);
    return result;
}

// As a name enumerator that reads the expert's list instead of a copy of its own.
bool g_expertGone = false;
[[maybe_unused]] int32_t ExpertReleaseMarking(IkcSysExpert2* self) {
    const int32_t count = g_realExpert->Release(self);
    g_expertGone = g_expertGone || count == 0;
    return count;
}
[[maybe_unused]] HRESULT NextNeedingExpert(IkcSysEnumStringList* self, std::uint32_t wanted,
                                           QX_WCHAR** names, std::uint32_t* fetched) {
    if (!g_expertGone)
        return g_realNames->Next(self, wanted, names, fetched);
    if (fetched != nullptr)
        *fetched = 0;
    return S_FALSE;
}

// The tag and value wait in one variable shared by every caller, unlocked, as the call yields.
volatile std::uint32_t g_pendingTag = 0;
volatile std::uint32_t g_pendingValue = 0;
[[maybe_unused]] HRESULT UnsignedThroughShared(IkcSysPropertyBag3* self, std::uint32_t tag,
                                               std::uint32_t value) {
    g_pendingTag = tag;
    g_pendingValue = value;
    sched_yield();
    return g_realBag->SetUnsignedIntegerProperty(self, g_pendingTag, g_pendingValue);
}

[[maybe_unused]] HRESULT SkipWithoutEnd(IkcSysEnumStringList* self, std::uint32_t count) {
    const HRESULT result = g_realNames->Skip(self, count);
    return result == S_FALSE ? S_OK : result;
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
#elif QX_FAULT == QX_FAULT_batch_release
        g_bag.table.ReleaseBatchLock = ReleaseBatchAlways;
#elif QX_FAULT == QX_FAULT_double_rounded
        g_bag.table.SetDoubleProperty = DoubleRounded;
#elif QX_FAULT == QX_FAULT_clear_changed
        g_bag.table.ClearChangedTags = ClearAlwaysChanged;
#elif QX_FAULT == QX_FAULT_has_absent
        g_bag.table.HasProperty = HasEverything;
#elif QX_FAULT == QX_FAULT_clone_leak
        g_bag.table.Clone = CloneLeaking;
#elif QX_FAULT == QX_FAULT_shared_setter
        g_bag.table.SetUnsignedIntegerProperty = UnsignedThroughShared;
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

// Whether two names are the same without regard to case, as the contract's lookup compares
// them: ASCII letters upper-cased, unit by unit, the lengths equal.
[[maybe_unused]] bool SameNoCase(const QX_WCHAR* a, const QX_WCHAR* b) {
    const auto upper = [](QX_WCHAR unit) {
        return unit >= 'a' && unit <= 'z' ? static_cast<QX_WCHAR>(unit - 'a' + 'A') : unit;
    };
    for (; *a != 0 && *b != 0; ++a, ++b)
        if (upper(*a) != upper(*b))
            return false;
    return *a == *b;
}

// The first listed name the same as name without regard to case, copied into first: the name
// of the record the contract's lookup finds (name itself when none is). A failure to read the
// list (memory running out) is returned.
constexpr std::size_t k_nameUnits = 512;
[[maybe_unused]] HRESULT FirstOfName(IkcSysExpert2* self, const QX_WCHAR* name,
                                     QX_WCHAR (&first)[k_nameUnits]) {
    const auto copy = [&](const QX_WCHAR* from) {
        std::size_t i = 0;
        for (; i + 1 < k_nameUnits && from[i] != 0; ++i)
            first[i] = from[i];
        first[i] = 0;
    };
    copy(name);
    IkcSysEnumStringList* list = nullptr;
    HRESULT result = g_realExpert->SearchForItemNames(self, &list);
    for (bool found = false; result >= 0 && list != nullptr && !found;) {
        QX_WCHAR* listed = nullptr;
        std::uint32_t fetched = 0;
        result = list->lpVtbl->Next(list, 1, &listed, &fetched);
        found = result == S_OK && fetched == 1 && SameNoCase(listed, name);
        if (found)
            copy(listed);
        qxFreeWideString(listed);
        if (result != S_OK)
            break;
    }
    if (list != nullptr)
        list->lpVtbl->Release(list);
    return result < 0 ? result : S_OK;
}

// The name is read before anything else, untested, as the lookup compares it; the item is the
// first record of that name without regard to case, its name tags holding the name asked.
[[maybe_unused]] HRESULT NameUntested(IkcSysExpert2* self, const QX_WCHAR* name,
                                      IkcSysPropertyBag** bag) {
    volatile QX_WCHAR initial = name[0];
    (void)initial;
    if (bag == nullptr)
        return BagPatching(self, name, bag);
    *bag = nullptr;
    QX_WCHAR first[k_nameUnits];
    const HRESULT found = FirstOfName(self, name, first);
    if (found < 0)
        return found;
    const HRESULT result = BagPatching(self, first, bag);
    std::size_t same = 0;
    while (first[same] != 0 && first[same] == name[same])
        ++same;
    if (result != S_OK || first[same] == name[same])
        return result;
    auto* filled = reinterpret_cast<IkcSysPropertyBag3*>(*bag);
    // A failing setter is passed over: the tag is left out, as from a bag filled afresh.
    for (const std::uint32_t tag : {0x0101D000u, 0x0101F000u})
        if (g_realBag->SetStringProperty(filled, tag, name) < 0)
            g_realBag->DeleteProperty(filled, tag);
    return result;
}

// The contract's search: each listed name's bag, as GetPropertiesOfItem gives it, handed to
// the collection; a setter that fails for want of memory is passed over, its tag left out.
// Each of the 22 setters is given a block of its own to fail, so that the sweeps reach it.
[[maybe_unused]] void PassOverFailingSetters(IkcSysPropertyBag* bag) {
#define QX_LITERAL_TAG(constant, tag, type, ...) tag,
    static const std::uint32_t k_tags[] = {QXZEVA_PROPERTY_TABLE(QX_LITERAL_TAG)};
#undef QX_LITERAL_TAG
    for (const std::uint32_t tag : k_tags) {
        void* block = std::malloc(16);
        g_scratch = block;
        if (block == nullptr)
            g_realBag->DeleteProperty(reinterpret_cast<IkcSysPropertyBag3*>(bag), tag);
        std::free(block);
    }
}

[[maybe_unused]] HRESULT LiteralSearch(IkcSysExpert2* self,
                                       IkcSysPropertyBagCollection* collection) {
    if (collection == nullptr)
        return E_POINTER;
    IkcSysEnumStringList* list = nullptr;
    HRESULT result = g_realExpert->SearchForItemNames(self, &list);
    bool added = false;
    while (result >= 0 && list != nullptr) {
        QX_WCHAR* name = nullptr;
        std::uint32_t fetched = 0;
        const HRESULT next = list->lpVtbl->Next(list, 1, &name, &fetched);
        if (next != S_OK || fetched != 1) {
            qxFreeWideString(name);
            result = next < 0 ? next : S_OK;
            break;
        }
        IkcSysPropertyBag* bag = nullptr;
        result = NameUntested(self, name, &bag);
        qxFreeWideString(name);
        if (result < 0)
            break;
        PassOverFailingSetters(bag);
        result = collection->lpVtbl->AddPropertyBag(collection, bag);
        bag->lpVtbl->Release(bag);
        added = added || result >= 0;
    }
    if (list != nullptr)
        list->lpVtbl->Release(list);
    return result < 0 ? result : added ? S_OK : S_FALSE;
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
    if (result == S_OK && copy != nullptr && *copy != nullptr) {
        (*copy)->lpVtbl = &g_names.table;
#if QX_FAULT == QX_FAULT_clone_from_start
        g_realNames->Reset(*copy);
#endif
    }
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
        g_names.table.Clone = NamesCloning;
#if QX_FAULT == QX_FAULT_leak_next
        g_names.table.Next = NextLeaking;
#elif QX_FAULT == QX_FAULT_skip_past_end
        g_names.table.Skip = SkipWithoutEnd;
#elif QX_FAULT == QX_FAULT_clone_from_start
#elif QX_FAULT == QX_FAULT_names_borrowed
        g_names.table.Next = NextNeedingExpert;
#else
        g_names.table.Next = NextWithoutEnd;
#endif
    }
    (*names)->lpVtbl = &g_names.table;
    return result;
}

void Patch(IkcSysExpert2* expert) {
    g_expertGone = false;
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
#elif QX_FAULT == QX_FAULT_enum_end || QX_FAULT == QX_FAULT_leak_next ||                           \
    QX_FAULT == QX_FAULT_skip_past_end || QX_FAULT == QX_FAULT_clone_from_start
        g_expert.table.SearchForItemNames = NamesPatching;
#elif QX_FAULT == QX_FAULT_ask_null_out
        g_expert.table.QueryInterface = AskWithoutEPointer;
#elif QX_FAULT == QX_FAULT_product_id_null
        g_expert.table.GetProductID = ProductIdWithoutEPointer;
#elif QX_FAULT == QX_FAULT_failure_ignored || QX_FAULT == QX_FAULT_bag_lent_twice
        g_expert.table.SearchForItemsAndProperties = SearchIgnoringFailures;
#elif QX_FAULT == QX_FAULT_names_borrowed
        g_expert.table.SearchForItemNames = NamesPatching;
        g_expert.table.Release = ExpertReleaseMarking;
#elif QX_FAULT == QX_FAULT_validate_changes
        g_expert.table.ValidatePropertyChanges = ChangesFailing;
#elif QX_FAULT == QX_FAULT_unknown_kept
        g_expert.table.QueryInterface = AskKeepingOut;
#elif QX_FAULT == QX_FAULT_own_unknown
        g_plugPlay.table.QueryInterface = AskUnknownOwn;
#elif QX_FAULT == QX_FAULT_finalize_drops
        g_expert.table.Finalize = FinalizeMarking;
        g_expert.table.Initialize = InitializeClearing;
        g_expert.table.SearchForItemNames = NamesDroppedAfterFinalize;
#elif QX_FAULT == QX_FAULT_batch_release || QX_FAULT == QX_FAULT_double_rounded ||                 \
    QX_FAULT == QX_FAULT_clear_changed || QX_FAULT == QX_FAULT_has_absent ||                       \
    QX_FAULT == QX_FAULT_clone_leak || QX_FAULT == QX_FAULT_shared_setter
        g_expert.table.GetPropertiesOfItem = BagPatching;
#elif QX_FAULT == QX_FAULT_report_leak
        g_expert.table.SearchForItemsAndProperties = SearchLeaking;
#elif QX_FAULT == QX_FAULT_factory_null_out || QX_FAULT == QX_FAULT_version_record ||              \
    QX_FAULT == QX_FAULT_load_leak || QX_FAULT == QX_FAULT_version_hidden
#elif QX_FAULT == QX_FAULT_wrong_value
        g_expert.table.GetPropertiesOfItem = ItemSpoiling;
#elif QX_FAULT == QX_FAULT_literal_contract
        g_expert.table.GetPropertiesOfItem = NameUntested;
        g_expert.table.SearchForItemsAndProperties = LiteralSearch;
#elif QX_FAULT == QX_FAULT_count_not_atomic
        g_expert.table.AddRef = ExpertAddRefPlain;
        g_expert.table.Release = ExpertReleasePlain;
        g_plugPlay.table.AddRef = PlugPlayAddRefPlain;
        g_plugPlay.table.Release = PlugPlayReleasePlain;
#elif QX_FAULT == QX_FAULT_constructor_crash || QX_FAULT == QX_FAULT_destructor_crash
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

void* volatile g_kept = nullptr;

void LoadReal() {
#if QX_FAULT == QX_FAULT_constructor_crash
    std::raise(SIGSEGV);
#elif QX_FAULT == QX_FAULT_load_leak
    g_kept = std::malloc(32);
#endif
    g_real = qxLoadModule(QX_REAL_MODULE, nullptr, nullptr, 0);
}
void UnloadReal() {
#if QX_FAULT == QX_FAULT_destructor_crash
    std::raise(SIGSEGV);
#endif
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
#if QX_FAULT == QX_FAULT_factory_null_out
    if (expert == nullptr)
        return S_OK;
#endif
    const auto factory =
        reinterpret_cast<qxCreateExpertFunction>(qxModuleFunction(g_real, QX_FACTORY_SYMBOL));
    const HRESULT result = factory(expert);
    if (result == S_OK)
        Patch(static_cast<IkcSysExpert2*>(*expert));
    return result;
}

#if QX_FAULT != QX_FAULT_version_hidden
const char* const* nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray();
const char* const* nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray() {
#if QX_FAULT == QX_FAULT_version_record
    static const char* const k_record[] = {"a version without its key", nullptr};
    return k_record;
#endif
    return reinterpret_cast<qxVersionArrayFunction>(qxModuleFunction(g_real, QX_VERSION_SYMBOL))();
}
#endif

} // extern "C"
