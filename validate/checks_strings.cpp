// Boundary strings: every string handed out carries its length in front, and a null
// out-pointer is refused.
#include "validate/alloc_interposer.h"
#include "validate/check.h"
#include "validate/checks.h"

#include <functional>

namespace {

using Getter = HRESULT (*)(IkcSysExpert2*, QX_WCHAR**);

struct IdentityString {
    const char* call;
    Getter get;
};

const IdentityString k_identityStrings[] = {
    {"IkcSysExpert2::GetProductDisplayName",
     [](IkcSysExpert2* e, QX_WCHAR** s) { return e->lpVtbl->GetProductDisplayName(e, s); }},
    {"IkcSysExpert2::GetProductVersion",
     [](IkcSysExpert2* e, QX_WCHAR** s) { return e->lpVtbl->GetProductVersion(e, s); }},
    {"IkcSysExpert2::GetProgrammaticName",
     [](IkcSysExpert2* e, QX_WCHAR** s) { return e->lpVtbl->GetProgrammaticName(e, s); }},
};

void ExpectBlock(CheckContext& cx, QX_WCHAR* text, const std::string& call) {
    if (text == nullptr)
        return;
    std::uint32_t units = 0;
    while (units < 0x100000 && text[units] != 0)
        ++units;
    const std::uint32_t front = qxWideStringLength(text);
    cx.Expect(front == units,
              "every string handed out is a boundary block: the length in front counts the units "
              "before the terminating zero",
              call, "length " + std::to_string(front) + " in front of " + Quoted(text),
              std::to_string(units));
    qxFreeWideString(text);
}

} // namespace

void CheckStringBlocks(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    for (const IdentityString& row : k_identityStrings) {
        QX_WCHAR* text = nullptr;
        cx.Calling(std::string(row.call) + "(&text)");
        const HRESULT result = row.get(expert.get(), &text);
        cx.ExpectResult(result, S_OK, "the identity operations hand out their strings",
                        std::string(row.call) + "(&text)");
        ExpectBlock(cx, text, std::string(row.call) + "(&text)");
    }
    Ref<IkcSysEnumStringList> names;
    cx.Calling("IkcSysExpert2::SearchForItemNames(&names)");
    expert->lpVtbl->SearchForItemNames(expert.get(), names.put());
    while (names) {
        QX_WCHAR* name = nullptr;
        cx.Calling("IkcSysEnumStringList::Next(1, &name, null)");
        if (names->lpVtbl->Next(names.get(), 1, &name, nullptr) != S_OK || name == nullptr)
            break;
        ExpectBlock(cx, name, "IkcSysEnumStringList::Next(1, &name, null)");
    }
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    for (const ItemTag& item : ItemTags()) {
        const std::uint32_t tag = item.tag;
        kcSysAttributeType type = kcSysAttrTypeBoolean;
        if (bag->lpVtbl->GetPropertyType(bag.get(), tag, &type) != S_OK ||
            type != kcSysAttrTypeString)
            continue;
        QX_WCHAR* text = nullptr;
        const std::string call = "IkcSysPropertyBag3::GetStringProperty(" + Hex(tag) + ", &text)";
        cx.Calling(call);
        bag->lpVtbl->GetStringProperty(bag.get(), tag, &text);
        ExpectBlock(cx, text, call);
    }
}

void CheckStringNullOut(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::string rule = "an identity operation that hands out a string refuses a null "
                             "out-pointer with E_POINTER and allocates nothing";
    std::vector<std::pair<std::string, std::function<HRESULT()>>> calls;
    for (const IdentityString& row : k_identityStrings)
        calls.emplace_back(std::string(row.call) + "(null)",
                           [&expert, &row] { return row.get(expert.get(), nullptr); });
    for (const auto& [call, run] : calls) {
        cx.Calling(call);
        const AllocationCount count;
        const HRESULT result = run();
        const long taken = count.Taken();
        cx.ExpectResult(result, E_POINTER, rule, call);
        cx.Expect(taken == 0, rule, call, std::to_string(taken) + " blocks allocated", "none");
    }
}
