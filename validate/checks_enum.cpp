// The enumerators: Next's counts and S_FALSE at the end, Skip, Reset, Clone's own position,
// and an enumerator outliving what made it.
#include "validate/check.h"
#include "validate/checks.h"

#include <cstdint>
#include <random>

namespace {

std::string Call(const char* operation) {
    return std::string("IkcSysEnumStringList::") + operation;
}

Ref<IkcSysEnumStringList> Names(CheckContext& cx, IkcSysExpert2* expert) {
    Ref<IkcSysEnumStringList> names;
    cx.Calling("IkcSysExpert2::SearchForItemNames(&names)");
    expert->lpVtbl->SearchForItemNames(expert, names.put());
    if (!names)
        cx.Skip("the module lists no items, so it hands out no name enumerator");
    return names;
}

// The names Next hands out in steps of up to step; with a total, the results on the way are
// checked against it.
std::vector<std::u16string> Walk(CheckContext& cx, IkcSysEnumStringList* names, std::uint32_t step,
                                 std::size_t total = SIZE_MAX) {
    std::vector<std::u16string> got;
    for (int guard = 0; guard < 10000; ++guard) {
        std::vector<QX_WCHAR*> slots(step, nullptr);
        std::uint32_t fetched = 0xFFFFu;
        const std::string call = "Next(" + std::to_string(step) + ", names, &fetched)";
        cx.Calling(Call(call.c_str()));
        const HRESULT result = names->lpVtbl->Next(names, step, slots.data(), &fetched);
        const std::size_t left = total - got.size();
        const std::uint32_t expected = static_cast<std::uint32_t>(left < step ? left : step);
        cx.Expect(total == SIZE_MAX ||
                      (result == (expected == step ? S_OK : S_FALSE) && fetched == expected),
                  "Next gives as many as asked with S_OK, fewer with S_FALSE at the end, and says "
                  "how many",
                  Call(call.c_str()), ResultText(result) + ", " + std::to_string(fetched),
                  std::string(expected == step ? "S_OK" : "S_FALSE") + ", " +
                      std::to_string(expected));
        for (std::uint32_t i = 0; i < step; ++i)
            if (i < fetched && i < expected)
                got.push_back(Owned(slots[i]));
            else
                qxFreeWideString(slots[i]);
        if (result != S_OK || fetched != step)
            return got;
    }
    return got;
}

} // namespace

void CheckEnumNext(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    std::mt19937 random(cx.Seed());
    for (const std::uint32_t step : {1u, 2u, 3u, static_cast<std::uint32_t>(names.size() + 1),
                                     1u + static_cast<std::uint32_t>(random() % 5)}) {
        Ref<IkcSysEnumStringList> list = Names(cx, expert.get());
        const std::vector<std::u16string> got = Walk(cx, list.get(), step, names.size());
        cx.Expect(got == names, "Next hands out every name once, in order",
                  Call("Next") + " in steps of " + std::to_string(step),
                  std::to_string(got.size()) + " names",
                  std::to_string(names.size()) + " names in order");
    }
    Ref<IkcSysEnumStringList> list = Names(cx, expert.get());
    std::uint32_t fetched = 7;
    cx.Calling(Call("Next(1, null, &fetched)"));
    cx.ExpectCall(
        Call("Next(1, null, &fetched)"),
        [&] { return list->lpVtbl->Next(list.get(), 1, nullptr, &fetched); }, E_POINTER,
        "Next refuses a null array");
    QX_WCHAR* slots[2] = {nullptr, nullptr};
    cx.Calling(Call("Next(2, names, null)"));
    cx.ExpectCall(
        Call("Next(2, names, null)"),
        [&] { return list->lpVtbl->Next(list.get(), 2, slots, nullptr); }, E_POINTER,
        "Next refuses a null count when more than one is asked for");
    qxFreeWideString(slots[0]);
    qxFreeWideString(slots[1]);
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    Ref<IkcSysEnumPropertyTag> tags;
    cx.Calling("IkcSysPropertyBag3::EnumProperties(&tags)");
    bag->lpVtbl->EnumProperties(bag.get(), tags.put());
    std::uint32_t tag[4] = {};
    std::uint32_t count = 0;
    std::size_t seen = 0;
    for (int guard = 0; guard < 1000; ++guard) {
        cx.Calling("IkcSysEnumPropertyTag::Next(4, tags, &fetched)");
        const HRESULT result = tags->lpVtbl->Next(tags.get(), 4, tag, &count);
        seen += count;
        if (result != S_OK) {
            cx.Expect(result == S_FALSE && count < 4 && seen >= ItemTags().size(),
                      "the tag enumerator's Next ends with S_FALSE and fewer tags, after every tag",
                      "IkcSysEnumPropertyTag::Next(4, tags, &fetched)",
                      ResultText(result) + ", " + std::to_string(seen) + " tags in all",
                      "S_FALSE after at least " + std::to_string(ItemTags().size()));
            break;
        }
    }
}

