#include "host/expert_session.h"

#include "host/host_collection.h"
#include "host/trace_names.h"
#include "host/traced_interfaces.h"
#include "host/unreported_boards.h"
#include "qxzeva/qxzeva_host.h"

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>

namespace {

std::string TakeWide(QX_WCHAR* text) {
    qxzeva::WideString owned;
    *owned.put() = text;
    return owned.utf8();
}

bool SameIgnoringCase(const std::string& left, const std::string& right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) ==
                      std::toupper(static_cast<unsigned char>(b));
           });
}

// The listed name the expert picks for `wanted`: spelled exactly so, else the first that
// matches without regard to case (the module upper-cases only units up to 255, which in the
// C locale leaves every byte of a multi-byte UTF-8 sequence as it is).
std::string ListedSpelling(const std::vector<std::string>& names, const std::string& wanted) {
    if (std::find(names.begin(), names.end(), wanted) != names.end())
        return wanted;
    const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
        return SameIgnoringCase(name, wanted);
    });
    return found == names.end() ? wanted : *found;
}

// At most eight names, as every message about what a selection missed: the first ones
// and how many more.
std::string NamesInOneLine(const std::vector<std::string>& names) {
    if (names.empty())
        return "there are no items";
    return "the items are " + BoundedList(names);
}

} // namespace

ExpertSession::~ExpertSession() {
    Close();
}

void ExpertSession::Close() {
    if (m_expert.get()) {
        m_expert->lpVtbl->Finalize(m_expert.get());
        m_expert.reset();
    }
    if (m_module != nullptr) {
        qxUnloadModule(m_module);
        m_module = nullptr;
    }
}

HostExit ExpertSession::Load(const std::string& modulePath, const std::string& route,
                             std::string* error) {
    // Every message about the module names its path, and where that path came from.
    const auto about = [&](const std::string& reason) {
        return (reason.find(modulePath) == std::string::npos ? reason + ": " + modulePath
                                                             : reason) +
               (route.empty() ? "" : " (" + route + ")");
    };
    qx_load_status status = QX_LOAD_OK;
    char reason[512] = {};
    m_module = qxLoadModule(modulePath.c_str(), &status, reason, sizeof reason);
    if (m_module == nullptr) {
        *error = about(reason);
        return status == QX_LOAD_NO_TABLES ? k_exitExportMissing : k_exitModule;
    }
    const auto factory =
        qxzeva::ModuleFunction<qxCreateExpertFunction>(m_module, QX_FACTORY_SYMBOL);
    m_versions = qxzeva::ModuleFunction<qxVersionArrayFunction>(m_module, QX_VERSION_SYMBOL);
    if (factory == nullptr || m_versions == nullptr) {
        *error = about(std::string("module does not export ") +
                       (factory == nullptr ? QX_FACTORY_SYMBOL : QX_VERSION_SYMBOL));
        return k_exitExportMissing;
    }
    if (m_trace != nullptr)
        m_trace->Enter(QX_FACTORY_SYMBOL "()", QX_FACTORY_SYMBOL);
    const HRESULT result = factory(m_expert.put_void());
    if (m_trace != nullptr) {
        m_expert.attach(TraceExpert(m_trace, m_expert.detach()));
        m_trace->Leave("= " + HResultName(result) + " -> " + TracedLabel(m_expert.get()));
    }
    if (QX_FAILED(result)) {
        *error = "the factory of module " + modulePath + " failed with " + HResultNamed(result);
        return k_exitFactory;
    }
    if (!m_expert) {
        *error = "the factory of module " + modulePath + " returned " + HResultNamed(result) +
                 " but no expert";
        return k_exitFactory;
    }
    return k_exitOk;
}

HostExit ExpertSession::Identify(HostReport* report, std::string* error) {
    const IkcSysExpert2Vtbl* table = m_expert->lpVtbl;
    using Getter = HRESULT (*)(IkcSysExpert2*, QX_WCHAR**);
    HRESULT result = S_OK;
    const auto ask = [&](Getter getter, std::string* out) {
        QX_WCHAR* text = nullptr;
        if (QX_SUCCEEDED(result))
            result = getter(m_expert.get(), &text);
        *out = TakeWide(text);
    };
    ask(table->GetProductDisplayName, &report->displayName);
    ask(table->GetProgrammaticName, &report->programmaticName);
    ask(table->GetProductVersion, &report->version);
    _GUID id{};
    if (QX_SUCCEEDED(result))
        result = table->GetProductID(m_expert.get(), &id);
    if (QX_FAILED(result)) {
        *error = "the expert did not tell its identity: " + HResultNamed(result);
        return k_exitOperation;
    }
    report->productId = qxzeva::GuidText(id);
    if (m_trace != nullptr)
        m_trace->Enter(QX_VERSION_SYMBOL "()", QX_VERSION_SYMBOL);
    for (const char* const* entry = m_versions(); *entry != nullptr; ++entry)
        report->versionRecord.emplace_back(*entry);
    if (m_trace != nullptr)
        m_trace->Leave("-> " + std::to_string(report->versionRecord.size()) + " entries");
    return k_exitOk;
}

