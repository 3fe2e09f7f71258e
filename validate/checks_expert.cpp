// The expert's operations: identity at any time, the calling order, items and their bags,
// the host's collection, and the operations it does not offer.
#include "qxzeva/qxzeva_host.h"
#include "validate/check.h"
#include "validate/checks.h"
#include "validate/collection.h"
#include "validate/driver_reader.h"
#include "validate/item_values.h"

#include <cstring>
#include <set>

namespace {

const QX_WCHAR* W(const std::u16string& text) {
    return reinterpret_cast<const QX_WCHAR*>(text.c_str());
}

std::string Identity(CheckContext& cx, IkcSysExpert2* expert) {
    _GUID id;
    std::memset(&id, 0xA5, sizeof id);
    cx.Calling("IkcSysExpert2::GetProductID(&id)");
    const HRESULT idResult = expert->lpVtbl->GetProductID(expert, &id);
    std::string text = ResultText(idResult) + " " + qxzeva::GuidText(id);
    QX_WCHAR* s = nullptr;
    cx.Calling("IkcSysExpert2::GetProductDisplayName(&name)");
    text += ", " + ResultText(expert->lpVtbl->GetProductDisplayName(expert, &s));
    text += " " + Quoted(Owned(s));
    s = nullptr;
    cx.Calling("IkcSysExpert2::GetProductVersion(&version)");
    text += ", " + ResultText(expert->lpVtbl->GetProductVersion(expert, &s));
    text += " " + Quoted(Owned(s));
    s = nullptr;
    cx.Calling("IkcSysExpert2::GetProgrammaticName(&name)");
    text += ", " + ResultText(expert->lpVtbl->GetProgrammaticName(expert, &s));
    text += " " + Quoted(Owned(s));
    return text;
}

} // namespace

void CheckIdentityAnyTime(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.NewExpert();
    const std::string before = Identity(cx, expert.get());
    cx.Expect(before.find("S_OK") == 0 && before.find("E_") == std::string::npos &&
                  before.find("A5A5A5A5") == std::string::npos,
              "the identity operations answer before Initialize", "the four identity operations",
              before, "S_OK from each, the identifier written");
    cx.Calling("IkcSysExpert2::Initialize()");
    expert->lpVtbl->Initialize(expert.get());
    const std::string after = Identity(cx, expert.get());
    cx.Expect(after == before, "the identity does not change with Initialize",
              "the identity operations after Initialize", after, before);
    cx.Calling("IkcSysExpert2::Finalize()");
    expert->lpVtbl->Finalize(expert.get());
    const std::string finalized = Identity(cx, expert.get());
    cx.Expect(finalized == before, "the identity does not change with Finalize",
              "the identity operations after Finalize", finalized, before);
    cx.Calling("IkcSysExpert2::GetProductID(null)");
    cx.ExpectCall(
        "IkcSysExpert2::GetProductID(null)",
        [&] { return expert->lpVtbl->GetProductID(expert.get(), nullptr); }, E_POINTER,
        "GetProductID refuses a null out-pointer");
}

void CheckItemNames(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    const std::set<std::u16string> unique(names.begin(), names.end());
    cx.Expect(unique.size() == names.size(), "item names are unique",
              "IkcSysExpert2::SearchForItemNames(&names)",
              std::to_string(names.size() - unique.size()) + " repeated", "none repeated");
    cx.Expect(cx.ItemNames(expert.get()) == names, "a second search lists the same names",
              "IkcSysExpert2::SearchForItemNames(&names) twice", "another list", "the same list");
    cx.Calling("IkcSysExpert2::Finalize()");
    cx.ExpectCall(
        "IkcSysExpert2::Finalize()", [&] { return expert->lpVtbl->Finalize(expert.get()); }, S_OK,
        "Finalize succeeds");
    cx.Expect(cx.ItemNames(expert.get()) == names, "Finalize keeps the items",
              "IkcSysExpert2::SearchForItemNames(&names) after Finalize", "another list",
              "the names listed before");
}

