#include "validate/check.h"

#include "qxzeva/qxzeva_host.h"

#include <cstdio>
#include <cstring>
#include <set>

CheckContext::CheckContext(ModuleUnderTest& module, char* lastOperation, std::uint32_t seed,
                           bool strict)
    : m_module(module), m_lastOperation(lastOperation), m_seed(seed), m_strict(strict) {}

const char* GradeName(Grade grade) {
    return grade == Grade::choice ? "choice" : "must";
}

void CheckContext::OnlyWhenStrict(const std::string& undefinedCall) {
    if (!m_strict)
        Skip("the contract leaves " + undefinedCall +
             " undefined, so only --strict makes the call");
}

void CheckContext::Calling(const std::string& operation) {
    // The parent reads this page after a crash or a time-out: a plain copy, always terminated.
    std::snprintf(m_lastOperation, k_lastOperationSize, "%s", operation.c_str());
}

bool CheckContext::Expect(bool ok, const std::string& rule, const std::string& call,
                          const std::string& got, const std::string& expected) {
    if (!ok)
        m_failures.push_back({rule, call, got, expected, m_grade});
    return ok;
}

bool CheckContext::ExpectChoice(bool ok, const std::string& rule, const std::string& call,
                                const std::string& got, const std::string& expected) {
    if (!ok)
        m_failures.push_back({rule, call, got, expected, Grade::choice});
    return ok;
}

void CheckContext::Require(bool ok, const std::string& rule, const std::string& call,
                           const std::string& got, const std::string& expected) {
    if (!Expect(ok, rule, call, got, expected))
        throw CheckStop();
}

bool CheckContext::ExpectResult(HRESULT result, HRESULT wanted, const std::string& rule,
                                const std::string& call) {
    return Expect(result == wanted, rule, call, ResultText(result), ResultText(wanted));
}

void CheckContext::Skip(const std::string& why) {
    m_skipReason = why;
    throw CheckStop();
}

Ref<IkcSysExpert2> CheckContext::NewExpert() {
    const std::string call = m_module.factoryName + "(&expert)";
    const auto factory = reinterpret_cast<qxCreateExpertFunction>(
        qxModuleFunction(m_module.module, m_module.factoryName.c_str()));
    Require(factory != nullptr, "the module exports its factory",
            "look-up of " + m_module.factoryName, "no such export", "the factory");
    Ref<IkcSysExpert2> expert;
    Calling(call);
    const HRESULT result = factory(expert.put_void());
    Require(result == S_OK && expert, "the factory creates an expert", call,
            ResultText(result) + (expert ? "" : " with a null expert"), "S_OK with an expert");
    return expert;
}

Ref<IkcSysExpert2> CheckContext::InitializedExpert() {
    Ref<IkcSysExpert2> expert = NewExpert();
    Calling("IkcSysExpert2::Initialize()");
    const HRESULT result = expert->lpVtbl->Initialize(expert.get());
    Require(result == S_OK || result == S_FALSE,
            "Initialize succeeds (S_FALSE when the driver does not answer)",
            "IkcSysExpert2::Initialize()", ResultText(result), "S_OK or S_FALSE");
    return expert;
}

std::vector<std::u16string> CheckContext::ItemNames(IkcSysExpert2* expert) {
    std::vector<std::u16string> names;
    Ref<IkcSysEnumStringList> list;
    Calling("IkcSysExpert2::SearchForItemNames(&names)");
    const HRESULT result = expert->lpVtbl->SearchForItemNames(expert, list.put());
    Require((result == S_OK && list) || (result == S_FALSE && !list),
            "SearchForItemNames gives S_OK with an enumerator, or S_FALSE with none",
            "IkcSysExpert2::SearchForItemNames(&names)",
            ResultText(result) + (list ? " with an enumerator" : " with none"),
            "S_OK with an enumerator or S_FALSE with none");
    while (list) {
        QX_WCHAR* name = nullptr;
        std::uint32_t fetched = 0;
        Calling("IkcSysEnumStringList::Next(1, &name, &fetched)");
        const HRESULT next = list->lpVtbl->Next(list.get(), 1, &name, &fetched);
        if (next != S_OK || fetched != 1 || name == nullptr) {
            qxFreeWideString(name);
            break;
        }
        names.push_back(Owned(name));
    }
    return names;
}

