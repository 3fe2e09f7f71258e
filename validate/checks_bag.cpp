// The property bag: typed values, presence and deletion, change tracking, cloning and the
// batch lock, on a bag the expert hands out.
#include "validate/alloc_interposer.h"
#include "validate/check.h"
#include "validate/checks.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace {

constexpr std::uint32_t k_tag = 0x7E000001u; // beyond every item tag

// One value type: how to store a value, read it back as text and what that text must be.
struct TypeRow {
    kcSysAttributeType type;
    const char* set; // the call, for messages
    HRESULT (*store)(IkcSysPropertyBag3* bag, std::uint32_t tag);
    const char* stored; // ExactText of the value stored
};

const _GUID k_guid = {0x12345678u, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
const kcSysAttrTimestampUTC k_time = {{0, 0xD8E1A2B3u, 0x80000000u, 1}};

const TypeRow k_types[] = {
    {kcSysAttrTypeBoolean, "SetBooleanProperty(tag, 7)",
     [](IkcSysPropertyBag3* b, std::uint32_t t) { return b->lpVtbl->SetBooleanProperty(b, t, 7); },
     "S_OK (0x00000000) 1"},
    {kcSysAttrTypeInteger, "SetIntegerProperty(tag, -2147483648)",
     [](IkcSysPropertyBag3* b, std::uint32_t t) {
         return b->lpVtbl->SetIntegerProperty(b, t, INT32_MIN);
     },
     "S_OK (0x00000000) -2147483648"},
    {kcSysAttrTypeUnsignedInteger, "SetUnsignedIntegerProperty(tag, 0xFFFFFFFE)",
     [](IkcSysPropertyBag3* b, std::uint32_t t) {
         return b->lpVtbl->SetUnsignedIntegerProperty(b, t, 0xFFFFFFFEu);
     },
     "S_OK (0x00000000) 0xFFFFFFFE"},
    {kcSysAttrTypeDouble, "SetDoubleProperty(tag, -1.25e-300)",
     [](IkcSysPropertyBag3* b, std::uint32_t t) {
         return b->lpVtbl->SetDoubleProperty(b, t, -1.25e-300);
     },
     "S_OK (0x00000000) -1.25e-300"},
    {kcSysAttrTypeGuid, "SetGuidProperty(tag, {12345678-9ABC-DEF0-0102-030405060708})",
     [](IkcSysPropertyBag3* b, std::uint32_t t) {
         return b->lpVtbl->SetGuidProperty(b, t, k_guid);
     },
     "S_OK (0x00000000) {12345678-9ABC-DEF0-0102-030405060708}"},
    {kcSysAttrTypeString, "SetStringProperty(tag, \"\\u00E9t\\u00E9 \\uD83D\\uDE00\")",
     [](IkcSysPropertyBag3* b, std::uint32_t t) {
         return b->lpVtbl->SetStringProperty(
             b, t, reinterpret_cast<const QX_WCHAR*>(u"\u00E9t\u00E9 \U0001F600"));
     },
     "S_OK (0x00000000) \"\\u00E9t\\u00E9 \\uD83D\\uDE00\""},
    {kcSysAttrTypeTimestampUTC, "SetTimestampPropertyUTC(tag, {0, 0xD8E1A2B3, 0x80000000, 1})",
     [](IkcSysPropertyBag3* b, std::uint32_t t) {
         return b->lpVtbl->SetTimestampPropertyUTC(b, t, &k_time);
     },
     "S_OK (0x00000000) {00000000 D8E1A2B3 80000000 00000001}"},
};

// The dump's entry for tag, without the other tags'.
std::string Entry(const std::string& dump, std::uint32_t tag) {
    const std::size_t start = dump.find(Hex(tag) + "=");
    if (start == std::string::npos)
        return "absent";
    const std::size_t value = start + Hex(tag).size() + 1;
    return dump.substr(value, dump.find("; ", value) - value);
}

bool Lists(const std::string& dump, std::uint32_t tag) {
    const std::size_t changed = dump.find("changed:");
    return dump.find(" " + Hex(tag), changed) != std::string::npos;
}

std::string Call(const char* operation) {
    return std::string("IkcSysPropertyBag3::") + operation;
}

} // namespace

