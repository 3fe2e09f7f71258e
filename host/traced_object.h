// One traced pointer: the object whose address the host is given in place of the module's
// pointer, its table of tracing operations, and the names it is shown by. Shared by the
// tracing operations (traced_calls.h), the tables (traced_tables.cpp) and the entry points
// (traced_interfaces.cpp).
#ifndef QX_HOST_TRACED_OBJECT_H
#define QX_HOST_TRACED_OBJECT_H

#include "cli/c_view.h"
#include "host/call_trace.h"

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <string>
#include <type_traits>

namespace traced {

template <class Face>
using TableOf = std::remove_const_t<std::remove_pointer_t<decltype(Face::lpVtbl)>>;

// Whether the module answers iid with a pointer of the family: the identifier's family, or
// IUnknown where the object's IUnknown is that pointer.
inline bool InFamily(const _GUID& iid, qxInterfaceFamily family, bool answersUnknown) {
    const qxInterfaceInfo* entry = qxFindInterface(&iid);
    if (entry == nullptr)
        return false;
    return entry->family == QX_FAMILY_UNKNOWN ? answersUnknown : entry->family == family;
}

// What the trace calls each interface, its tracing table, and the identifiers whose pointers
// QueryInterface hands out with that table (the module answers the identifiers of a family
// with one pointer to the whole table). Names come from the module's table of identifiers.
template <class Face>
struct FaceInfo;

template <qxInterfaceFamily Family, const _GUID& Newest, bool AnswersUnknown = true>
struct ModuleFace {
    static const char* Name() { return qxFindInterface(&Newest)->name; }
    static bool Answers(const _GUID& iid) { return InFamily(iid, Family, AnswersUnknown); }
};

template <>
struct FaceInfo<IkcSysExpert2> : ModuleFace<QX_FAMILY_EXPERT, IID_IkcSysExpert2> {
    static const IkcSysExpert2Vtbl table;
};
// The expert's IUnknown is its IkcSysExpert2 pointer: only IkcSysExpertPlugPlay's own
// identifier gives this table.
template <>
struct FaceInfo<IkcSysExpertPlugPlay>
    : ModuleFace<QX_FAMILY_EXPERT_PLUG_PLAY, IID_IkcSysExpertPlugPlay, false> {
    static const IkcSysExpertPlugPlayVtbl table;
};
template <>
struct FaceInfo<IkcSysPropertyBag3> : ModuleFace<QX_FAMILY_PROPERTY_BAG, IID_IkcSysPropertyBag3> {
    static const IkcSysPropertyBag3Vtbl table;
};
template <>
struct FaceInfo<IkcSysEnumStringList>
    : ModuleFace<QX_FAMILY_ENUM_STRING_LIST, IID_IkcSysEnumStringList> {
    static const IkcSysEnumStringListVtbl table;
};
template <>
struct FaceInfo<IkcSysEnumPropertyTag>
    : ModuleFace<QX_FAMILY_ENUM_PROPERTY_TAG, IID_IkcSysEnumPropertyTag> {
    static const IkcSysEnumPropertyTagVtbl table;
};
// The host's own interface: the module defines no identifier for it.
template <>
struct FaceInfo<IkcSysPropertyBagCollection> {
    static const char* Name() { return "IkcSysPropertyBagCollection"; }
    static bool Answers(const _GUID& iid) { return qxSameGuid(&iid, &IID_IUnknown) != 0; }
    static const IkcSysPropertyBagCollectionVtbl table;
};

// One traced pointer. It stands for as many of the inner object's references as were taken
// through it, and goes with the last of them; it starts with the one its maker holds.
template <class Face>
struct Traced {
    Face face; // first: the traced pointer is this object's address
    Face* inner;
    CallTrace* trace;
    int number; // shown as Interface#number
    std::atomic<std::int32_t> holds;
};

// The traced pointer is cast back to its object: that holds only for a standard-layout object
// whose first member is the interface.
// Face names a type in a template argument, where parentheses do not belong.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QX_TRACED_LAYOUT(Face)                                                                     \
    static_assert(std::is_standard_layout_v<Traced<Face>> && offsetof(Traced<Face>, face) == 0,    \
                  "a traced " #Face " starts with its interface");
// NOLINTEND(bugprone-macro-parentheses)
QX_TRACED_LAYOUT(IkcSysExpert2)
QX_TRACED_LAYOUT(IkcSysExpertPlugPlay)
QX_TRACED_LAYOUT(IkcSysPropertyBag3)
QX_TRACED_LAYOUT(IkcSysEnumStringList)
QX_TRACED_LAYOUT(IkcSysEnumPropertyTag)
QX_TRACED_LAYOUT(IkcSysPropertyBagCollection)
#undef QX_TRACED_LAYOUT

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
    return &(new Traced<Face>{{&FaceInfo<Face>::table}, inner, trace, trace->NextObjectNumber(), 1})
                ->face;
}

template <class Face>
void DropHold(Face* traced) {
    Traced<Face>* object = From(traced);
    if (--object->holds == 0)
        delete object;
}

// "IkcSysPropertyBag3#4" for a traced pointer, "IkcSysPropertyBag3@0x..." for another one.
template <class Face>
std::string Label(Face* pointer) {
    if (pointer == nullptr)
        return "null";
    if (IsTraced(pointer))
        return std::string(FaceInfo<Face>::Name()) + "#" + std::to_string(From(pointer)->number);
    char text[64];
    std::snprintf(text, sizeof text, "%s@%p", FaceInfo<Face>::Name(), static_cast<void*>(pointer));
    return text;
}

} // namespace traced

#endif