HostExit ExpertSession::Initialize(std::string* error) {
    const HRESULT result = m_expert->lpVtbl->Initialize(m_expert.get());
    if (result == S_FALSE) {
        *error = "the image driver did not answer: Initialize returned " + HResultNamed(result);
        return k_exitInitialize;
    }
    if (QX_FAILED(result)) {
        *error = "Initialize failed with " + HResultNamed(result);
        return k_exitOperation;
    }
    return k_exitOk;
}

HostExit ExpertSession::ListNames(HostReport* report, std::string* error) {
    qxzeva::Ref<IkcSysEnumStringList> names;
    HRESULT result = m_expert->lpVtbl->SearchForItemNames(m_expert.get(), names.put());
    if (QX_FAILED(result)) {
        *error = "SearchForItemNames failed with " + HResultNamed(result);
        return k_exitOperation;
    }
    if (result == S_FALSE || !names)
        return k_exitOk; // no items
    QX_WCHAR* name = nullptr;
    std::uint32_t fetched = 0;
    while ((result = names->lpVtbl->Next(names.get(), 1, &name, &fetched)) == S_OK && fetched == 1)
        report->itemNames.push_back(TakeWide(name));
    names.reset();
    if (QX_FAILED(result)) {
        *error = "walking the item names failed with " + HResultNamed(result);
        return k_exitOperation;
    }
    return k_exitOk;
}

HostExit ExpertSession::ReportAll(HostReport* report, std::string* error) {
    HostCollection collection;
    IkcSysPropertyBagCollection* given = collection.Interface();
    if (m_trace != nullptr)
        given = TraceHostCollection(m_trace, given);
    const HRESULT result = m_expert->lpVtbl->SearchForItemsAndProperties(m_expert.get(), given);
    if (m_trace != nullptr)
        EndHostHold(given);
    if (QX_FAILED(result)) {
        *error = "SearchForItemsAndProperties failed with " + HResultNamed(result);
        return k_exitOperation;
    }
    for (const qxzeva::Ref<IkcSysPropertyBag>& bag : collection.Bags()) {
        ItemReading item;
        const HRESULT read = ReadBag(bag.get(), &item.properties);
        if (QX_FAILED(read)) {
            *error = "reading a property bag failed with " + HResultNamed(read);
            return k_exitOperation;
        }
        for (const PropertyReading& property : item.properties)
            if (property.tag == kcSysTagItemName)
                item.name = property.text;
        report->items.push_back(std::move(item));
    }
    return k_exitOk;
}

HostExit ExpertSession::ReportItem(const std::string& name, HostReport* report,
                                   std::string* error) {
    const std::vector<QX_WCHAR> wide = qxzeva::ToUtf16(name);
    qxzeva::Ref<IkcSysPropertyBag> bag;
    const HRESULT result =
        m_expert->lpVtbl->GetPropertiesOfItem(m_expert.get(), wide.data(), bag.put());
    if (result == E_ITEM_NOT_FOUND) {
        *error = "no item named '" + name + "'; " + NamesInOneLine(report->itemNames);
        return k_exitUnknownItem;
    }
    if (QX_FAILED(result) || !bag) {
        *error = "GetPropertiesOfItem " +
                 std::string(QX_FAILED(result) ? "failed with " : "returned ") +
                 HResultNamed(result) + (QX_FAILED(result) ? "" : " but no property bag");
        return k_exitOperation;
    }
    ItemReading item;
    item.name = name;
    report->listedItem = ListedSpelling(report->itemNames, name);
    const HRESULT read = ReadBag(bag.get(), &item.properties);
    bag.reset();
    if (QX_FAILED(read)) {
        *error = "reading the property bag failed with " + HResultNamed(read);
        return k_exitOperation;
    }
    report->items.push_back(std::move(item));
    return k_exitOk;
}