Ref<IkcSysPropertyBag3> CheckContext::FirstItemBag(IkcSysExpert2* expert) {
    const std::vector<std::u16string> names = ItemNames(expert);
    if (names.empty())
        Skip("the module lists no items, so it hands out no property bag");
    Ref<IkcSysPropertyBag3> bag;
    const std::string call = "IkcSysExpert2::GetPropertiesOfItem(" + Quoted(names[0]) + ", &bag)";
    Calling(call);
    const HRESULT result = expert->lpVtbl->GetPropertiesOfItem(
        expert, reinterpret_cast<const QX_WCHAR*>(names[0].c_str()), bag.put());
    Require(result == S_OK && bag, "GetPropertiesOfItem hands out a bag for a listed name", call,
            ResultText(result), "S_OK with a bag");
    return bag;
}

const std::vector<ItemTag>& ItemTags() {
#define QX_VALIDATE_ITEM_TAG(constant, tag, type, ...) {tag, type},
    static const std::vector<ItemTag> tags = {QXZEVA_PROPERTY_TABLE(QX_VALIDATE_ITEM_TAG)};
#undef QX_VALIDATE_ITEM_TAG
    return tags;
}

std::vector<std::uint32_t> TagsOf(CheckContext& cx, IkcSysEnumPropertyTag* tags) {
    std::vector<std::uint32_t> listed;
    while (tags != nullptr) {
        std::uint32_t tag = 0;
        std::uint32_t fetched = 0;
        cx.Calling("IkcSysEnumPropertyTag::Next(1, &tag, &fetched)");
        if (tags->lpVtbl->Next(tags, 1, &tag, &fetched) != S_OK || fetched != 1)
            break;
        listed.push_back(tag);
    }
    return listed;
}

std::string ExactText(const PropertyReading& reading) {
    std::string value;
    switch (reading.type) {
    case kcSysAttrTypeBoolean:
    case kcSysAttrTypeInteger:
        value = std::to_string(reading.integer);
        break;
    case kcSysAttrTypeUnsignedInteger:
        value = Hex(reading.unsignedInteger);
        break;
    case kcSysAttrTypeDouble: {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", reading.real);
        value = text;
        break;
    }
    case kcSysAttrTypeString:
        value = reading.isNull ? "null" : Quoted(Utf16(reading.text));
        break;
    default:
        value = reading.text;
    }
    return ResultText(reading.result) + " " + value;
}

HRESULT ReadProperties(CheckContext& cx, IkcSysPropertyBag3* bag,
                       std::vector<PropertyReading>* properties) {
    BagReadOptions options;
    options.calling = [&cx](const std::string& operation) { cx.Calling(operation); };
    options.storedTimestamps = true;
    return ReadBag(reinterpret_cast<IkcSysPropertyBag*>(bag), properties, options);
}

std::string BagDump(CheckContext& cx, IkcSysPropertyBag3* bag) {
    std::string dump;
    std::vector<PropertyReading> properties;
    const HRESULT result = ReadProperties(cx, bag, &properties);
    for (const PropertyReading& property : properties)
        dump += Hex(property.tag) + "=" + ExactText(property) + "; ";
    if (QX_FAILED(result) && (properties.empty() || properties.back().result != result))
        dump += "reading: " + ResultText(result) + "; ";
    Ref<IkcSysEnumPropertyTag> changed;
    cx.Calling("IkcSysPropertyBag3::EnumChangedTags(&tags)");
    bag->lpVtbl->EnumChangedTags(bag, changed.put());
    dump += "changed:";
    for (const std::uint32_t tag : TagsOf(cx, changed.get()))
        dump += " " + Hex(tag);
    return dump;
}

std::string ResultText(HRESULT result) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%08X", static_cast<unsigned>(result));
    const char* name = qxHResultName(result);
    return name != nullptr ? std::string(name) + " (" + number + ")" : std::string(number);
}

std::string Quoted(const std::u16string& text) {
    std::string out = "\"";
    for (const char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '\\') {
            out += static_cast<char>(unit);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
            out += escaped;
        }
    }
    return out + "\"";
}

std::string Quoted(const QX_WCHAR* text) {
    if (text == nullptr)
        return "null";
    return Quoted(std::u16string(reinterpret_cast<const char16_t*>(text)));
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::u16string Utf16(const std::string& utf8) {
    const std::vector<QX_WCHAR> units = qxzeva::ToUtf16(utf8);
    return {units.begin(), units.end() - 1};
}

std::u16string Wide(const char* text) {
    std::u16string wide;
    for (; *text != '\0'; ++text)
        wide += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return wide;
}

std::u16string Owned(QX_WCHAR* text) {
    if (text == nullptr)
        return {};
    std::u16string copy(reinterpret_cast<const char16_t*>(text));
    qxFreeWideString(text);
    return copy;
}

const char* InterfaceName(const _GUID& iid) {
    const qxInterfaceInfo* info = qxFindInterface(&iid);
    return info != nullptr ? info->name : "an unknown identifier";
}