void CheckBagRoundTrip(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    for (const TypeRow& row : k_types) {
        const std::uint32_t tag = k_tag + static_cast<std::uint32_t>(row.type);
        cx.Calling(Call(row.set));
        cx.ExpectResult(row.store(bag.get(), tag), S_OK, "a value of each type can be stored",
                        Call(row.set));
        kcSysAttributeType type = kcSysAttrTypeBoolean;
        cx.Calling(Call("GetPropertyType(tag, &type)"));
        const HRESULT result = bag->lpVtbl->GetPropertyType(bag.get(), tag, &type);
        cx.Expect(result == S_OK && type == row.type, "GetPropertyType gives the type stored",
                  Call("GetPropertyType(tag, &type)") + " after " + row.set,
                  ResultText(result) + ", type " + std::to_string(static_cast<int>(type)),
                  "S_OK, type " + std::to_string(static_cast<int>(row.type)));
        const std::string got = Entry(BagDump(cx, bag.get()), tag);
        cx.Expect(got == row.stored, "each of the seven types reads back as it was stored",
                  Call(row.set) + ", then its getter", got, row.stored);
    }
    const std::uint32_t tag = k_tag + 0x100;
    cx.Calling(Call("SetStringProperty(tag, null)"));
    bag->lpVtbl->SetStringProperty(bag.get(), tag, nullptr);
    QX_WCHAR* text = reinterpret_cast<QX_WCHAR*>(&cx);
    cx.Calling(Call("GetStringProperty(tag, &text)"));
    const HRESULT result = bag->lpVtbl->GetStringProperty(bag.get(), tag, &text);
    cx.Expect(result == S_OK && text == nullptr, "a null string is stored and read back as null",
              Call("SetStringProperty(tag, null), then GetStringProperty(tag, &text)"),
              ResultText(result) + ", " + (text == nullptr ? "null" : "not null"), "S_OK, null");
}

void CheckBagTypeMismatch(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    for (const TypeRow& held : k_types) {
        const std::uint32_t tag = k_tag + static_cast<std::uint32_t>(held.type);
        held.store(bag.get(), tag);
        const std::string before = Entry(BagDump(cx, bag.get()), tag);
        for (const TypeRow& other : k_types) {
            if (other.type == held.type)
                continue;
            const std::string call = Call(other.set) + " on a tag holding type " +
                                     std::to_string(static_cast<int>(held.type));
            cx.Calling(call);
            cx.ExpectResult(other.store(bag.get(), tag), E_PROPERTY_TYPE_MISMATCH,
                            "a Set of another type is refused", call);
            const std::string after = Entry(BagDump(cx, bag.get()), tag);
            cx.Expect(after == before, "a refused Set changes nothing", call, after, before);
        }
    }
}

