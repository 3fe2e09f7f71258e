// The expert's identity, the operations it answers without doing work, and its lifetime.
#include "expert/kcsyszeva.h"

#include "com/widestring.h"
#include "expert/product_version.h"
#include "qxzeva/identifiers.h"

#include <cstdio>
#include <type_traits>

static_assert(!std::is_destructible_v<CkcSysZeva>, "only the last Release may destroy an expert");

namespace {
constexpr char16_t k_displayName[] = u"QX ZEVA Sysapi Expert";
constexpr char16_t k_programmaticName[] = u"qxzeva";
constexpr unsigned k_versionMajor = QX_PRODUCT_VERSION_MAJOR;
constexpr unsigned k_versionMinor = QX_PRODUCT_VERSION_MINOR;
} // namespace

const _GUID CkcSysZeva::s_productID = {
    0x2AB917E5, 0x7A6D, 0x4F53, {0xA3, 0x1F, 0x04, 0x8F, 0x22, 0xA0, 0x56, 0x08}};

const InterfaceEntry* CkcSysZeva::_GetEntries() {
    static const InterfaceEntry _entries[] = {
        {&IID_IkcSysExpertInfo, OffsetOfBase<IkcSysExpert2, CkcSysZeva>(), k_entrySimple},
        {&IID_IkcSysExpert, OffsetOfBase<IkcSysExpert2, CkcSysZeva>(), k_entrySimple},
        {&IID_IkcSysExpert2, OffsetOfBase<IkcSysExpert2, CkcSysZeva>(), k_entrySimple},
        {&IID_IkcSysExpertPlugPlay, OffsetOfBase<IkcSysExpertPlugPlay, CkcSysZeva>(),
         k_entrySimple},
        {nullptr, 0, k_entryEnd}};
    return _entries;
}

CkcSysZeva::CkcSysZeva() = default;

CkcSysZeva::~CkcSysZeva() = default;

HRESULT CkcSysZeva::CopyOutString(const char16_t* text, char16_t** out) {
    if (out == nullptr)
        return E_POINTER;
    *out = AllocWideString(text);
    return *out == nullptr ? E_OUTOFMEMORY : S_OK;
}

HRESULT CkcSysZeva::GetProductID(_GUID* productId) noexcept {
    if (productId == nullptr)
        return E_POINTER;
    *productId = s_productID;
    return S_OK;
}

HRESULT CkcSysZeva::GetProductDisplayName(char16_t** name) noexcept {
    return CopyOutString(k_displayName, name);
}

HRESULT CkcSysZeva::GetProductVersion(char16_t** version) noexcept {
    char narrow[16] = {};
    std::snprintf(narrow, sizeof narrow, "%u.%u", k_versionMajor, k_versionMinor);
    char16_t wide[sizeof narrow] = {};
    for (std::size_t i = 0; i < sizeof narrow && narrow[i] != '\0'; ++i)
        wide[i] = static_cast<unsigned char>(narrow[i]);
    return CopyOutString(wide, version);
}

HRESULT CkcSysZeva::GetProgrammaticName(char16_t** name) noexcept {
    return CopyOutString(k_programmaticName, name);
}

HRESULT CkcSysZeva::Finalize() noexcept {
    // The records stay: later searches still report what Initialize found.
    return S_OK;
}

HRESULT CkcSysZeva::PopulateOrRefreshProperties(const char16_t*, std::uint32_t,
                                                const std::uint32_t*, int,
                                                IkcSysPropertyBag**) noexcept {
    return E_NOTIMPL;
}

HRESULT CkcSysZeva::SetPreferredLocale(kcSysLocale) noexcept {
    return E_NOTIMPL;
}

HRESULT CkcSysZeva::RenameAlias(const char16_t*, const char16_t*, kcSysRenameValidationMode, int*,
                                char16_t**) noexcept {
    return E_NOTIMPL;
}

HRESULT CkcSysZeva::ValidatePropertyChanges(const char16_t*, IkcSysPropertyBag2* bag,
                                            IkcSysEnumPropertyTag** tags,
                                            char16_t** message) noexcept {
    if (message != nullptr)
        *message = nullptr;
    if (tags == nullptr)
        return E_POINTER;
    *tags = nullptr;
    return bag != nullptr ? E_NOTIMPL : E_POINTER;
}

HRESULT CkcSysZeva::PersistPropertyChanges(const char16_t*, IkcSysPropertyBag2* bag,
                                           int*) noexcept {
    return bag != nullptr ? E_NOTIMPL : E_POINTER;
}

HRESULT CkcSysZeva::RegisterNotificationCallback(IkcSysFrameworkNotificationHandler*) noexcept {
    return E_NOTIMPL;
}
