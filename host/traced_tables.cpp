// The tracing tables, one per interface the host can obtain, every slot traced.
#include "host/traced_calls.h"

#include <type_traits>

namespace traced {
namespace {

// The module gives the host's collection a bag: the host sees it traced. The traced bag's
// first hold is this call's own, ended when the call returns; the host's AddRef through it
// keeps it.
HRESULT TracedAddPropertyBag(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag) {
    Traced<IkcSysPropertyBagCollection>* traced = From(self);
    CallTrace* trace = traced->trace;
    IkcSysPropertyBag* given = bag;
    const HRESULT result = TraceCall(
        trace, "AddPropertyBag",
        [&] {
            given = Wrap(trace, bag);
            return CallLine(traced, "AddPropertyBag", Label(given));
        },
        [&] { return traced->inner->lpVtbl->AddPropertyBag(traced->inner, given); },
        [](HRESULT outcome) { return "= " + HResultName(outcome); });
    if (IsTraced(given))
        DropHold(given);
    return result;
}

} // namespace

// Each table below is expanded from the list of its interface's slots: every slot goes
// through TraceSlot, named by the slot.
template <auto Slot, auto Other>
inline constexpr bool kSameSlot = std::is_same_v<SlotTag<Slot>, SlotTag<Other>>;

template <auto Slot, class Face, class... Args>
auto TraceSlot(const char* operation, Face* self, Args... args) {
    using Table = TableOf<Face>;
    if constexpr (kSameSlot<Slot, &Table::QueryInterface>)
        return TracedQueryInterface(self, args...);
    else if constexpr (kSameSlot<Slot, &Table::AddRef>)
        return TracedAddRef(self);
    else if constexpr (kSameSlot<Slot, &Table::Release>)
        return TracedRelease(self);
    else if constexpr (kSameSlot<Slot, &IkcSysEnumStringListVtbl::Next> ||
                       kSameSlot<Slot, &IkcSysEnumPropertyTagVtbl::Next>)
        return TracedNext(self, args...);
    else if constexpr (kSameSlot<Slot, &IkcSysPropertyBagCollectionVtbl::AddPropertyBag>)
        return TracedAddPropertyBag(self, args...);
    else
        return Forward<Face>(operation, Slot, self, args...);
}

// The face is the type of the slot's first parameter, given by the table being filled.
#define QX_TRACED(result, name, parameters)                                                        \
    [](auto* self, auto... args) -> result {                                                       \
        using Face = std::remove_pointer_t<decltype(self)>;                                        \
        return TraceSlot<&TableOf<Face>::name>(#name, self, args...);                              \
    },

const IkcSysExpert2Vtbl FaceInfo<IkcSysExpert2>::table = {
    QXZEVA_IKCSYSEXPERT2_TABLE(QX_TRACED, QXC, IkcSysExpert2)};
const IkcSysExpertPlugPlayVtbl FaceInfo<IkcSysExpertPlugPlay>::table = {
    QXZEVA_IKCSYSEXPERTPLUGPLAY_TABLE(QX_TRACED, QXC, IkcSysExpertPlugPlay)};
const IkcSysPropertyBag3Vtbl FaceInfo<IkcSysPropertyBag3>::table = {
    QXZEVA_IKCSYSPROPERTYBAG3_TABLE(QX_TRACED, QXC, IkcSysPropertyBag3)};
const IkcSysEnumStringListVtbl FaceInfo<IkcSysEnumStringList>::table = {
    QXZEVA_IKCSYSENUMSTRINGLIST_TABLE(QX_TRACED, QXC, IkcSysEnumStringList)};
const IkcSysEnumPropertyTagVtbl FaceInfo<IkcSysEnumPropertyTag>::table = {
    QXZEVA_IKCSYSENUMPROPERTYTAG_TABLE(QX_TRACED, QXC, IkcSysEnumPropertyTag)};
const IkcSysPropertyBagCollectionVtbl FaceInfo<IkcSysPropertyBagCollection>::table = {
    QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_TABLE(QX_TRACED, QXC, IkcSysPropertyBagCollection)};

#undef QX_TRACED

} // namespace traced
