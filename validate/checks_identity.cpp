// Identity and counting: QueryInterface's rules and reference counts, on every kind of
// object the module hands out.
#include "qxzeva/qxzeva_host.h"
#include "validate/check.h"
#include "validate/checks.h"

namespace {

// An object as it was handed out, with one reference of the check's.
struct Subject {
    std::string label; // "the expert", ...
    Ref<IUnknown> object;
};

Ref<IUnknown> AsUnknown(void* pointer) {
    Ref<IUnknown> held;
    held.attach(static_cast<IUnknown*>(pointer));
    return held;
}

HRESULT Ask(CheckContext& cx, IUnknown* object, const _GUID& iid, void** out,
            const std::string& label) {
    cx.Calling(label + "::QueryInterface(" + InterfaceName(iid) + ", &object)");
    return object->lpVtbl->QueryInterface(object, &iid, out);
}

std::string AskText(const std::string& label, const _GUID& iid) {
    return label + "::QueryInterface(" + InterfaceName(iid) + ", &object)";
}

// The expert, a bag, an item-name enumerator and a tag enumerator, each fresh.
std::vector<Subject> Subjects(CheckContext& cx) {
    std::vector<Subject> subjects;
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysEnumStringList> names;
    cx.Calling("IkcSysExpert2::SearchForItemNames(&names)");
    expert->lpVtbl->SearchForItemNames(expert.get(), names.put());
    Ref<IkcSysPropertyBag3> bag;
    Ref<IkcSysEnumPropertyTag> tags;
    const std::vector<std::u16string> items = cx.ItemNames(expert.get());
    if (!items.empty()) {
        cx.Calling("IkcSysExpert2::GetPropertiesOfItem(name, &bag)");
        expert->lpVtbl->GetPropertiesOfItem(
            expert.get(), reinterpret_cast<const QX_WCHAR*>(items[0].c_str()), bag.put());
    }
    if (bag) {
        cx.Calling("IkcSysPropertyBag3::EnumProperties(&tags)");
        bag->lpVtbl->EnumProperties(bag.get(), tags.put());
    }
    subjects.push_back({"IkcSysExpert2", AsUnknown(expert.detach())});
    if (names)
        subjects.push_back({"IkcSysEnumStringList", AsUnknown(names.detach())});
    if (bag)
        subjects.push_back({"IkcSysPropertyBag3", AsUnknown(bag.detach())});
    if (tags)
        subjects.push_back({"IkcSysEnumPropertyTag", AsUnknown(tags.detach())});
    return subjects;
}

// The identifiers of the interface list the object answers, from the pointer handed out.
std::vector<const qxInterfaceInfo*> Answered(CheckContext& cx, const Subject& subject) {
    std::vector<const qxInterfaceInfo*> answered;
    for (const qxInterfaceInfo& info : qxInterfaces) {
        void* out = nullptr;
        if (Ask(cx, subject.object.get(), *info.iid, &out, subject.label) == S_OK &&
            out != nullptr) {
            answered.push_back(&info);
            static_cast<IUnknown*>(out)->lpVtbl->Release(static_cast<IUnknown*>(out));
        }
    }
    return answered;
}

} // namespace

void CheckUnknownSamePointer(CheckContext& cx) {
    for (const Subject& subject : Subjects(cx)) {
        void* identity = nullptr;
        Ask(cx, subject.object.get(), IID_IUnknown, &identity, subject.label);
        Ref<IUnknown> held = AsUnknown(identity);
        for (const qxInterfaceInfo* info : Answered(cx, subject)) {
            void* face = nullptr;
            Ask(cx, subject.object.get(), *info->iid, &face, subject.label);
            Ref<IUnknown> faceHeld = AsUnknown(face);
            void* again = nullptr;
            const std::string label = std::string(info->name) + " of " + subject.label;
            Ask(cx, faceHeld.get(), IID_IUnknown, &again, label);
            Ref<IUnknown> againHeld = AsUnknown(again);
            cx.Expect(again != nullptr && again == identity,
                      "QueryInterface for IUnknown gives one pointer from every interface",
                      AskText(label, IID_IUnknown), again == identity ? "" : "another pointer",
                      "the pointer the object's first interface gave");
        }
    }
}

