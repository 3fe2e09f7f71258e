#include "qx/kit/CompareNoCase.h"

#include <cctype>
#include <cstddef>
#include <limits>

namespace qx {
namespace kit {

namespace {

// toupper is an 8-bit function: it is handed no unit above 255, and a byte only as
// unsigned char, whatever the signedness of char.
std::uint32_t Upper(char16_t unit) {
    return unit <= 0xFF ? static_cast<char16_t>(std::toupper(unit)) : unit;
}
std::uint32_t Upper(char byte) {
    return static_cast<char16_t>(std::toupper(static_cast<unsigned char>(byte)));
}

int Clamp(std::int64_t difference) {
    if (difference > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (difference < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(difference);
}

template <class Unit>
int CompareRanges(const Unit* a, std::size_t lengthA, const Unit* b, std::size_t lengthB) {
    const std::size_t common = lengthA < lengthB ? lengthA : lengthB;
    for (std::size_t i = 0; i < common; ++i) {
        // Equal units are equal in any case; only units that differ need toupper.
        if (a[i] == b[i])
            continue;
        const std::uint32_t upperA = Upper(a[i]);
        const std::uint32_t upperB = Upper(b[i]);
        if (upperA != upperB)
            return static_cast<int>(upperA) - static_cast<int>(upperB);
    }
    return Clamp(static_cast<std::int64_t>(lengthA) - static_cast<std::int64_t>(lengthB));
}

template <class Unit>
std::size_t TextLength(const Unit* text) {
    std::size_t length = 0;
    while (text != nullptr && text[length] != 0)
        ++length;
    return length;
}

} // namespace

int CompareNoCase(const char16_t* a, std::uint32_t lengthA, const char16_t* b,
                  std::uint32_t lengthB) noexcept {
    return CompareRanges(a, lengthA, b, lengthB);
}

int CompareNoCase(const char16_t* a, const char16_t* b) noexcept {
    return CompareRanges(a, TextLength(a), b, TextLength(b));
}

int CompareNoCase(const char* a, const char* b) noexcept {
    return CompareRanges(a, TextLength(a), b, TextLength(b));
}

int CompareNoCase(const char* firstA, const char* lastA, const char* firstB,
                  const char* lastB) noexcept {
    const std::size_t lengthA = firstA == nullptr ? 0 : static_cast<std::size_t>(lastA - firstA);
    const std::size_t lengthB = firstB == nullptr ? 0 : static_cast<std::size_t>(lastB - firstB);
    return CompareRanges(firstA, lengthA, firstB, lengthB);
}

} // namespace kit
} // namespace qx
