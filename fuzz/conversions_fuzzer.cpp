// 8-bit text to 16-bit units and back, on both paths: the byte-for-unit fallback of a target
// without the conversion pair, and the target's MultiByteToWideChar / WideCharToMultiByte,
// which this program defines and exports so that the symbol loader finds them. Each input
// says which path the loader sees (rebuilt per input) and how the platform pair behaves:
// honestly as ISO 8859-15 or as UTF-8 (units and bytes then differ in number), failing, lying
// about the size it needs, or claiming more than fits. Output buffers are exact heap blocks:
// nothing may be written past them, the module must report what the platform got wrong as a
// PosixError, and a string under construction must release its block when it does.
#include "fuzz_check.h"

#include "qx/kit/Exception.h"
#include "qx/kit/StringBase.h"
#include "qx/kit/osdep/AnsiToWide.h"
#include "qx/kit/osdep/OSException.h"
#include "qx/kit/osdep/RTSymbolLoader.h"
#include "qx/kit/osdep/WideToAnsi.h"

#include <sysSymTbl.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace {

using qx::kit::exception::InvalidLocale;
using qx::kit::osdep::PosixError;

struct Platform {
    bool utf8 = false; // else ISO 8859-15
    bool failMeasuring = false;
    bool failConverting = false;
    std::int32_t measureLie = 0; // added to the size it reports when measuring
    std::int32_t overclaim = 0;  // > 0: converting reports capacity + overclaim
    int failErrno = EILSEQ;
} g_platform;

std::u16string PlatformWiden(const char* input, std::int32_t bytes) {
    std::u16string units;
    for (std::int32_t i = 0; i < bytes; ++i) {
        const auto byte = static_cast<unsigned char>(input[i]);
        if (!g_platform.utf8) {
            units += byte == 0xA4 ? u'\u20AC' : static_cast<char16_t>(byte);
        } else if (byte < 0x80) {
            units += byte;
        } else if (byte >= 0xC2 && byte <= 0xDF && i + 1 < bytes &&
                   (static_cast<unsigned char>(input[i + 1]) & 0xC0) == 0x80) {
            units += static_cast<char16_t>((byte & 0x1F) << 6 | (input[i + 1] & 0x3F));
            ++i;
        } else {
            units += u'\uFFFD';
        }
    }
    return units;
}

std::string PlatformNarrow(const char16_t* input, std::int32_t units) {
    std::string bytes;
    for (std::int32_t i = 0; i < units; ++i) {
        const char16_t unit = input[i];
        if (g_platform.utf8 && unit >= 0x80) {
            if (unit < 0x800) {
                bytes += static_cast<char>(0xC0 | unit >> 6);
            } else {
                bytes += static_cast<char>(0xE0 | unit >> 12);
                bytes += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            }
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        } else if (!g_platform.utf8 && unit == 0x20AC) {
            bytes += static_cast<char>(0xA4);
        } else {
            bytes += unit <= 0xFF && unit != 0xA4 ? static_cast<char>(unit) : '?';
        }
    }
    return bytes;
}

// The platform's answer for a text that converts to `needed` elements: writes only within
// the capacity it was given, whatever it claims.
template <class Out>
std::int32_t Answer(const std::basic_string<Out>& converted, Out* output, std::int32_t capacity) {
    const auto needed = static_cast<std::int32_t>(converted.size());
    if (output == nullptr && capacity == 0) {
        if (g_platform.failMeasuring || needed + g_platform.measureLie <= 0) {
            errno = g_platform.failErrno;
            return 0;
        }
        return needed + g_platform.measureLie;
    }
    if (g_platform.failConverting || needed > capacity) {
        errno = g_platform.failConverting ? g_platform.failErrno : ENOSPC;
        return 0;
    }
    std::copy(converted.begin(), converted.end(), output);
    return g_platform.overclaim > 0 ? capacity + g_platform.overclaim : needed;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t
MultiByteToWideChar(std::uint32_t, std::uint32_t, const char* input, std::int32_t inputBytes,
                    char16_t* output, std::int32_t outputUnits) {
    if (input == nullptr || inputBytes <= 0) {
        errno = EINVAL;
        return 0;
    }
    return Answer(PlatformWiden(input, inputBytes), output, outputUnits);
}

__attribute__((visibility("default"))) std::int32_t
WideCharToMultiByte(std::uint32_t, std::uint32_t, const char16_t* input, std::int32_t inputUnits,
                    char* output, std::int32_t outputBytes, const char*, std::int32_t*) {
    if (input == nullptr || inputUnits <= 0) {
        errno = EINVAL;
        return 0;
    }
    return Answer(PlatformNarrow(input, inputUnits), output, outputBytes);
}
}