void CheckQueryInterfaceRules(CheckContext& cx) {
    for (const Subject& subject : Subjects(cx)) {
        const std::vector<const qxInterfaceInfo*> answered = Answered(cx, subject);
        for (const qxInterfaceInfo* from : answered) {
            void* face = nullptr;
            Ask(cx, subject.object.get(), *from->iid, &face, subject.label);
            Ref<IUnknown> held = AsUnknown(face);
            const std::string label = std::string(from->name) + " of " + subject.label;
            for (const qxInterfaceInfo& to : qxInterfaces) {
                bool expected = false;
                for (const qxInterfaceInfo* a : answered)
                    expected = expected || a == &to;
                void* out = nullptr;
                const HRESULT result = Ask(cx, held.get(), *to.iid, &out, label);
                Ref<IUnknown> outHeld = AsUnknown(out);
                const bool got = result == S_OK && out != nullptr;
                cx.Expect(got == expected,
                          expected ? "QueryInterface is reflexive, symmetric and transitive: "
                                     "every interface answers every identifier the object answers"
                                   : "every interface of an object refuses the identifiers the "
                                     "object refuses",
                          AskText(label, *to.iid), ResultText(result),
                          expected ? "S_OK" : "E_NOINTERFACE");
            }
        }
    }
}

void CheckUnknownIdentifier(CheckContext& cx) {
    const _GUID unknown = {
        0x6B1F0C3Au, 0x52D4, 0x4E11, {0x9A, 0x07, 0x3C, 0x55, 0x1E, 0x80, 0x2D, 0x99}};
    for (const Subject& subject : Subjects(cx)) {
        void* out = &out; // a sentinel: the operation must write null over it
        const HRESULT result = Ask(cx, subject.object.get(), unknown, &out, subject.label);
        cx.Expect(result == E_NOINTERFACE && out == nullptr,
                  "an unknown identifier gives E_NOINTERFACE and a null out-value",
                  AskText(subject.label, unknown) + " with " + qxzeva::GuidText(unknown),
                  ResultText(result) + (out == nullptr ? ", null" : ", not null"),
                  "E_NOINTERFACE, null");
    }
}

void CheckQueryInterfaceNullOut(CheckContext& cx) {
    for (const Subject& subject : Subjects(cx))
        for (const qxInterfaceInfo* info : Answered(cx, subject)) {
            const HRESULT result =
                Ask(cx, subject.object.get(), *info->iid, nullptr, subject.label);
            cx.ExpectResult(result, E_POINTER, "QueryInterface refuses a null out-pointer",
                            subject.label + "::QueryInterface(" + info->name + ", null)");
        }
}

void CheckCounting(CheckContext& cx) {
    const std::string rule = "AddRef and Release return the count after the change, one more and "
                             "one less; an object handed out holds exactly one reference";
    for (Subject& subject : Subjects(cx)) {
        IUnknown* object = subject.object.get();
        const std::string label = subject.label;
        cx.Calling(label + "::AddRef()");
        const int32_t added = object->lpVtbl->AddRef(object);
        cx.Expect(added == 2, rule, label + "::AddRef() on a new object", std::to_string(added),
                  "2");
        void* other = nullptr;
        Ask(cx, object, IID_IUnknown, &other, label);
        cx.Calling(label + "::AddRef()");
        const int32_t afterAsk = object->lpVtbl->AddRef(object);
        cx.Expect(afterAsk == added + 2, "QueryInterface adds one reference",
                  label + "::AddRef() after QueryInterface", std::to_string(afterAsk),
                  std::to_string(added + 2));
        for (int32_t expected : {afterAsk - 1, afterAsk - 2}) {
            IUnknown* releasing = expected == afterAsk - 1 ? object : static_cast<IUnknown*>(other);
            cx.Calling(label + "::Release()");
            const int32_t left = releasing->lpVtbl->Release(releasing);
            cx.Expect(left == expected, rule, label + "::Release()", std::to_string(left),
                      std::to_string(expected));
        }
        cx.Calling(label + "::Release()");
        const int32_t left = object->lpVtbl->Release(object);
        cx.Expect(left == 1, rule, label + "::Release()", std::to_string(left), "1");
        IUnknown* last = subject.object.detach();
        cx.Calling(label + "::Release() of the last reference");
        const int32_t gone = last->lpVtbl->Release(last);
        cx.Expect(gone == 0, "the last Release returns 0",
                  label + "::Release() of the last reference", std::to_string(gone), "0");
    }
}
