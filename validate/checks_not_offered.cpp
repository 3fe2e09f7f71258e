// The expert's operations it does not offer: each answers E_NOTIMPL (or E_POINTER as its
// contract says) and writes nothing it is not told to.
#include "validate/check.h"
#include "validate/checks.h"

namespace {

// A notification handler that counts every call the module makes on it: the first three slots
// are IUnknown's, the rest catch any other call.
struct Handler {
    const void* const* lpVtbl;
    int calls = 0;
};

HRESULT HandlerAsk(Handler* self, const _GUID*, void** out) {
    ++self->calls;
    if (out != nullptr)
        *out = nullptr;
    return E_NOINTERFACE;
}
int32_t HandlerCount(Handler* self) {
    ++self->calls;
    return 1;
}
HRESULT HandlerOther(Handler* self) {
    ++self->calls;
    return S_OK;
}

const void* const k_handlerTable[] = {
    reinterpret_cast<const void*>(&HandlerAsk),   reinterpret_cast<const void*>(&HandlerCount),
    reinterpret_cast<const void*>(&HandlerCount), reinterpret_cast<const void*>(&HandlerOther),
    reinterpret_cast<const void*>(&HandlerOther), reinterpret_cast<const void*>(&HandlerOther),
    reinterpret_cast<const void*>(&HandlerOther), reinterpret_cast<const void*>(&HandlerOther)};

} // namespace

void CheckNotOffered(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    const auto* v = expert->lpVtbl;
    const std::string rule = "an operation the expert does not offer returns E_NOTIMPL and writes "
                             "none of its out-values";
    auto* sentinel = reinterpret_cast<IkcSysPropertyBag3*>(&cx);
    IkcSysPropertyBag3* bag = sentinel;
    const std::uint32_t tags[1] = {0x01007000u};
    std::string call = "IkcSysExpert2::PopulateOrRefreshProperties(\"img0\", 1, tags, 1, &bag)";
    cx.Calling(call);
    HRESULT result = v->PopulateOrRefreshProperties(
        expert.get(), reinterpret_cast<const QX_WCHAR*>(u"img0"), 1, tags, 1, &bag);
    cx.Expect(result == E_NOTIMPL && bag == sentinel, rule, call,
              ResultText(result) + (bag == sentinel ? "" : ", bag written"),
              "E_NOTIMPL, bag unwritten");
    call = "IkcSysExpert2::SetPreferredLocale(0)";
    cx.Calling(call);
    cx.ExpectCall(
        call, [&] { return v->SetPreferredLocale(expert.get(), 0); }, E_NOTIMPL, rule);
    int valid = 0x5A5A;
    QX_WCHAR* message = reinterpret_cast<QX_WCHAR*>(&valid);
    call = "IkcSysExpert2::RenameAlias(\"a\", \"b\", 0, &valid, &message)";
    cx.Calling(call);
    result = v->RenameAlias(expert.get(), reinterpret_cast<const QX_WCHAR*>(u"a"),
                            reinterpret_cast<const QX_WCHAR*>(u"b"), 0, &valid, &message);
    const bool untouched = valid == 0x5A5A && message == reinterpret_cast<QX_WCHAR*>(&valid);
    cx.Expect(result == E_NOTIMPL && untouched, rule, call,
              ResultText(result) + (untouched ? "" : ", out-values written"),
              "E_NOTIMPL, out-values unwritten");
}

void CheckPlugPlay(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.NewExpert();
    Ref<IkcSysExpertPlugPlay> plugPlay;
    cx.Calling("IkcSysExpert2::QueryInterface(IkcSysExpertPlugPlay, &object)");
    if (expert->lpVtbl->QueryInterface(expert.get(), &IID_IkcSysExpertPlugPlay,
                                       plugPlay.put_void()) != S_OK ||
        !plugPlay)
        cx.Skip("the expert has no IkcSysExpertPlugPlay interface");
    Handler handler{k_handlerTable};
    auto* face = reinterpret_cast<IkcSysFrameworkNotificationHandler*>(&handler);
    const std::string rule = "RegisterNotificationCallback is not offered: E_NOTIMPL, the "
                             "handler neither called nor kept";
    for (IkcSysFrameworkNotificationHandler* given :
         {face, static_cast<IkcSysFrameworkNotificationHandler*>(nullptr)}) {
        const std::string call =
            std::string("IkcSysExpertPlugPlay::RegisterNotificationCallback(") +
            (given != nullptr ? "handler)" : "null)");
        cx.Calling(call);
        cx.ExpectCall(
            call,
            [&] { return plugPlay->lpVtbl->RegisterNotificationCallback(plugPlay.get(), given); },
            E_NOTIMPL, rule);
    }
    plugPlay.reset();
    expert.reset();
    cx.Expect(handler.calls == 0, rule,
              "RegisterNotificationCallback(handler), then the last Release",
              std::to_string(handler.calls) + " calls on the handler", "none");
}

void CheckPropertyChanges(CheckContext& cx) {
    Ref<IkcSysExpert2> expert = cx.InitializedExpert();
    Ref<IkcSysPropertyBag3> bag = cx.FirstItemBag(expert.get());
    const auto* v = expert->lpVtbl;
    const auto* name = reinterpret_cast<const QX_WCHAR*>(u"img0");
    struct Case {
        const char* call;
        bool withBag, withTags, withMessage;
        HRESULT expected;
    };
    const Case cases[] = {
        {"ValidatePropertyChanges(name, bag, &tags, &message)", true, true, true, E_NOTIMPL},
        {"ValidatePropertyChanges(name, null, &tags, &message)", false, true, true, E_POINTER},
        {"ValidatePropertyChanges(name, bag, null, &message)", true, false, true, E_POINTER},
        {"ValidatePropertyChanges(name, bag, &tags, null)", true, true, false, E_NOTIMPL},
    };
    for (const Case& c : cases) {
        const std::string call = std::string("IkcSysExpert2::") + c.call;
        auto* tags = reinterpret_cast<IkcSysEnumPropertyTag*>(&cx);
        auto* message = reinterpret_cast<QX_WCHAR*>(&cx);
        cx.Calling(call);
        const HRESULT result = v->ValidatePropertyChanges(
            expert.get(), name, c.withBag ? bag.get() : nullptr, c.withTags ? &tags : nullptr,
            c.withMessage ? &message : nullptr);
        const bool cleared =
            (!c.withTags || tags == nullptr) && (!c.withMessage || message == nullptr);
        cx.Expect(result == c.expected && cleared,
                  "ValidatePropertyChanges is not offered: its out-values set to null, E_POINTER "
                  "without a bag or a tag out-pointer, else E_NOTIMPL",
                  call, ResultText(result) + (cleared ? "" : ", an out-value not null"),
                  ResultText(c.expected) + ", out-values null");
    }
    int flag = 0x5A5A;
    for (const bool withBag : {true, false}) {
        const std::string call = std::string("IkcSysExpert2::PersistPropertyChanges(name, ") +
                                 (withBag ? "bag" : "null") + ", &flag)";
        cx.Calling(call);
        const HRESULT result =
            v->PersistPropertyChanges(expert.get(), name, withBag ? bag.get() : nullptr, &flag);
        cx.Expect(result == (withBag ? E_NOTIMPL : E_POINTER) && flag == 0x5A5A,
                  "PersistPropertyChanges is not offered: E_NOTIMPL, E_POINTER without a bag, the "
                  "flag unwritten",
                  call, ResultText(result) + (flag == 0x5A5A ? "" : ", flag written"),
                  withBag ? "E_NOTIMPL" : "E_POINTER");
    }
}