void CheckBagPresence(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    const auto* v = bag->lpVtbl;
    const std::string rule = "HasProperty, GetPropertyType and DeleteProperty agree on what the "
                             "bag holds";
    k_types[1].store(bag.get(), k_tag);
    cx.Calling(Call("HasProperty(tag)"));
    cx.ExpectCall(
        Call("HasProperty(a tag held)"), [&] { return v->HasProperty(bag.get(), k_tag); }, S_OK,
        rule);
    cx.Calling(Call("DeleteProperty(tag)"));
    cx.ExpectCall(
        Call("DeleteProperty(a tag held)"), [&] { return v->DeleteProperty(bag.get(), k_tag); },
        S_OK, rule);
    cx.ExpectCall(
        Call("HasProperty(a deleted tag)"), [&] { return v->HasProperty(bag.get(), k_tag); },
        S_FALSE, rule);
    cx.ExpectCall(
        Call("DeleteProperty(a deleted tag)"), [&] { return v->DeleteProperty(bag.get(), k_tag); },
        E_PROPERTY_NOT_FOUND, rule);
    kcSysAttributeType type = static_cast<kcSysAttributeType>(99);
    cx.Calling(Call("GetPropertyType(a deleted tag, &type)"));
    const HRESULT result = v->GetPropertyType(bag.get(), k_tag, &type);
    cx.Expect(result == E_PROPERTY_NOT_FOUND && type == 99, rule,
              Call("GetPropertyType(a deleted tag, &type)"),
              ResultText(result) + (type == 99 ? "" : ", type written"),
              "E_PROPERTY_NOT_FOUND, type unwritten");
    Ref<IkcSysEnumPropertyTag> tags;
    cx.Calling(Call("EnumProperties(&tags)"));
    v->EnumProperties(bag.get(), tags.put());
    const std::vector<std::uint32_t> listed = TagsOf(cx, tags.get());
    bool ascending = true;
    for (std::size_t i = 1; i < listed.size(); ++i)
        ascending = ascending && listed[i - 1] < listed[i];
    cx.Expect(ascending && listed.size() >= ItemTags().size(),
              "EnumProperties lists every tag held, in ascending order",
              Call("EnumProperties(&tags)"),
              std::to_string(listed.size()) + (ascending ? " tags" : " tags, out of order"),
              "at least " + std::to_string(ItemTags().size()) + " tags, ascending");
    cx.Calling(Call("DeleteAllProperties()"));
    cx.ExpectCall(
        Call("DeleteAllProperties()"), [&] { return v->DeleteAllProperties(bag.get()); }, S_OK,
        rule);
    IkcSysEnumPropertyTag* none = reinterpret_cast<IkcSysEnumPropertyTag*>(&cx);
    cx.Calling(Call("EnumProperties(&tags) on an empty bag"));
    const HRESULT empty = v->EnumProperties(bag.get(), &none);
    cx.Expect(empty == S_FALSE && none == nullptr,
              "EnumProperties on an empty bag gives S_FALSE and null",
              Call("EnumProperties(&tags) after DeleteAllProperties()"),
              ResultText(empty) + (none == nullptr ? ", null" : ", not null"), "S_FALSE, null");
    cx.ExpectCall(
        Call("EnumProperties(null)"), [&] { return v->EnumProperties(bag.get(), nullptr); },
        E_POINTER, "EnumProperties refuses a null out-pointer");
}

void CheckBagGetterNullOut(CheckContext& cx) {
    cx.OnlyWhenStrict("a null out-pointer to GetPropertyType and the value getters");
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    IkcSysPropertyBag3* b = bag.get();
    for (const TypeRow& row : k_types)
        row.store(b, k_tag + static_cast<std::uint32_t>(row.type));
    const auto tagOf = [](kcSysAttributeType type) {
        return k_tag + static_cast<std::uint32_t>(type);
    };
    const std::pair<const char*, HRESULT (*)(IkcSysPropertyBag3*, std::uint32_t)> calls[] = {
        {"GetPropertyType(tag, null)",
         [](IkcSysPropertyBag3* g, std::uint32_t t) {
             return g->lpVtbl->GetPropertyType(g, t, nullptr);
         }},
        {"GetBooleanProperty(tag, null)",
         [](IkcSysPropertyBag3* g, std::uint32_t t) {
             return g->lpVtbl->GetBooleanProperty(g, t, nullptr);
         }},
        {"GetIntegerProperty(tag, null)",
         [](IkcSysPropertyBag3* g, std::uint32_t t) {
             return g->lpVtbl->GetIntegerProperty(g, t, nullptr);
         }},
        {"GetUnsignedIntegerProperty(tag, null)",
         [](IkcSysPropertyBag3* g, std::uint32_t t) {
             return g->lpVtbl->GetUnsignedIntegerProperty(g, t, nullptr);
         }},
        {"GetDoubleProperty(tag, null)",
         [](IkcSysPropertyBag3* g, std::uint32_t t) {
             return g->lpVtbl->GetDoubleProperty(g, t, nullptr);
         }},
        {"GetGuidProperty(tag, null)",
         [](IkcSysPropertyBag3* g, std::uint32_t t) {
             return g->lpVtbl->GetGuidProperty(g, t, nullptr);
         }},
        {"GetStringProperty(tag, null)",
         [](IkcSysPropertyBag3* g, std::uint32_t t) {
             return g->lpVtbl->GetStringProperty(g, t, nullptr);
         }},
        {"GetTimestampPropertyUTC(tag, null)",
         [](IkcSysPropertyBag3* g, std::uint32_t t) {
             return g->lpVtbl->GetTimestampPropertyUTC(g, t, nullptr);
         }},
    };
    // Each getter on a tag of its own type (GetPropertyType on the first), so that only the
    // null out-pointer can make it refuse.
    const kcSysAttributeType types[] = {kcSysAttrTypeBoolean, kcSysAttrTypeBoolean,
                                        kcSysAttrTypeInteger, kcSysAttrTypeUnsignedInteger,
                                        kcSysAttrTypeDouble,  kcSysAttrTypeGuid,
                                        kcSysAttrTypeString,  kcSysAttrTypeTimestampUTC};
    for (std::size_t i = 0; i < sizeof calls / sizeof calls[0]; ++i) {
        const std::string call = Call(calls[i].first);
        cx.Calling(call);
        const AllocationCount count;
        const HRESULT result = calls[i].second(b, tagOf(types[i]));
        const long taken = count.Taken();
        cx.Expect(result == E_POINTER && taken == 0,
                  "a getter refuses a null out-pointer with E_POINTER and allocates nothing", call,
                  ResultText(result) + ", " + std::to_string(taken) + " blocks allocated",
                  "E_POINTER, none");
    }
}

