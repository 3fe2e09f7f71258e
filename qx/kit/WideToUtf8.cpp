#include "qx/kit/WideToUtf8.h"

#include "qx/kit/Exception.h"
#include "qx/kit/SafeInteger.h"

#include <memory>

namespace qx {
namespace kit {

namespace {

std::uint32_t EncodedLength(char16_t unit) {
    if (unit <= 0x7F)
        return 1;
    return unit <= 0x7FF ? 2 : 3;
}

void EncodeOne(char16_t unit, std::uint32_t length, unsigned char* out) {
    if (length == 1) {
        out[0] = static_cast<unsigned char>(unit);
    } else if (length == 2) {
        out[0] = static_cast<unsigned char>(0xC0 | unit >> 6);
        out[1] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
    } else {
        out[0] = static_cast<unsigned char>(0xE0 | unit >> 12);
        out[1] = static_cast<unsigned char>(0x80 | (unit >> 6 & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
    }
}

} // namespace

std::uint32_t WideToUtf8Length(const char16_t* first, const char16_t* last) {
    std::uint32_t bytes = 0;
    for (; first != last; ++first)
        bytes = SafeAdd(bytes, EncodedLength(*first));
    return bytes;
}

std::uint32_t WideToUtf8(const char16_t** input, const char16_t* inputEnd, char* output,
                         char* outputEnd) {
    if (output == nullptr || outputEnd < output)
        throw exception::InvalidArgument(raise_site::k_wideToUtf8BadArguments);
    if (input == nullptr || *input == nullptr)
        return 0;
    auto* out = reinterpret_cast<unsigned char*>(output);
    const auto* const end = reinterpret_cast<unsigned char*>(outputEnd);
    for (const char16_t* next = *input; next != inputEnd; *input = ++next) {
        const std::uint32_t length = EncodedLength(*next);
        if (static_cast<std::uint32_t>(end - out) < length)
            break;
        EncodeOne(*next, length, out);
        out += length;
    }
    return static_cast<std::uint32_t>(out - reinterpret_cast<unsigned char*>(output));
}

std::unique_ptr<char[]> WideToUtf8Array(const char16_t* text, std::uint32_t length) {
    if (text == nullptr)
        return std::unique_ptr<char[]>(new char[1]{0});
    const char16_t* const end = text + length;
    const std::uint32_t bytes = WideToUtf8Length(text, end);
    std::unique_ptr<char[]> encoded(new char[SafeAdd(bytes, 1)]);
    const char16_t* next = text;
    const std::uint32_t written = WideToUtf8(&next, end, encoded.get(), encoded.get() + bytes);
    if (next != end) // the same encoder counted the bytes: never
        throw exception::BufferOverflow(raise_site::k_wideToUtf8NotConsumed); // GCOVR_EXCL_LINE
    encoded[written] = 0;
    return encoded;
}

} // namespace kit
} // namespace qx
