/** @file
    What a C++ host of the expert module needs beside the interfaces, for either view (the C++
    view of qxzeva/qxzeva_cxx.h or the C view): qxzeva::Ref (ref.h), a holder that counts an
    interface reference, the expert's creation and a typed look-up of the module's exports, an
    owner of the wide strings the module hands out, UTF-16 <-> UTF-8 conversion, identifier
    text and comparison, the names of the result codes, and the version the host is built
    against (qxzeva_version.h). Header-only, C++17; includes only installed headers and brings
    no name into the global namespace but the C functions and macros of the headers it
    includes. Include it as "qxzeva/qxzeva_host.h"; examples/cpp/host.cpp shows it in use. */
#ifndef QXZEVA_HOSTKIT_QXZEVA_HOST_H
#define QXZEVA_HOSTKIT_QXZEVA_HOST_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/module_loader.h"
#include "qxzeva/qxzeva_c.h"
#include "qxzeva/qxzeva_version.h"
#include "qxzeva/ref.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

/// @cond internal
namespace qxzeva::cxx {
class IUnknown;
class IkcSysExpert2;
class IkcSysExpert;
class IkcSysExpertInfo;
} // namespace qxzeva::cxx
/// @endcond

/** The C++ helpers for hosts of the C view. */
namespace qxzeva {

/** The exported function name of a loaded module, as the function type Function (such as
    qxCreateExpertFunction); null when the module does not export it. */
template <class Function>
Function ModuleFunction(qx_module* module, const char* name) noexcept {
    static_assert(std::is_pointer_v<Function> &&
                      std::is_function_v<std::remove_pointer_t<Function>>,
                  "Function is a pointer to a function");
    // One function pointer type to another and back is exact.
    return reinterpret_cast<Function>(qxModuleFunction(module, name));
}

/// @cond internal
namespace detail {
// Whether Expert is an interface the factory's pointer may be used as: the expert's own or
// IUnknown, which its table starts with, of either view. The C++ classes are declared, not
// defined, so that a host of the C view needs no C++ view.
template <class Expert>
inline constexpr bool IsExpertInterface =
    std::is_same_v<Expert, qxzeva::cxx::IkcSysExpert2> ||
    std::is_same_v<Expert, qxzeva::cxx::IkcSysExpert> ||
    std::is_same_v<Expert, qxzeva::cxx::IkcSysExpertInfo> ||
    std::is_same_v<Expert, qxzeva::cxx::IUnknown> ||
    std::is_same_v<Expert, qxzeva::c::IkcSysExpert2> || std::is_same_v<Expert, qxzeva::c::IUnknown>;
} // namespace detail
/// @endcond

/** Creates the expert through the module's factory (QX_FACTORY_SYMBOL) into *expert, of
    either view: `qxzeva::Ref<IkcSysExpert2> expert; CreateExpert(module, expert.put());`.
    Only the expert's interfaces compile: IkcSysExpert2, IkcSysExpert, IkcSysExpertInfo or
    IUnknown of the C++ view, qxzeva::c::IkcSysExpert2 or qxzeva::c::IUnknown of the C view;
    a holder of any other interface (a bag's) would hold the expert's pointer as the wrong
    table. S_OK with one reference for
    the caller; E_POINTER when module or expert is null; E_FAIL when the module exports no
    factory; else the factory's failure, with *expert null. */
template <class Expert>
HRESULT CreateExpert(qx_module* module, Expert** expert) noexcept {
    static_assert(detail::IsExpertInterface<std::remove_cv_t<Expert>>,
                  "qxzeva::CreateExpert fills a holder of the expert's interface: IkcSysExpert2, "
                  "IkcSysExpert, IkcSysExpertInfo or IUnknown (C++ view), IkcSysExpert2 or "
                  "IUnknown of qxzeva::c (C view)");
    if (expert == nullptr)
        return E_POINTER;
    *expert = nullptr;
    if (module == nullptr)
        return E_POINTER;
    const auto create = ModuleFunction<qxCreateExpertFunction>(module, QX_FACTORY_SYMBOL);
    if (create == nullptr)
        return E_FAIL;
    void* created = nullptr;
    const HRESULT result = create(&created);
    if (QX_SUCCEEDED(result))
        *expert = static_cast<Expert*>(created);
    return result;
}

std::string ToUtf8(const QX_WCHAR* text);

/** A wide string the module handed out (a 32-bit count of units four bytes below the
    pointer, the units and a zero unit in one block), freed when the owner lets go of it. put
    lends the empty slot to an operation that writes a new string: the owner must be empty. */
class WideString {
public:
    /** An empty owner. */
    WideString() noexcept = default;
    WideString(const WideString&) = delete;
    WideString& operator=(const WideString&) = delete;
    /** Takes over other's string, leaving other empty. */
    WideString(WideString&& other) noexcept : m_text(other.detach()) {}
    /** Frees the string held and takes over other's. */
    WideString& operator=(WideString&& other) noexcept {
        if (this != &other) {
            reset();
            m_text = other.detach();
        }
        return *this;
    }
    /** Frees the string held, if any. */
    ~WideString() { reset(); }

