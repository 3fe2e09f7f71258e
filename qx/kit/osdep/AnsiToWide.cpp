#include "qx/kit/osdep/AnsiToWide.h"

#include "qx/kit/Exception.h"
#include "qx/kit/NumericCast.h"
#include "qx/kit/osdep/FallbackLocale.h"
#include "qx/kit/osdep/OSException.h"
#include "qx/kit/osdep/RTSymbolLoader.h"

#include <cerrno>

namespace qx {
namespace kit {
namespace osdep {

namespace {

std::uint32_t ConvertByBytes(const char* first, const char* last, const char* localeName,
                             char16_t* output, char16_t** outputEnd) {
    if (!IsFallbackLocale(localeName))
        throw exception::InvalidLocale(raise_site::k_ansiToWideLocale);
    char16_t* const limit = *outputEnd;
    char16_t* next = output;
    for (; first != last; ++first) {
        if (next == limit) {
            errno = ERANGE; // say why, rather than whatever an earlier call left
            RaisePosixError(raise_site::k_ansiToWideOutputFull);
        }
        // Zero extension whatever the signedness of char: byte 0xE9 is U+00E9.
        *next++ = static_cast<unsigned char>(*first);
    }
    *outputEnd = next;
    return static_cast<std::uint32_t>(next - output);
}

} // namespace

std::uint32_t AnsiToWideLength(const char* first, const char* last, std::uint32_t codePage) {
    if (first == last)
        return 0;
    const std::int32_t bytes = NumericCast<std::int32_t>(last - first);
    const MultiByteToWideCharFunction convert = RTSymbolLoader::instance().multiByteToWideChar();
    if (convert == nullptr)
        return static_cast<std::uint32_t>(bytes);
    const std::int32_t units = convert(codePage, 0, first, bytes, nullptr, 0);
    if (units <= 0)
        RaisePosixError(raise_site::k_ansiToWideMeasuring);
    return static_cast<std::uint32_t>(units);
}

std::uint32_t AnsiToWide(const char* first, const char* last, const char* localeName,
                         std::uint32_t codePage, char16_t* output, char16_t** outputEnd) {
    if (first == last) {
        *outputEnd = output;
        return 0;
    }
    const MultiByteToWideCharFunction convert = RTSymbolLoader::instance().multiByteToWideChar();
    if (convert == nullptr)
        return ConvertByBytes(first, last, localeName, output, outputEnd);
    const std::int32_t bytes = NumericCast<std::int32_t>(last - first);
    const std::int32_t capacity = NumericCast<std::int32_t>(*outputEnd - output);
    const std::int32_t units = convert(codePage, 0, first, bytes, output, capacity);
    if (units <= 0)
        RaisePosixError(raise_site::k_ansiToWideConverting);
    // A count beyond the capacity cannot be trusted either; the call set no errno for it.
    if (units > capacity) {
        errno = ERANGE;
        RaisePosixError(raise_site::k_ansiToWideConverting);
    }
    *outputEnd = output + units;
    return static_cast<std::uint32_t>(units);
}

} // namespace osdep
} // namespace kit
} // namespace qx
