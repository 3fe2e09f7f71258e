// The tracing operations every traced table is made of: each writes the call with its
// arguments, makes it on the module's own pointer with the arguments unchanged, and writes the
// result with the out-values; pointers handed out are traced in turn.
#ifndef QX_HOST_TRACED_CALLS_H
#define QX_HOST_TRACED_CALLS_H

#include "host/trace_names.h"
#include "host/trace_values.h"
#include "host/traced_object.h"

#include <string>
#include <type_traits>

namespace traced {

using trace_values::ArgText;
using trace_values::Number;
using trace_values::OutText;
using trace_values::Quoted;

inline std::string ArgText(IkcSysPropertyBag3* bag) {
    return Label(bag);
}
inline std::string ArgText(IkcSysPropertyBagCollection* collection) {
    return Label(collection);
}
inline std::string ArgText(IkcSysFrameworkNotificationHandler* handler) {
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
inline std::string OutText(CallTrace* trace, IkcSysEnumStringList** names) {
    return OutInterfaceText(trace, names);
}
inline std::string OutText(CallTrace* trace, IkcSysEnumPropertyTag** tags) {
    return OutInterfaceText(trace, tags);
}
inline std::string OutText(CallTrace* trace, IkcSysPropertyBag3** bag) {
    return OutInterfaceText(trace, bag);
}

template <class T>
std::string OutTextIfWritten(CallTrace* trace, T argument) {
    if constexpr (std::is_pointer_v<T>)
        if (argument == nullptr)
            return "";
    return OutText(trace, argument);
}

// "= S_OK -> out, out": the result, and after a success the out-values written.
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
inline IkcSysPropertyBag3* Inward(IkcSysPropertyBag3* bag) {
    return IsTraced(bag) ? From(bag)->inner : bag;
}

// The tracing itself never changes a call: when it runs out of memory it stops, and the calls
// go on untraced.
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

// The bracket of every traced call: the call's line (line()), the call itself (call()), then
// its outcome (outcome(result)). Returns what the call returned.
template <class Line, class Call, class Outcome>
auto TraceCall(CallTrace* trace, const char* operation, Line&& line, Call&& call,
               Outcome&& outcome) {
    const bool tracing = Trace(trace, [&] { trace->Enter(line(), operation); });
    const auto result = call();
    if (tracing)
        Trace(trace, [&] { trace->Leave(outcome(result)); });
    return result;
}

template <class Face>
std::string CallLine(Traced<Face>* traced, const char* operation, const std::string& arguments) {
    return Label(&traced->face) + "::" + operation + "(" + arguments + ")";
}

// A slot of a table, as a type.
template <auto Slot>
struct SlotTag {};

template <class Face, class Slot, class... Args>
auto Forward(const char* operation, Slot TableOf<Face>::*slot, Face* self, Args... args) {
    Traced<Face>* traced = From(self);
    return TraceCall(
        traced->trace, operation, [&] { return CallLine(traced, operation, ArgsText(args...)); },
        [&] { return (traced->inner->lpVtbl->*slot)(traced->inner, Inward(args)...); },
        [&](HRESULT result) { return OutcomeText(traced->trace, result, args...); });
}

// The pointer QueryInterface handed out, traced with the table of the interface asked for,
// and its label. The expert's two interfaces lead to each other; an identifier without a
// tracing table leaves the pointer as the module gave it.
template <class Face>
std::string TraceQueried(CallTrace* trace, const _GUID& iid, void** object) {
    const auto as = [&](auto* typed) {
        auto* wrapped = Wrap(trace, typed);
        *object = wrapped;
        return Label(wrapped);
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
    return TraceCall(
        traced->trace, "QueryInterface",
        [&] { return CallLine(traced, "QueryInterface", ArgText(iid)); },
        [&] { return traced->inner->lpVtbl->QueryInterface(traced->inner, iid, object); },
        [&](HRESULT result) {
            std::string outcome = "= " + HResultName(result);
            if (QX_SUCCEEDED(result) && iid != nullptr && object != nullptr && *object != nullptr)
                outcome += " -> " + TraceQueried<Face>(traced->trace, *iid, object);
            return outcome;
        });
}

template <class Face>
std::int32_t TracedAddRef(Face* self) {
    Traced<Face>* traced = From(self);
    return TraceCall(
        traced->trace, "AddRef", [&] { return CallLine(traced, "AddRef", ""); },
        [&] {
            const std::int32_t count = traced->inner->lpVtbl->AddRef(traced->inner);
            ++traced->holds;
            return count;
        },
        [](std::int32_t count) { return "= " + std::to_string(count); });
}

template <class Face>
std::int32_t TracedRelease(Face* self) {
    Traced<Face>* traced = From(self);
    const std::int32_t count = TraceCall(
        traced->trace, "Release", [&] { return CallLine(traced, "Release", ""); },
        [&] { return traced->inner->lpVtbl->Release(traced->inner); },
        [](std::int32_t left) { return "= " + std::to_string(left); });
    DropHold(self);
    return count;
}

inline std::string ElementText(QX_WCHAR* name) {
    return Quoted(name);
}
inline std::string ElementText(std::uint32_t tag) {
    return Number(tag);
}

// Next of either enumerator: the elements it handed out, then the count it fetched.
template <class Face, class Element>
HRESULT TracedNext(Face* self, std::uint32_t wanted, Element* elements, std::uint32_t* fetched) {
    Traced<Face>* traced = From(self);
    return TraceCall(
        traced->trace, "Next", [&] { return CallLine(traced, "Next", Number(wanted)); },
        [&] { return traced->inner->lpVtbl->Next(traced->inner, wanted, elements, fetched); },
        [&](HRESULT result) {
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
            return outcome;
        });
}

} // namespace traced

#endif
