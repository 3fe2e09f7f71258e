// The tracing tables, one per interface the host can obtain, every slot traced.
#include "host/traced_calls.h"

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

// Each slot of a table below forwards through Forward, named by the slot. Face and slot name
// a type and a member, where parentheses do not belong.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QX_TRACED(Face, slot)                                                                      \
    [](Face* self, auto... args) {                                                                 \
        return Forward<Face>(#slot, &TableOf<Face>::slot, self, args...);                          \
    }
// NOLINTEND(bugprone-macro-parentheses)

const IkcSysExpert2Vtbl FaceInfo<IkcSysExpert2>::table = {
    TracedQueryInterface<IkcSysExpert2>,
    TracedAddRef<IkcSysExpert2>,
    TracedRelease<IkcSysExpert2>,
    QX_TRACED(IkcSysExpert2, GetProductID),
    QX_TRACED(IkcSysExpert2, GetProductDisplayName),
    QX_TRACED(IkcSysExpert2, GetProductVersion),
    QX_TRACED(IkcSysExpert2, GetProgrammaticName),
    QX_TRACED(IkcSysExpert2, Initialize),
    QX_TRACED(IkcSysExpert2, Finalize),
    QX_TRACED(IkcSysExpert2, SearchForItemsAndProperties),
    QX_TRACED(IkcSysExpert2, SearchForItemNames),
    QX_TRACED(IkcSysExpert2, GetPropertiesOfItem),
    QX_TRACED(IkcSysExpert2, PopulateOrRefreshProperties),
    QX_TRACED(IkcSysExpert2, SetPreferredLocale),
    QX_TRACED(IkcSysExpert2, RenameAlias),
    QX_TRACED(IkcSysExpert2, ValidatePropertyChanges),
    QX_TRACED(IkcSysExpert2, PersistPropertyChanges),
};

const IkcSysExpertPlugPlayVtbl FaceInfo<IkcSysExpertPlugPlay>::table = {
    TracedQueryInterface<IkcSysExpertPlugPlay>,
    TracedAddRef<IkcSysExpertPlugPlay>,
    TracedRelease<IkcSysExpertPlugPlay>,
    QX_TRACED(IkcSysExpertPlugPlay, RegisterNotificationCallback),
};

const IkcSysPropertyBag3Vtbl FaceInfo<IkcSysPropertyBag3>::table = {
    TracedQueryInterface<IkcSysPropertyBag3>,
    TracedAddRef<IkcSysPropertyBag3>,
    TracedRelease<IkcSysPropertyBag3>,
    QX_TRACED(IkcSysPropertyBag3, EnumProperties),
    QX_TRACED(IkcSysPropertyBag3, HasProperty),
    QX_TRACED(IkcSysPropertyBag3, GetPropertyType),
    QX_TRACED(IkcSysPropertyBag3, DeleteProperty),
    QX_TRACED(IkcSysPropertyBag3, DeleteAllProperties),
    QX_TRACED(IkcSysPropertyBag3, SetBooleanProperty),
    QX_TRACED(IkcSysPropertyBag3, SetIntegerProperty),
    QX_TRACED(IkcSysPropertyBag3, SetUnsignedIntegerProperty),
    QX_TRACED(IkcSysPropertyBag3, SetDoubleProperty),
    QX_TRACED(IkcSysPropertyBag3, SetGuidProperty),
    QX_TRACED(IkcSysPropertyBag3, SetStringProperty),
    QX_TRACED(IkcSysPropertyBag3, _SetTimestampProperty),
    QX_TRACED(IkcSysPropertyBag3, GetBooleanProperty),
    QX_TRACED(IkcSysPropertyBag3, GetIntegerProperty),
    QX_TRACED(IkcSysPropertyBag3, GetUnsignedIntegerProperty),
    QX_TRACED(IkcSysPropertyBag3, GetDoubleProperty),
    QX_TRACED(IkcSysPropertyBag3, GetGuidProperty),
    QX_TRACED(IkcSysPropertyBag3, GetStringProperty),
    QX_TRACED(IkcSysPropertyBag3, GetTimestampProperty),
    QX_TRACED(IkcSysPropertyBag3, Clone),
    QX_TRACED(IkcSysPropertyBag3, ClearChangedTags),
    QX_TRACED(IkcSysPropertyBag3, EnumChangedTags),
    QX_TRACED(IkcSysPropertyBag3, GetTimestampPropertyUTC),
    QX_TRACED(IkcSysPropertyBag3, SetTimestampPropertyUTC),
    QX_TRACED(IkcSysPropertyBag3, AcquireBatchLock),
    QX_TRACED(IkcSysPropertyBag3, ReleaseBatchLock),
};

const IkcSysEnumStringListVtbl FaceInfo<IkcSysEnumStringList>::table = {
    TracedQueryInterface<IkcSysEnumStringList>, TracedAddRef<IkcSysEnumStringList>,
    TracedRelease<IkcSysEnumStringList>,        TracedNext<IkcSysEnumStringList, QX_WCHAR*>,
    QX_TRACED(IkcSysEnumStringList, Skip),      QX_TRACED(IkcSysEnumStringList, Reset),
    QX_TRACED(IkcSysEnumStringList, Clone),
};

const IkcSysEnumPropertyTagVtbl FaceInfo<IkcSysEnumPropertyTag>::table = {
    TracedQueryInterface<IkcSysEnumPropertyTag>, TracedAddRef<IkcSysEnumPropertyTag>,
    TracedRelease<IkcSysEnumPropertyTag>,        TracedNext<IkcSysEnumPropertyTag, std::uint32_t>,
    QX_TRACED(IkcSysEnumPropertyTag, Skip),      QX_TRACED(IkcSysEnumPropertyTag, Reset),
    QX_TRACED(IkcSysEnumPropertyTag, Clone),
};

const IkcSysPropertyBagCollectionVtbl FaceInfo<IkcSysPropertyBagCollection>::table = {
    TracedQueryInterface<IkcSysPropertyBagCollection>,
    TracedAddRef<IkcSysPropertyBagCollection>,
    TracedRelease<IkcSysPropertyBagCollection>,
    TracedAddPropertyBag,
};

#undef QX_TRACED

} // namespace traced