namespace {

SYMTAB_ID EmptyTable() {
    static int table;
    return reinterpret_cast<SYMTAB_ID>(&table);
}

bool FallbackLocale(const char* name) {
    return name == nullptr || name[0] == '\0' || std::string(name) == "US-ASCII";
}

// What a conversion of `count` input elements should give: the converted text, or nothing
// when the platform's answer cannot be used.
template <class Out>
std::optional<std::basic_string<Out>> PlatformExpectation(const std::basic_string<Out>& converted,
                                                          std::int32_t capacity) {
    if (g_platform.failConverting || static_cast<std::int32_t>(converted.size()) > capacity ||
        g_platform.overclaim > 0)
        return std::nullopt;
    return converted;
}

class Run {
public:
    Run(FuzzedDataProvider& input, bool platform) : m_input(input), m_platform(platform) {}

    void Widen(const std::string& bytes, const char* locale) {
        const char* first = bytes.data();
        const char* last = first + bytes.size();
        const std::u16string converted =
            PlatformWiden(first, static_cast<std::int32_t>(bytes.size()));
        // Measuring.
        std::optional<std::uint32_t> measured;
        try {
            measured = qx::kit::osdep::AnsiToWideLength(first, last, 0);
        } catch (const PosixError& error) {
            FUZZ_CHECK(m_platform && error.whatcode() == g_platform.failErrno);
        }
        if (!m_platform || bytes.empty())
            FUZZ_CHECK(measured == bytes.size());
        else if (!g_platform.failMeasuring &&
                 static_cast<std::int64_t>(converted.size()) + g_platform.measureLie > 0)
            FUZZ_CHECK(measured == converted.size() + g_platform.measureLie);
        // Converting into an exact buffer of any capacity.
        const auto capacity = m_input.ConsumeIntegralInRange<std::uint32_t>(0, bytes.size() + 2);
        std::unique_ptr<char16_t[]> output(new char16_t[capacity]);
        char16_t* end = output.get() + capacity;
        std::optional<std::u16string> result;
        try {
            const std::uint32_t written =
                qx::kit::osdep::AnsiToWide(first, last, locale, 0, output.get(), &end);
            FUZZ_CHECK(end == output.get() + written);
            result = std::u16string(output.get(), written);
        } catch (const PosixError&) {
        } catch (const InvalidLocale&) {
            FUZZ_CHECK(!m_platform && !FallbackLocale(locale) && !bytes.empty());
        }
        FUZZ_CHECK(result == ExpectedWidening(bytes, locale, capacity, converted));
    }

    void Narrow(const std::u16string& units, const char* locale) {
        const char16_t* first = units.data();
        const char16_t* last = first + units.size();
        const std::string converted =
            PlatformNarrow(first, static_cast<std::int32_t>(units.size()));
        const auto capacity =
            m_input.ConsumeIntegralInRange<std::uint32_t>(0, 3 * units.size() + 2);
        std::unique_ptr<char[]> output(new char[capacity]);
        char* end = output.get() + capacity;
        std::optional<std::string> result;
        try {
            const std::uint32_t written =
                qx::kit::osdep::WideToAnsi(first, last, locale, 0, output.get(), &end);
            FUZZ_CHECK(end == output.get() + written);
            result = std::string(output.get(), written);
        } catch (const PosixError&) {
        } catch (const InvalidLocale&) {
            FUZZ_CHECK(!m_platform && !FallbackLocale(locale) && !units.empty());
        }
        std::optional<std::string> expected;
        if (units.empty())
            expected = std::string();
        else if (m_platform)
            expected = PlatformExpectation(converted, static_cast<std::int32_t>(capacity));
        else if (FallbackLocale(locale) && capacity >= units.size())
            expected = FallbackNarrow(units);
        FUZZ_CHECK(result == expected);
    }

