#include "host/traced_interfaces.h"

#include "host/trace_names.h"
#include "host/trace_values.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

namespace {

using trace_values::ArgText;
using trace_values::Number;
using trace_values::OutText;
using trace_values::Quoted;

template <class Face>
using TableOf = std::remove_const_t<std::remove_pointer_t<decltype(Face::lpVtbl)>>;

bool Is(const _GUID& iid, const _GUID& wanted) {
    return std::memcmp(&iid, &wanted, sizeof iid) == 0;
}

// What the trace calls each interface, its tracing table, and the identifiers whose
// pointers QueryInterface hands out with that table (the module answers them with one
// pointer to the whole table).
template <class Face>
struct FaceInfo;

template <>
struct FaceInfo<IkcSysExpert2> {
    static constexpr const char* name = "IkcSysExpert2";
    static const IkcSysExpert2Vtbl table;
    static bool Answers(const _GUID& iid) {
        return Is(iid, IID_IUnknown) || Is(iid, IID_IkcSysExpertInfo) ||
               Is(iid, IID_IkcSysExpert) || Is(iid, IID_IkcSysExpert2);
    }
};

// The expert's IUnknown is its IkcSysExpert2 pointer: only IkcSysExpertPlugPlay's own
// identifier gives this table.
template <>
struct FaceInfo<IkcSysExpertPlugPlay> {
    static constexpr const char* name = "IkcSysExpertPlugPlay";
    static const IkcSysExpertPlugPlayVtbl table;
    static bool Answers(const _GUID& iid) { return Is(iid, IID_IkcSysExpertPlugPlay); }
};

template <>
struct FaceInfo<IkcSysPropertyBag3> {
    static constexpr const char* name = "IkcSysPropertyBag3";
    static const IkcSysPropertyBag3Vtbl table;
    static bool Answers(const _GUID& iid) {
        return Is(iid, IID_IUnknown) || Is(iid, IID_IkcSysPropertyBag) ||
               Is(iid, IID_IkcSysPropertyBag2) || Is(iid, IID_IkcSysPropertyBag3);
    }
};

template <>
struct FaceInfo<IkcSysEnumStringList> {
    static constexpr const char* name = "IkcSysEnumStringList";
    static const IkcSysEnumStringListVtbl table;
    static bool Answers(const _GUID& iid) {
        return Is(iid, IID_IUnknown) || Is(iid, IID_IkcSysEnumStringList);
    }
};

template <>
struct FaceInfo<IkcSysEnumPropertyTag> {
    static constexpr const char* name = "IkcSysEnumPropertyTag";
    static const IkcSysEnumPropertyTagVtbl table;
    static bool Answers(const _GUID& iid) {
        return Is(iid, IID_IUnknown) || Is(iid, IID_IkcSysEnumPropertyTag);
    }
};

template <>
struct FaceInfo<IkcSysPropertyBagCollection> {
    static constexpr const char* name = "IkcSysPropertyBagCollection";
    static const IkcSysPropertyBagCollectionVtbl table;
    static bool Answers(const _GUID& iid) { return Is(iid, IID_IUnknown); }
};

// One traced pointer. It stands for as many of the inner object's references as were
// taken through it, and goes with the last of them; it starts with the one its maker holds.
template <class Face>
struct Traced {
    Traced(CallTrace* trace_, Face* inner_)
        : face{&FaceInfo<Face>::table}, inner(inner_), trace(trace_),
          label(std::string(FaceInfo<Face>::name) + "#" +
                std::to_string(trace_->NextObjectNumber())) {}