void CheckBagChangeTracking(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    const auto* v = bag->lpVtbl;
    const std::string rule = "a Set marks its tag changed until ClearChangedTags; a deletion "
                             "removes the mark; EnumChangedTags is a snapshot";
    cx.Calling(Call("ClearChangedTags()"));
    const HRESULT first = v->ClearChangedTags(bag.get());
    cx.ExpectResult(first, S_OK, "an item's bag comes with its tags marked changed",
                    Call("ClearChangedTags() on a new item bag"));
    cx.ExpectCall(
        Call("ClearChangedTags() again"), [&] { return v->ClearChangedTags(bag.get()); }, S_FALSE,
        rule);
    IkcSysEnumPropertyTag* none = reinterpret_cast<IkcSysEnumPropertyTag*>(&cx);
    cx.Calling(Call("EnumChangedTags(&tags)"));
    const HRESULT result = v->EnumChangedTags(bag.get(), &none);
    cx.Expect(result == S_FALSE && none == nullptr, rule,
              Call("EnumChangedTags(&tags) with none changed"), ResultText(result),
              "S_FALSE, null");
    k_types[2].store(bag.get(), k_tag);
    k_types[2].store(bag.get(), k_tag + 1);
    Ref<IkcSysEnumPropertyTag> snapshot;
    cx.Calling(Call("EnumChangedTags(&tags)"));
    v->EnumChangedTags(bag.get(), snapshot.put());
    cx.Calling(Call("DeleteProperty(tag) after EnumChangedTags(&tags)"));
    v->DeleteProperty(bag.get(), k_tag + 1);
    k_types[2].store(bag.get(), k_tag + 2);
    const std::vector<std::uint32_t> listed = TagsOf(cx, snapshot.get());
    const std::vector<std::uint32_t> expected = {k_tag, k_tag + 1};
    cx.Expect(listed == expected, rule,
              Call("EnumChangedTags(&tags) after two Sets, then a "
                   "deletion and a third Set"),
              std::to_string(listed.size()) + " tags", "the two tags set before it");
    const std::string dump = BagDump(cx, bag.get());
    cx.Expect(Lists(dump, k_tag) && !Lists(dump, k_tag + 1) && Lists(dump, k_tag + 2), rule,
              Call("EnumChangedTags(&tags) after the deletion"), dump.substr(dump.find("changed:")),
              "changed: " + Hex(k_tag) + " " + Hex(k_tag + 2));
}