    // The string class measures, allocates exactly what was measured, converts, and releases
    // its block when the conversion fails.
    void Strings(const std::string& bytes, const char* locale) {
        const std::string text = bytes.substr(0, bytes.find('\0'));
        const std::u16string converted =
            PlatformWiden(text.data(), static_cast<std::int32_t>(text.size()));
        std::optional<std::u16string> result;
        try {
            const qx::kit::WideString wide(text.c_str(), locale);
            result = std::u16string(wide.c_str(), wide.length());
            FUZZ_CHECK(wide.c_str()[wide.length()] == 0);
            Back(wide);
        } catch (const PosixError&) {
        } catch (const InvalidLocale&) {
            FUZZ_CHECK(!m_platform && !FallbackLocale(locale) && !text.empty());
        }
        std::optional<std::u16string> expected;
        if (text.empty()) {
            expected = std::u16string();
        } else if (m_platform) {
            const std::int64_t measured =
                static_cast<std::int64_t>(converted.size()) + g_platform.measureLie;
            if (!g_platform.failMeasuring && measured > 0)
                expected = PlatformExpectation(converted, static_cast<std::int32_t>(measured));
        } else if (FallbackLocale(locale)) {
            expected =
                ExpectedWidening(text, locale, static_cast<std::uint32_t>(text.size()), converted);
        }
        FUZZ_CHECK(result == expected);
    }

private:
    std::optional<std::u16string> ExpectedWidening(const std::string& bytes, const char* locale,
                                                   std::uint32_t capacity,
                                                   const std::u16string& converted) {
        if (bytes.empty())
            return std::u16string();
        if (m_platform)
            return PlatformExpectation(converted, static_cast<std::int32_t>(capacity));
        if (!FallbackLocale(locale) || capacity < bytes.size())
            return std::nullopt;
        std::u16string units;
        for (const char byte : bytes)
            units += static_cast<char16_t>(static_cast<unsigned char>(byte)); // zero-extended
        return units;
    }

    static std::string FallbackNarrow(const std::u16string& units) {
        std::string bytes;
        for (const char16_t unit : units)
            bytes += unit <= 0xFF ? static_cast<char>(unit) : '?';
        return bytes;
    }

    // And back to 8 bits under the default locale.
    void Back(const qx::kit::WideString& wide) {
        const std::u16string units(wide.c_str(), wide.length());
        std::optional<std::string> result;
        try {
            const qx::kit::NarrowString narrow = wide.toNarrow();
            result = std::string(narrow.c_str(), narrow.length());
        } catch (const PosixError&) {
        }
        std::optional<std::string> expected;
        if (units.empty()) {
            expected = std::string();
        } else if (!m_platform) {
            expected = FallbackNarrow(units);
        } else {
            const std::string converted =
                PlatformNarrow(units.data(), static_cast<std::int32_t>(units.size()));
            const std::int64_t measured =
                static_cast<std::int64_t>(converted.size()) + g_platform.measureLie;
            if (!g_platform.failMeasuring && measured > 0)
                expected = PlatformExpectation(converted, static_cast<std::int32_t>(measured));
        }
        FUZZ_CHECK(result == expected);
    }

    FuzzedDataProvider& m_input;
    bool m_platform;
};

const char* PickLocale(FuzzedDataProvider& input, std::string* storage) {
    switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0:
        return nullptr;
    case 1:
        return "US-ASCII";
    case 2:
        return "C";
    case 3:
        *storage = input.ConsumeRandomLengthString(12);
        return storage->c_str();
    default:
        return "";
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool platform = input.ConsumeBool();
    g_platform = Platform();
    if (platform) {
        g_platform.utf8 = input.ConsumeBool();
        const std::uint8_t faults = input.ConsumeIntegral<std::uint8_t>();
        g_platform.failMeasuring = (faults & 0x07) == 1;
        g_platform.failConverting = (faults & 0x07) == 2;
        g_platform.measureLie = (faults & 0x07) == 3 ? input.ConsumeIntegralInRange(-4, 4) : 0;
        g_platform.overclaim = (faults & 0x07) == 4 ? input.ConsumeIntegralInRange(1, 4) : 0;
        g_platform.failErrno = (faults & 0x08) ? ENOMEM : EILSEQ;
    }
    qx::kit::osdep::RTSymbolLoader::rebuildForTesting(platform ? sysSymTbl : EmptyTable());
    FUZZ_CHECK((qx::kit::osdep::RTSymbolLoader::instance().multiByteToWideChar() != nullptr) ==
               platform);

    Run run(input, platform);
    std::string localeStorage;
    const char* locale = PickLocale(input, &localeStorage);
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
        run.Widen(input.ConsumeRandomLengthString(64), locale);
        break;
    case 1: {
        std::u16string units;
        for (int n = input.ConsumeIntegralInRange(0, 48); n > 0 && input.remaining_bytes() > 0; --n)
            units +=
                static_cast<char16_t>(input.ConsumeBool() ? input.ConsumeIntegralInRange(0, 0x17F)
                                                          : input.ConsumeIntegral<std::uint16_t>());
        run.Narrow(units, locale);
        break;
    }
    default:
        run.Strings(input.ConsumeRandomLengthString(64), locale);
        break;
    }
    return 0;
}