    Face face; // first: the traced pointer is this object's address
    Face* inner;
    CallTrace* trace;
    std::string label;
    std::atomic<std::int32_t> holds{1};
};

template <class Face>
Traced<Face>* From(Face* self) {
    return reinterpret_cast<Traced<Face>*>(self);
}

template <class Face>
bool IsTraced(Face* pointer) {
    return pointer != nullptr && pointer->lpVtbl == &FaceInfo<Face>::table;
}

// Throws only when out of memory; the callers turn that into an untraced pointer.
template <class Face>
Face* Wrap(CallTrace* trace, Face* inner) {
    if (inner == nullptr)
        return nullptr;
    return &(new Traced<Face>(trace, inner))->face;
}

template <class Face>
void DropHold(Face* traced) {
    Traced<Face>* object = From(traced);
    if (--object->holds == 0)
        delete object;
}

template <class Face>
std::string Label(Face* pointer) {
    if (pointer == nullptr)
        return "null";
    if (IsTraced(pointer))
        return From(pointer)->label;
    char text[64];
    std::snprintf(text, sizeof text, "%s@%p", FaceInfo<Face>::name, static_cast<void*>(pointer));
    return text;
}

std::string ArgText(IkcSysPropertyBag3* bag) {
    return Label(bag);
}
std::string ArgText(IkcSysPropertyBagCollection* collection) {
    return Label(collection);
}
std::string ArgText(IkcSysFrameworkNotificationHandler* handler) {
    char text[32];
    std::snprintf(text, sizeof text, "handler@%p", static_cast<void*>(handler));
    return handler == nullptr ? "null" : text;
}

template <class... Args>
std::string ArgsText(Args... args) {
    std::string text;
    for (const std::string& part : {std::string(), ArgText(args)...})
        if (!part.empty())
            text += (text.empty() ? "" : ", ") + part;
    return text;
}

template <class Face>
std::string OutInterfaceText(CallTrace* trace, Face** pointer) {
    *pointer = Wrap(trace, *pointer);
    return Label(*pointer);
}
std::string OutText(CallTrace* trace, IkcSysEnumStringList** names) {
    return OutInterfaceText(trace, names);
}
std::string OutText(CallTrace* trace, IkcSysEnumPropertyTag** tags) {
    return OutInterfaceText(trace, tags);
}
std::string OutText(CallTrace* trace, IkcSysPropertyBag3** bag) {
    return OutInterfaceText(trace, bag);
}

template <class T>
std::string OutTextIfWritten(CallTrace* trace, T argument) {
    if constexpr (std::is_pointer_v<T>)
        if (argument == nullptr)
            return "";
    return OutText(trace, argument);
}

template <class... Args>
std::string OutcomeText([[maybe_unused]] CallTrace* trace, HRESULT result, Args... args) {
    std::string text = "= " + HResultName(result);
    if (QX_FAILED(result))
        return text;
    std::string outs;
    for (const std::string& part : {std::string(), OutTextIfWritten(trace, args)...})
        if (!part.empty())
            outs += (outs.empty() ? "" : ", ") + part;
    return outs.empty() ? text : text + " -> " + outs;
}

// A bag the host passes to the module goes as the module's own pointer.
template <class T>
T Inward(T argument) {
    return argument;
}
IkcSysPropertyBag3* Inward(IkcSysPropertyBag3* bag) {
    return IsTraced(bag) ? From(bag)->inner : bag;
}

// The tracing itself never changes a call: when it runs out of memory it stops, and the
// calls go on untraced.
template <class Work>
bool Trace(CallTrace* trace, Work&& work) noexcept {
    if (trace->Stopped())
        return false;
    try {
        work();
        return true;
    } catch (...) {
        trace->Stop();
        return false;
    }
}

template <class Face, class Slot, class... Args>
auto Forward(const char* operation, Slot TableOf<Face>::*slot, Face* self, Args... args) {
    Traced<Face>* traced = From(self);
    CallTrace* trace = traced->trace;
    const bool tracing = Trace(trace, [&] {
        trace->Enter(traced->label + "::" + operation + "(" + ArgsText(args...) + ")", operation);
    });
    const HRESULT result = (traced->inner->lpVtbl->*slot)(traced->inner, Inward(args)...);
    if (tracing)
        Trace(trace, [&] { trace->Leave(OutcomeText(trace, result, args...)); });
    return result;
}

// The pointer QueryInterface handed out, traced with the table of the interface asked for,
// and its label. The expert's two interfaces lead to each other; an identifier without a
// tracing table leaves the pointer as the module gave it.
template <class Face>
std::string TraceQueried(CallTrace* trace, const _GUID& iid, void** object) {
    const auto as = [&](auto* typed) {
        auto* traced = Wrap(trace, typed);
        *object = traced;
        return Label(traced);
    };
    if (FaceInfo<Face>::Answers(iid))
        return as(static_cast<Face*>(*object));
    if (std::is_same_v<Face, IkcSysExpert2> && FaceInfo<IkcSysExpertPlugPlay>::Answers(iid))
        return as(static_cast<IkcSysExpertPlugPlay*>(*object));
    if (std::is_same_v<Face, IkcSysExpertPlugPlay> && FaceInfo<IkcSysExpert2>::Answers(iid))
        return as(static_cast<IkcSysExpert2*>(*object));
    return "untraced pointer";
}

template <class Face>
HRESULT TracedQueryInterface(Face* self, const _GUID* iid, void** object) {
    Traced<Face>* traced = From(self);
    CallTrace* trace = traced->trace;
    const bool tracing = Trace(trace, [&] {
        trace->Enter(traced->label + "::QueryInterface(" + ArgText(iid) + ")", "QueryInterface");
    });
    const HRESULT result = traced->inner->lpVtbl->QueryInterface(traced->inner, iid, object);
    if (tracing)
        Trace(trace, [&] {
            std::string outcome = "= " + HResultName(result);
            if (QX_SUCCEEDED(result) && iid != nullptr && object != nullptr && *object != nullptr)
                outcome += " -> " + TraceQueried<Face>(trace, *iid, object);
            trace->Leave(outcome);
        });
    return result;
}

template <class Face>
std::int32_t TracedAddRef(Face* self) {
    Traced<Face>* traced = From(self);
    const bool tracing =
        Trace(traced->trace, [&] { traced->trace->Enter(traced->label + "::AddRef()", "AddRef"); });
    const std::int32_t count = traced->inner->lpVtbl->AddRef(traced->inner);
    ++traced->holds;
    if (tracing)
        Trace(traced->trace, [&] { traced->trace->Leave("= " + std::to_string(count)); });
    return count;
}

template <class Face>
std::int32_t TracedRelease(Face* self) {
    Traced<Face>* traced = From(self);
    CallTrace* trace = traced->trace;
    const bool tracing =
        Trace(trace, [&] { trace->Enter(traced->label + "::Release()", "Release"); });
    const std::int32_t count = traced->inner->lpVtbl->Release(traced->inner);
    if (tracing)
        Trace(trace, [&] { trace->Leave("= " + std::to_string(count)); });
    DropHold(self);
    return count;
}

std::string ElementText(QX_WCHAR* name) {
    return Quoted(name);
}
std::string ElementText(std::uint32_t tag) {
    return Number(tag);
}

// Next of either enumerator: the elements it handed out, then the count it fetched.
template <class Face, class Element>
HRESULT TracedNext(Face* self, std::uint32_t wanted, Element* elements, std::uint32_t* fetched) {
    Traced<Face>* traced = From(self);
    CallTrace* trace = traced->trace;
    const bool tracing = Trace(
        trace, [&] { trace->Enter(traced->label + "::Next(" + Number(wanted) + ")", "Next"); });
    const HRESULT result = traced->inner->lpVtbl->Next(traced->inner, wanted, elements, fetched);
    if (tracing)
        Trace(trace, [&] {
            std::string outcome = "= " + HResultName(result);
            if (QX_SUCCEEDED(result) && elements != nullptr) {
                const std::uint32_t count =
                    fetched != nullptr ? *fetched : (result == S_OK ? wanted : 0);
                std::string list;
                for (std::uint32_t i = 0; i < count; ++i)
                    list += (i == 0 ? "" : ", ") + ElementText(elements[i]);
                outcome += " -> [" + list + "]";
                if (fetched != nullptr)
                    outcome += ", " + Number(*fetched);
            }
            trace->Leave(outcome);
        });
    return result;
}

// The module gives the host's collection a bag: the host sees it traced. The traced bag's
// first hold is this call's own, ended when the call returns; the host's AddRef through it
// keeps it.
HRESULT TracedAddPropertyBag(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag) {
    Traced<IkcSysPropertyBagCollection>* traced = From(self);
    CallTrace* trace = traced->trace;
    IkcSysPropertyBag* given = bag;
    const bool tracing = Trace(trace, [&] {
        given = Wrap(trace, bag);
        trace->Enter(traced->label + "::AddPropertyBag(" + Label(given) + ")", "AddPropertyBag");
    });
    const HRESULT result = traced->inner->lpVtbl->AddPropertyBag(traced->inner, given);
    if (tracing)
        Trace(trace, [&] { trace->Leave("= " + HResultName(result)); });
    if (IsTraced(given))
        DropHold(given);
    return result;
}

} // namespace

// Each slot of a table below forwards through Forward, named by the slot.
// slot is a member's name, not an expression to put in parentheses.
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

IkcSysExpert2* TraceExpert(CallTrace* trace, IkcSysExpert2* expert) {
    IkcSysExpert2* traced = expert;
    Trace(trace, [&] { traced = Wrap(trace, expert); });
    return traced;
}

std::string TracedLabel(IkcSysExpert2* expert) {
    return Label(expert);
}

IkcSysPropertyBagCollection* TraceHostCollection(CallTrace* trace,
                                                 IkcSysPropertyBagCollection* collection) {
    IkcSysPropertyBagCollection* traced = collection;
    Trace(trace, [&] { traced = Wrap(trace, collection); });
    return traced;
}

void EndHostHold(IkcSysPropertyBagCollection* traced) {
    if (IsTraced(traced))
        DropHold(traced);
}