void CheckBagClone(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    k_types[5].store(bag.get(), k_tag);
    const std::string original = BagDump(cx, bag.get());
    Ref<IkcSysPropertyBag3> copy;
    cx.Calling(Call("Clone(&copy)"));
    const HRESULT result =
        bag->lpVtbl->Clone(bag.get(), reinterpret_cast<IkcSysPropertyBag**>(copy.put()));
    cx.Require(result == S_OK && copy && copy.get() != bag.get(), "Clone hands out a new bag",
               Call("Clone(&copy)"), ResultText(result), "S_OK with another bag");
    const std::string cloned = BagDump(cx, copy.get());
    const std::string values = original.substr(0, original.find("changed:"));
    cx.Expect(cloned == values + "changed:", "a clone holds every value, none marked changed",
              Call("Clone(&copy)"), cloned, values + "changed:");
    k_types[1].store(copy.get(), k_tag + 1);
    cx.Calling(Call("SetStringProperty(tag, \"x\") on the clone"));
    copy->lpVtbl->SetStringProperty(copy.get(), k_tag, reinterpret_cast<const QX_WCHAR*>(u"x"));
    bag.reset();
    cx.Expect(Entry(BagDump(cx, copy.get()), k_tag) == "S_OK (0x00000000) \"x\"",
              "a clone lives on its own after its source is gone",
              Call("Clone(&copy), then the source's last Release"),
              Entry(BagDump(cx, copy.get()), k_tag), "S_OK (0x00000000) \"x\"");
    Ref<IkcSysPropertyBag3> fresh = cx.FirstItemBag(expert.get());
    k_types[5].store(fresh.get(), k_tag);
    Ref<IkcSysPropertyBag3> second;
    cx.Calling(Call("Clone(&copy)"));
    fresh->lpVtbl->Clone(fresh.get(), reinterpret_cast<IkcSysPropertyBag**>(second.put()));
    cx.Require(static_cast<bool>(second), "Clone hands out a new bag", Call("Clone(&copy)"),
               "no bag", "a bag");
    cx.Calling(Call("SetStringProperty and SetBooleanProperty on the clone"));
    second->lpVtbl->SetStringProperty(second.get(), k_tag, reinterpret_cast<const QX_WCHAR*>(u"x"));
    second->lpVtbl->SetBooleanProperty(second.get(), k_tag + 1, 1);
    const std::string after = BagDump(cx, fresh.get());
    cx.Expect(after == original, "a clone is deep: changing it leaves its source as it was",
              Call("Clone(&copy), then Set on the copy"), after, original);
    cx.ExpectCall(
        Call("Clone(null)"), [&] { return fresh->lpVtbl->Clone(fresh.get(), nullptr); }, E_POINTER,
        "Clone refuses a null out-pointer");
}

void CheckBagBatchLock(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    const auto* v = bag->lpVtbl;
    const std::string rule = "AcquireBatchLock nests and each pairs with one ReleaseBatchLock; "
                             "one more gives E_FAIL";
    cx.Calling(Call("AcquireBatchLock()"));
    cx.ExpectCall(
        Call("AcquireBatchLock()"), [&] { return v->AcquireBatchLock(bag.get()); }, S_OK, rule);
    cx.ExpectCall(
        Call("AcquireBatchLock() again"), [&] { return v->AcquireBatchLock(bag.get()); }, S_OK,
        rule);
    cx.ExpectCall(
        Call("ReleaseBatchLock()"), [&] { return v->ReleaseBatchLock(bag.get()); }, S_OK, rule);
    // Another task's call waits while the lock is held: its result is seen only after the
    // flag set just before the release.
    std::atomic<bool> released{false};
    std::atomic<bool> waited{false};
    std::thread other([&] {
        v->HasProperty(bag.get(), k_tag);
        waited = released.load();
    });
    for (int i = 0; i < 20; ++i)
        std::this_thread::yield();
    released = true;
    cx.Calling(Call("ReleaseBatchLock() with another task waiting"));
    cx.ExpectCall(
        Call("ReleaseBatchLock() again"), [&] { return v->ReleaseBatchLock(bag.get()); }, S_OK,
        rule);
    other.join();
    cx.Expect(waited, "another task's call waits while the batch lock is held",
              Call("HasProperty(tag) on another task during AcquireBatchLock()"),
              "it returned before ReleaseBatchLock", "it returns after ReleaseBatchLock");
    cx.Calling(Call("ReleaseBatchLock() without the lock"));
    cx.ExpectCall(
        Call("ReleaseBatchLock() without the lock"), [&] { return v->ReleaseBatchLock(bag.get()); },
        E_FAIL, rule);
}