void CheckPropertiesOfItem(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    if (names.empty())
        cx.Skip("the module lists no items");
    // What the driver answers now, after Initialize claimed what it claims: read only.
    cx.Calling("the image driver's reading functions");
    const DriverAnswers driver = AskDriver(cx.Module().module, true);
    const std::vector<DriverBoard> boards = DiscoveredBoards(driver);
    if (driver.reachable) {
        std::vector<std::u16string> expected;
        expected.reserve(boards.size());
        for (const DriverBoard& board : boards)
            expected.push_back(Widened(ItemNameOf(board.activeFile)));
        std::string got;
        std::string want;
        for (std::size_t i = 0; i < names.size() || i < expected.size(); ++i) {
            got += (i < names.size() ? Quoted(names[i]) : "-") + " ";
            want += (i < expected.size() ? Quoted(expected[i]) : "-") + " ";
        }
        cx.Expect(names == expected,
                  "the items are the driver's boards up to the first without an interface file, "
                  "in its order, each named by its active file without \".zid\"",
                  "IkcSysExpert2::SearchForItemNames(&names)", got, want);
    }
    Collection collection(cx);
    collection.keep = true;
    cx.Calling("IkcSysExpert2::SearchForItemsAndProperties(&collection)");
    expert->lpVtbl->SearchForItemsAndProperties(expert.get(), &collection.face);
    for (std::size_t i = 0; i < names.size(); ++i) {
        Ref<IkcSysPropertyBag3> bag;
        const std::string call =
            "IkcSysExpert2::GetPropertiesOfItem(" + Quoted(names[i]) + ", &bag)";
        cx.Calling(call);
        const HRESULT result =
            expert->lpVtbl->GetPropertiesOfItem(expert.get(), W(names[i]), bag.put());
        if (!cx.Expect(result == S_OK && bag,
                       "GetPropertiesOfItem hands out a bag for every listed name", call,
                       ResultText(result), "S_OK with a bag"))
            continue;
        // The contract finds the first record whose name is the same without regard to case;
        // this project finds the record of exactly that name (expert.own_record grades it).
        const DriverBoard* own = driver.reachable && i < boards.size() ? &boards[i] : nullptr;
        const DriverBoard* first = driver.reachable ? FirstMatch(boards, names[i]) : nullptr;
        ItemFacts facts{first != nullptr ? first : own, driver.driverVersion, names[i]};
        ItemFacts ownFacts{own, driver.driverVersion, names[i]};
        const bool twin = own != nullptr && first != nullptr && own != first;
        std::vector<ValueBreach> breaches = ItemValueBreaches(cx, bag.get(), facts);
        if (twin && ItemValueBreaches(cx, bag.get(), ownFacts).empty())
            breaches.clear();
        for (const ValueBreach& breach : breaches)
            cx.Expect(false, k_itemValuesRule, call, breach.got, breach.expected);
        const std::string dump = BagDump(cx, bag.get());
        const std::string handed = i < collection.dumps.size() ? collection.dumps[i] : "no bag";
        IkcSysPropertyBag3* lent = i < collection.kept.size() ? collection.kept[i].get() : nullptr;
        const bool fromEitherRecord = twin && lent != nullptr &&
                                      (ItemValueBreaches(cx, lent, facts).empty() ||
                                       ItemValueBreaches(cx, lent, ownFacts).empty());
        cx.Expect(handed == dump || fromEitherRecord,
                  "the collection gets each item's bag in listing order, the same as "
                  "GetPropertiesOfItem's, or for a name equal to an earlier one without regard "
                  "to case the item's own record's",
                  "AddPropertyBag call " + std::to_string(i + 1) + " of the search", handed, dump);
    }
}

void CheckOwnRecord(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    cx.Calling("the image driver's reading functions");
    const DriverAnswers driver = AskDriver(cx.Module().module, true);
    if (!driver.reachable)
        cx.Skip("the validator cannot ask the driver which record is each item's own");
    const std::vector<DriverBoard> boards = DiscoveredBoards(driver);
    std::vector<std::size_t> twins;
    for (std::size_t i = 0; i < names.size() && i < boards.size(); ++i)
        if (FirstMatch(boards, names[i]) != &boards[i])
            twins.push_back(i);
    if (twins.empty())
        cx.Skip("no item's name equals an earlier one's without regard to case in this board set");
    Collection collection(cx);
    collection.keep = true;
    collection.dump = false;
    cx.Calling("IkcSysExpert2::SearchForItemsAndProperties(&collection)");
    expert->lpVtbl->SearchForItemsAndProperties(expert.get(), &collection.face);
    const std::string rule = "an item whose name equals an earlier item's without regard to case "
                             "is reported from its own record, by GetPropertiesOfItem and by the "
                             "search (the contract gives the first such record's values for both)";
    for (const std::size_t i : twins) {
        const ItemFacts facts{&boards[i], driver.driverVersion, names[i]};
        Ref<IkcSysPropertyBag3> bag;
        const std::string call =
            "IkcSysExpert2::GetPropertiesOfItem(" + Quoted(names[i]) + ", &bag)";
        cx.Calling(call);
        expert->lpVtbl->GetPropertiesOfItem(expert.get(), W(names[i]), bag.put());
        const std::pair<std::string, IkcSysPropertyBag3*> bags[] = {
            {call, bag.get()},
            {"AddPropertyBag call " + std::to_string(i + 1) + " of the search",
             i < collection.kept.size() ? collection.kept[i].get() : nullptr}};
        for (const auto& [where, held] : bags) {
            if (!cx.Expect(held != nullptr, rule, where, "no bag", "a bag"))
                continue;
            for (const ValueBreach& breach : ItemValueBreaches(cx, held, facts))
                cx.Expect(false, rule, where, breach.got, breach.expected);
        }
    }
}

