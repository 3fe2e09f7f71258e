// Every check, once: its name, level, time factor, grade, the source of its rule, the rule it
// holds and its function.
// --list, --filter, the report and the manual page all read this table.
#include "validate/check.h"
#include "validate/checks.h"

namespace {

constexpr CheckLevel Q = CheckLevel::quick;
constexpr CheckLevel F = CheckLevel::full;
constexpr Grade M = Grade::must;
constexpr Grade C = Grade::choice;

// clang-format off
const std::vector<CheckRow> k_checks = {
    {"module.loads", Q, 1, M, "qxLoadModule(3)", "the module loads, its constructors run, and it unloads again, its destructors run", CheckLoads},
    {"module.exports", Q, 1, M, "qxzeva(3)", "the module exports its factory and its version-record function", CheckExports},
    {"module.version_record", Q, 1, M, "QX_VERSION_SYMBOL(3)", "the version record is static key=value entries ended by a null pointer, agreeing with GetProductVersion", CheckVersionRecord},
    {"module.factory_null_out", Q, 1, M, "qxCreateExpert(3)", "the factory refuses a null out-pointer with E_POINTER", CheckFactoryNullOut},
    {"identity.unknown_same_pointer", Q, 1, M, "IUnknown(3)", "every interface of an object answers IUnknown with one and the same pointer", CheckUnknownSamePointer},
    {"identity.query_interface_rules", Q, 1, M, "IUnknown(3)", "QueryInterface is reflexive, symmetric and transitive over every identifier, on each kind of object", CheckQueryInterfaceRules},
    {"identity.unknown_identifier", Q, 1, M, "IUnknown(3)", "an unknown identifier gives E_NOINTERFACE and a null out-value", CheckUnknownIdentifier},
    {"identity.null_out", Q, 1, M, "IUnknown(3)", "QueryInterface refuses a null out-pointer with E_POINTER", CheckQueryInterfaceNullOut},
    {"identity.counting", Q, 1, M, "IUnknown(3)", "AddRef and Release move the count by one and return it; what is handed out holds one reference", CheckCounting},
    {"strings.boundary_blocks", Q, 1, M, "qxFreeWideString(3)", "every string handed out carries in front the count of its units before the zero", CheckStringBlocks},
    {"strings.null_out", Q, 1, M, "qxFreeWideString(3)", "the identity operations refuse a null string out-pointer with E_POINTER, allocating nothing", CheckStringNullOut},
    {"expert.identity_any_time", Q, 1, M, "IkcSysExpert2(3)", "the identity operations answer before Initialize and give the same answers after Initialize and Finalize", CheckIdentityAnyTime},
    {"expert.item_names", Q, 1, M, "IkcSysExpert2(3)", "item names are unique, the same in every search, and kept by Finalize", CheckItemNames},
    {"expert.properties_of_item", Q, 1, M, "IkcSysExpert2(3)", "the items are the driver's boards; each item's bag holds exactly the 22 properties, each of its type and value as the driver's answers give it for the first record of that name without regard to case (or of exactly that name), the same bag the collection gets, in listing order", CheckPropertiesOfItem},
    {"expert.own_record", Q, 1, C, k_soundChoice, "an item whose name equals an earlier item's without regard to case is reported from its own record, by GetPropertiesOfItem and by the search (the contract gives the first such record's values for both)", CheckOwnRecord},
    {"expert.collection_calls", Q, 1, M, "IkcSysPropertyBagCollection(3)", "the collection is called once per item, each bag lent with one reference, and nothing is kept after", CheckCollectionCalls},
    {"expert.collection_failure", Q, 1, M, "IkcSysPropertyBagCollection(3)", "a failure of the collection stops the search, which returns it", CheckCollectionFailure},
    {"expert.unknown_item", Q, 1, M, "IkcSysExpert2(3)", "an unknown item name gives E_ITEM_NOT_FOUND and a null bag; a null out-pointer gives E_POINTER", CheckUnknownItem},
    {"expert.null_item_name", Q, 1, C, k_soundChoice, "a null item name gives E_POINTER and a null bag (made only under --strict: the contract leaves the call undefined)", CheckNullItemName},
    {"expert.not_offered", Q, 1, M, "IkcSysExpert2(3)", "PopulateOrRefreshProperties, SetPreferredLocale and RenameAlias give E_NOTIMPL and write nothing", CheckNotOffered},
    {"expert.plug_play", Q, 1, M, "IkcSysExpertPlugPlay(3)", "RegisterNotificationCallback gives E_NOTIMPL and neither calls nor keeps the handler", CheckPlugPlay},
    {"expert.property_changes", Q, 1, M, "IkcSysExpert2(3)", "ValidatePropertyChanges and PersistPropertyChanges are not offered, and say so as their contract says", CheckPropertyChanges},
    {"bag.round_trip", Q, 1, M, "IkcSysPropertyBag3(3)", "a value of each of the seven types reads back as stored, with its type", CheckBagRoundTrip},
    {"bag.type_mismatch", Q, 1, M, "IkcSysPropertyBag3(3)", "a Set of another type than the one held is refused and changes nothing", CheckBagTypeMismatch},
    {"bag.presence", Q, 1, M, "IkcSysPropertyBag3(3)", "presence, type, deletion and the tag enumerator agree on what the bag holds", CheckBagPresence},
    {"bag.getter_null_out", Q, 1, C, k_soundChoice, "GetPropertyType and the value getters refuse a null out-pointer with E_POINTER, allocating nothing (made only under --strict: the contract says they do not test it)", CheckBagGetterNullOut},
    {"bag.change_tracking", Q, 1, M, "IkcSysPropertyBag3(3)", "Sets mark tags changed until cleared, deletions remove the mark, EnumChangedTags is a snapshot", CheckBagChangeTracking},
    {"bag.clone", Q, 1, M, "IkcSysPropertyBag3(3)", "Clone is deep and independent, with no tag marked changed", CheckBagClone},
    {"bag.batch_lock", Q, 1, M, "IkcSysPropertyBag3(3)", "batch locks nest and pair, hold off other tasks, and one release too many gives E_FAIL", CheckBagBatchLock},
    {"enum.next", Q, 1, M, "IkcSysEnumStringList(3)", "Next hands out what is asked with S_OK, fewer with S_FALSE at the end, and counts them", CheckEnumNext},
    {"enum.skip_reset", Q, 1, M, "IkcSysEnumStringList(3)", "Skip moves on, gives S_FALSE past the end; Reset starts over", CheckEnumSkipReset},
    {"enum.clone", Q, 1, M, "IkcSysEnumStringList(3)", "a clone starts at its source's position and moves on its own", CheckEnumClone},
    {"enum.outlives_source", Q, 1, M, "IkcSysEnumStringList(3)", "an enumerator works on after the expert or bag that made it is gone", CheckEnumOutlivesSource},
    {"alloc.identity", F, 4, M, "qxzeva(3)", "with any allocation failing, the factory and the identity strings give E_OUTOFMEMORY or their whole result, keeping no block", CheckAllocIdentity},
    {"alloc.names", F, 4, M, "qxzeva(3)", "with any allocation failing, Initialize, the name search and its enumerators fail cleanly or give every name, keeping no block", CheckAllocNames},
    {"alloc.bags", F, 6, M, "qxzeva(3)", "with any allocation failing, a bag's Get, Set, Clone and enumerators fail cleanly or give their result, keeping no block; a partial result (a null string with S_OK) warns, as this project gives E_OUTOFMEMORY", CheckAllocBags},
    {"alloc.report", F, 6, M, "qxzeva(3)", "with any allocation failing, the search fails cleanly or hands over every bag, keeping no block; a bag with a null string or a tag left out warns, as this project hands over whole bags only", CheckAllocReport},
    {"threads.counting", F, 3, M, "qxzeva(3)", "identity and counting operations from four tasks at once leave the counts exact", CheckThreadsCounting},
    {"threads.bag", F, 3, M, "qxzeva(3)", "a bag used by four tasks at once, batch locks included, keeps each task's values", CheckThreadsBag},
    {"load.cycles", F, 6, M, "qxLoadModule(3)", "100 loads and unloads, each with an expert and a bag, keep no memory", CheckLoadCycles},
};
// clang-format on

} // namespace

const std::vector<CheckRow>& CheckTable() {
    return k_checks;
}