void CheckEnumSkipReset(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    Ref<IkcSysEnumStringList> list = Names(cx, expert.get());
    const auto size = static_cast<std::uint32_t>(names.size());
    cx.Calling(Call("Skip(count)"));
    cx.ExpectCall(
        Call("Skip(all but one)"), [&] { return list->lpVtbl->Skip(list.get(), size - 1); }, S_OK,
        "Skip within the list gives S_OK");
    const std::vector<std::u16string> last = Walk(cx, list.get(), 1);
    cx.Expect(last.size() == 1 && last[0] == names.back(), "Skip moves past the names skipped",
              Call("Skip(all but one), then Next(1)"), last.empty() ? "none" : Quoted(last[0]),
              Quoted(names.back()));
    cx.Calling(Call("Reset()"));
    cx.ExpectCall(
        Call("Reset()"), [&] { return list->lpVtbl->Reset(list.get()); }, S_OK, "Reset gives S_OK");
    cx.ExpectCall(
        Call("Skip(one more than the list)"),
        [&] { return list->lpVtbl->Skip(list.get(), size + 1); }, S_FALSE,
        "Skip past the end gives S_FALSE");
    cx.ExpectCall(
        Call("Reset()"), [&] { return list->lpVtbl->Reset(list.get()); }, S_OK, "Reset gives S_OK");
    const std::vector<std::u16string> again = Walk(cx, list.get(), 1);
    cx.Expect(again == names, "Reset moves back to the first name", Call("Reset(), then Next"),
              std::to_string(again.size()) + " names", "every name in order");
}

void CheckEnumClone(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    Ref<IkcSysEnumStringList> list = Names(cx, expert.get());
    cx.Calling("IkcSysEnumStringList::Skip(1)");
    list->lpVtbl->Skip(list.get(), 1);
    Ref<IkcSysEnumStringList> copy;
    cx.Calling(Call("Clone(&copy)"));
    const HRESULT result = list->lpVtbl->Clone(list.get(), copy.put());
    cx.Require(result == S_OK && copy && copy.get() != list.get(),
               "Clone hands out a new enumerator", Call("Clone(&copy)"), ResultText(result),
               "S_OK with another enumerator");
    const std::vector<std::u16string> rest(names.begin() + 1, names.end());
    const std::vector<std::u16string> fromCopy = Walk(cx, copy.get(), 1);
    const std::vector<std::u16string> fromList = Walk(cx, list.get(), 1);
    cx.Expect(fromCopy == rest && fromList == rest,
              "a clone starts at its source's position and moves on its own",
              Call("Skip(1), Clone(&copy), then Next on both"),
              std::to_string(fromCopy.size()) + " and " + std::to_string(fromList.size()) +
                  " names",
              std::to_string(rest.size()) + " names each");
    cx.ExpectCall(
        Call("Clone(null)"), [&] { return list->lpVtbl->Clone(list.get(), nullptr); }, E_POINTER,
        "Clone refuses a null out-pointer");
}

void CheckEnumOutlivesSource(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    Ref<IkcSysEnumStringList> list = Names(cx, expert.get());
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    Ref<IkcSysEnumPropertyTag> tags;
    cx.Calling("IkcSysPropertyBag3::EnumProperties(&tags)");
    bag->lpVtbl->EnumProperties(bag.get(), tags.put());
    const std::size_t tagCount = TagsOf(cx, tags.get()).size();
    cx.Calling("IkcSysEnumPropertyTag::Reset()");
    tags->lpVtbl->Reset(tags.get());
    bag.reset();
    expert.reset();
    const std::vector<std::u16string> got = Walk(cx, list.get(), 1);
    cx.Expect(got == names, "an enumerator outlives the expert that made it",
              Call("Next after the expert's last Release"), std::to_string(got.size()) + " names",
              std::to_string(names.size()) + " names");
    const std::size_t after = TagsOf(cx, tags.get()).size();
    cx.Expect(after == tagCount, "a tag enumerator outlives the bag that made it",
              "IkcSysEnumPropertyTag::Next after the bag's last Release",
              std::to_string(after) + " tags", std::to_string(tagCount) + " tags");
}