void CheckCollectionCalls(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    for (const bool keep : {false, true}) {
        Collection collection(cx);
        collection.keep = keep;
        const std::string call = std::string("IkcSysExpert2::SearchForItemsAndProperties(") +
                                 (keep ? "a collection that keeps the bags)" : "a collection)");
        cx.Calling(call);
        const HRESULT result =
            expert->lpVtbl->SearchForItemsAndProperties(expert.get(), &collection.face);
        cx.ExpectResult(result, names.empty() ? S_FALSE : S_OK,
                        "the search gives S_OK when it handed over a bag, S_FALSE when none", call);
        cx.Expect(collection.calls == static_cast<int>(names.size()),
                  "the collection is called once per item", call,
                  std::to_string(collection.calls) + " calls", std::to_string(names.size()));
        cx.Expect(collection.references == 1, "the expert keeps no reference to the collection",
                  call, std::to_string(collection.references) + " references held", "1");
        for (std::size_t i = 0; i < collection.lentCounts.size(); ++i)
            cx.Expect(collection.lentCounts[i] == 2,
                      "a bag is lent to AddPropertyBag with the expert's one reference", call,
                      "count " + std::to_string(collection.lentCounts[i]) + " after AddRef", "2");
        for (Ref<IkcSysPropertyBag3>& bag : collection.kept) {
            cx.Calling("IkcSysPropertyBag3::AddRef() of a kept bag");
            const int32_t count = bag->lpVtbl->AddRef(bag.get());
            bag->lpVtbl->Release(bag.get());
            cx.Expect(count == 2,
                      "after the search a kept bag holds only the collection's reference", call,
                      "count " + std::to_string(count) + " after AddRef", "2");
        }
    }
    cx.Calling("IkcSysExpert2::SearchForItemsAndProperties(null)");
    cx.ExpectCall(
        "IkcSysExpert2::SearchForItemsAndProperties(null)",
        [&] { return expert->lpVtbl->SearchForItemsAndProperties(expert.get(), nullptr); },
        E_POINTER, "the search refuses a null collection");
}

void CheckCollectionFailure(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::vector<std::u16string> names = cx.ItemNames(expert.get());
    if (names.empty())
        cx.Skip("the module lists no items");
    Collection collection(cx);
    collection.failAt = names.size() > 1 ? 2 : 1;
    collection.failWith = static_cast<HRESULT>(0x80045A01u);
    const std::string call = "IkcSysExpert2::SearchForItemsAndProperties(a collection failing "
                             "call " +
                             std::to_string(collection.failAt) + " with 0x80045A01)";
    cx.Calling(call);
    const HRESULT result =
        expert->lpVtbl->SearchForItemsAndProperties(expert.get(), &collection.face);
    cx.ExpectResult(result, collection.failWith,
                    "a failure of AddPropertyBag stops the search, which returns it", call);
    cx.Expect(collection.calls == collection.failAt, "no bag is handed over after the failure",
              call, std::to_string(collection.calls) + " calls", std::to_string(collection.failAt));
    cx.Expect(collection.references == 1, "the expert keeps no reference to the collection", call,
              std::to_string(collection.references) + " references held", "1");
}

void CheckUnknownItem(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const std::u16string unknown = u"\u00ACno such item\u00AC";
    auto* sentinel = reinterpret_cast<IkcSysPropertyBag3*>(&cx);
    IkcSysPropertyBag3* bag = sentinel;
    std::string call = "IkcSysExpert2::GetPropertiesOfItem(" + Quoted(unknown) + ", &bag)";
    cx.Calling(call);
    HRESULT result = expert->lpVtbl->GetPropertiesOfItem(expert.get(), W(unknown), &bag);
    cx.Expect(result == E_ITEM_NOT_FOUND && bag == nullptr,
              "an unknown item name gives E_ITEM_NOT_FOUND and a null bag", call,
              ResultText(result) + (bag == nullptr ? ", null" : ", not null"),
              "E_ITEM_NOT_FOUND, null");
    if (bag != nullptr && bag != sentinel) {
        cx.Calling("IkcSysPropertyBag3::Release() of the bag handed out");
        bag->lpVtbl->Release(bag);
    }
    call = "IkcSysExpert2::GetPropertiesOfItem(" + Quoted(unknown) + ", null)";
    cx.Calling(call);
    result = expert->lpVtbl->GetPropertiesOfItem(expert.get(), W(unknown), nullptr);
    cx.ExpectResult(result, E_POINTER, "GetPropertiesOfItem refuses a null out-pointer", call);
}

void CheckNullItemName(CheckContext& cx) {
    const std::string call = "IkcSysExpert2::GetPropertiesOfItem(null, &bag)";
    cx.OnlyWhenStrict(call);
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    auto* sentinel = reinterpret_cast<IkcSysPropertyBag3*>(&cx);
    IkcSysPropertyBag3* bag = sentinel;
    cx.Calling(call);
    const HRESULT result = expert->lpVtbl->GetPropertiesOfItem(expert.get(), nullptr, &bag);
    cx.Expect(result == E_POINTER && bag == nullptr, "GetPropertiesOfItem refuses a null name",
              call, ResultText(result) + (bag == nullptr ? ", null" : ", not null"),
              "E_POINTER, null");
    if (bag != nullptr && bag != sentinel) {
        cx.Calling("IkcSysPropertyBag3::Release() of the bag handed out");
        bag->lpVtbl->Release(bag);
    }
}
