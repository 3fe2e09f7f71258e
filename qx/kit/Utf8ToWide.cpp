#include "qx/kit/Utf8ToWide.h"

#include "qx/kit/Exception.h"
#include "qx/kit/SafeInteger.h"

#include <memory>

namespace qx {
namespace kit {

namespace {

bool IsTrail(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Bytes in the sequence that lead starts; InvalidSequence for a byte that starts none.
std::uint32_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead <= 0xC1 || lead >= 0xF0)
        throw exception::InvalidSequence(raise_site::k_utf8BadLead);
    return lead <= 0xDF ? 2 : 3;
}

// Decodes the sequence at next into *unit and returns its length. cutOff says who asks: a
// sequence that runs past end is reported from there.
std::uint32_t DecodeOne(const unsigned char* next, const unsigned char* end, char16_t* unit,
                        const RaiseSite& cutOff) {
    const std::uint32_t length = SequenceLength(next[0]);
    if (static_cast<std::uint32_t>(end - next) < length)
        throw exception::InvalidSequence(cutOff);
    if (length == 1) {
        *unit = next[0];
    } else if (length == 2) {
        if (!IsTrail(next[1]))
            throw exception::InvalidSequence(raise_site::k_utf8BadTrail);
        *unit = static_cast<char16_t>((next[0] & 0x1F) << 6 | (next[1] & 0x3F));
    } else {
        if (!IsTrail(next[1]) || !IsTrail(next[2]) || (next[0] == 0xE0 && next[1] < 0xA0))
            throw exception::InvalidSequence(raise_site::k_utf8BadTrail);
        *unit = static_cast<char16_t>((next[0] & 0x0F) << 12 | (next[1] & 0x3F) << 6 |
                                      (next[2] & 0x3F));
    }
    return length;
}

const unsigned char* Bytes(const char* text) {
    return reinterpret_cast<const unsigned char*>(text);
}

} // namespace

std::uint32_t Utf8ToWideLength(const char* first, const char* last) {
    std::uint32_t count = 0;
    char16_t unit = 0;
    for (const unsigned char* next = Bytes(first); next != Bytes(last); ++count)
        next += DecodeOne(next, Bytes(last), &unit, raise_site::k_utf8CountCutOff);
    return count;
}

std::uint32_t Utf8ToWide(const char** input, const char* inputEnd, char16_t* output,
                         char16_t* outputEnd) {
    if (output == nullptr || outputEnd < output)
        throw exception::InvalidArgument(raise_site::k_utf8BadArguments);
    if (input == nullptr || *input == nullptr)
        return 0;
    char16_t* out = output;
    const unsigned char* next = Bytes(*input);
    for (; next != Bytes(inputEnd) && out != outputEnd; ++out) {
        next += DecodeOne(next, Bytes(inputEnd), out, raise_site::k_utf8DecodeCutOff);
        *input = reinterpret_cast<const char*>(next);
    }
    return static_cast<std::uint32_t>(out - output);
}

std::unique_ptr<char16_t[]> Utf8ToWideArray(const char* text, std::uint32_t length) {
    if (text == nullptr)
        return std::unique_ptr<char16_t[]>(new char16_t[1]{0});
    const char* const end = text + length;
    const std::uint32_t count = Utf8ToWideLength(text, end);
    SafeUnitBlockBytes(count, DoublingSite::BoundaryString); // the array's size must fit
    std::unique_ptr<char16_t[]> units(new char16_t[count + 1]);
    const char* next = text;
    const std::uint32_t written = Utf8ToWide(&next, end, units.get(), units.get() + count);
    if (next != end) // the same decoder counted the units: never
        throw exception::BufferOverflow(raise_site::k_utf8NotConsumed); // GCOVR_EXCL_LINE
    units[written] = 0;
    return units;
}

} // namespace kit
} // namespace qx