    /** The string held, or null; the owner keeps it. */
    const QX_WCHAR* get() const noexcept { return m_text; }
    /** Whether a string is held. */
    explicit operator bool() const noexcept { return m_text != nullptr; }

    /** Frees the string held, if any, leaving the owner empty. */
    void reset() noexcept { qxFreeWideString(detach()); }
    /** Hands the string over to the caller, who frees it with qxFreeWideString. */
    [[nodiscard]] QX_WCHAR* detach() noexcept { return std::exchange(m_text, nullptr); }
    /** The empty slot, for an operation's out-parameter to write a new string into. */
    [[nodiscard]] QX_WCHAR** put() noexcept {
        assert(m_text == nullptr && "WideString::put on an owner that still holds a string");
        reset();
        return &m_text;
    }

    /** The text as UTF-8; "" when no string is held. */
    std::string utf8() const { return ToUtf8(m_text); }

private:
    QX_WCHAR* m_text = nullptr;
};

/// @cond internal
namespace detail {

// The well-formed UTF-8 sequence a lead byte starts: its length (0: the byte starts none) and
// the range its second byte must fall in, which excludes overlong forms, surrogates and code
// points above U+10FFFF.
struct Utf8Lead {
    std::size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

inline Utf8Lead ClassifyUtf8Lead(unsigned char lead) {
    if (lead < 0x80)
        return {1, 0, 0};
    if (lead >= 0xC2 && lead <= 0xDF)
        return {2, 0x80, 0xBF};
    if (lead == 0xE0)
        return {3, 0xA0, 0xBF};
    if (lead == 0xED)
        return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {3, 0x80, 0xBF};
    if (lead == 0xF0)
        return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {4, 0x80, 0xBF};
    if (lead == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

} // namespace detail
/// @endcond

/** UTF-8 of a zero-terminated UTF-16 text; "" for null. A surrogate without its partner
    becomes U+FFFD (qxWideToUtf8). */
inline std::string ToUtf8(const QX_WCHAR* text) {
    std::string out(qxWideToUtf8(text, nullptr, 0) + 1, '\0');
    out.resize(qxWideToUtf8(text, out.data(), out.size()));
    return out;
}

/** UTF-16 of a UTF-8 text, zero-terminated, ready to pass as const QX_WCHAR*. Each maximal
    ill-formed part (a stray byte, a sequence cut short, an overlong form, an encoded
    surrogate, a point above U+10FFFF) becomes one U+FFFD. */
inline std::vector<QX_WCHAR> ToUtf16(std::string_view utf8) {
    std::vector<QX_WCHAR> out;
    out.reserve(utf8.size() + 1);
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const detail::Utf8Lead form = detail::ClassifyUtf8Lead(lead);
        if (form.length == 1) {
            out.push_back(lead);
            ++i;
            continue;
        }
        std::uint32_t point = lead & (0x7Fu >> form.length);
        std::size_t taken = 1;
        for (; taken < form.length && i + taken < utf8.size(); ++taken) {
            const auto next = static_cast<unsigned char>(utf8[i + taken]);
            const unsigned char low = taken == 1 ? form.secondLow : 0x80;
            const unsigned char high = taken == 1 ? form.secondHigh : 0xBF;
            if (next < low || next > high)
                break;
            point = (point << 6) | (next & 0x3Fu);
        }
        i += taken;
        if (form.length == 0 || taken < form.length) {
            out.push_back(0xFFFD);
        } else if (point >= 0x10000) {
            out.push_back(static_cast<QX_WCHAR>(0xD800 + ((point - 0x10000) >> 10)));
            out.push_back(static_cast<QX_WCHAR>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<QX_WCHAR>(point));
        }
    }
    out.push_back(0);
    return out;
}

/** "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case, from the fields' values (so the
    same on either byte order). */
inline std::string GuidText(const _GUID& id) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(id.Data1), static_cast<unsigned>(id.Data2),
                  static_cast<unsigned>(id.Data3), static_cast<unsigned>(id.Data4[0]),
                  static_cast<unsigned>(id.Data4[1]), static_cast<unsigned>(id.Data4[2]),
                  static_cast<unsigned>(id.Data4[3]), static_cast<unsigned>(id.Data4[4]),
                  static_cast<unsigned>(id.Data4[5]), static_cast<unsigned>(id.Data4[6]),
                  static_cast<unsigned>(id.Data4[7]));
    return text;
}

/** Whether two identifiers are equal, field by field. */
inline bool SameGuid(const _GUID& left, const _GUID& right) noexcept {
    return qxSameGuid(&left, &right) != 0;
}

/** "S_OK", "E_ITEM_NOT_FOUND", ...: the name of a code the module defines, or null. */
inline const char* HResultName(HRESULT result) noexcept {
    return qxHResultName(result);
}

} // namespace qxzeva

#endif
