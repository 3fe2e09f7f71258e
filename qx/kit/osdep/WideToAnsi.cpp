#include "qx/kit/osdep/WideToAnsi.h"

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

std::uint32_t ConvertByUnits(const char16_t* first, const char16_t* last, const char* localeName,
                             char* output, char** outputEnd) {
    if (!IsFallbackLocale(localeName))
        throw exception::InvalidLocale(raise_site::k_wideToAnsiLocale);
    char* const limit = *outputEnd;
    char* next = output;
    for (; first != last; ++first) {
        if (next == limit) {
            errno = ERANGE; // say why, rather than whatever an earlier call left
            RaisePosixError(raise_site::k_wideToAnsiOutputFull);
        }
        *next++ = *first <= 0xFF ? static_cast<char>(*first) : '?';
    }
    *outputEnd = next;
    return static_cast<std::uint32_t>(next - output);
}

} // namespace

std::uint32_t WideToAnsiLength(const char16_t* first, const char16_t* last,
                               std::uint32_t codePage) {
    if (first == last)
        return 0;
    const std::int32_t units = NumericCast<std::int32_t>(last - first);
    const WideCharToMultiByteFunction convert = RTSymbolLoader::instance().wideCharToMultiByte();
    if (convert == nullptr)
        return static_cast<std::uint32_t>(units);
    const std::int32_t bytes = convert(codePage, 0, first, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        RaisePosixError(raise_site::k_wideToAnsiMeasuring);
    return static_cast<std::uint32_t>(bytes);
}

std::uint32_t WideToAnsi(const char16_t* first, const char16_t* last, const char* localeName,
                         std::uint32_t codePage, char* output, char** outputEnd) {
    if (first == last) {
        *outputEnd = output;
        return 0;
    }
    const WideCharToMultiByteFunction convert = RTSymbolLoader::instance().wideCharToMultiByte();
    if (convert == nullptr)
        return ConvertByUnits(first, last, localeName, output, outputEnd);
    const std::int32_t units = NumericCast<std::int32_t>(last - first);
    const std::int32_t capacity = NumericCast<std::int32_t>(*outputEnd - output);
    const std::int32_t bytes =
        convert(codePage, 0, first, units, output, capacity, nullptr, nullptr);
    if (bytes <= 0)
        RaisePosixError(raise_site::k_wideToAnsiConverting);
    // A count beyond the capacity cannot be trusted either; the call set no errno for it.
    if (bytes > capacity) {
        errno = ERANGE;
        RaisePosixError(raise_site::k_wideToAnsiConverting);
    }
    *outputEnd = output + bytes;
    return static_cast<std::uint32_t>(bytes);
}

} // namespace osdep
} // namespace kit
} // namespace qx
