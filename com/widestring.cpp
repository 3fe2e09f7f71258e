#include "com/widestring.h"

#include <cstdlib>
#include <cstring>

namespace {
constexpr std::uint32_t k_countBytes = sizeof(std::uint32_t);

// ((n + 1) * 2) + 4 with every step checked against 32 bits.
bool BlockSize(std::uint32_t units, std::uint32_t* bytes) {
    std::uint32_t size = 0;
    return !__builtin_add_overflow(units, 1u, &size) && !__builtin_mul_overflow(size, 2u, &size) &&
           !__builtin_add_overflow(size, k_countBytes, bytes);
}
} // namespace

std::uint32_t WideTextLength(const char16_t* s, std::uint32_t limit) {
    std::uint32_t length = 0;
    while (length < limit && s[length] != 0)
        ++length;
    return length;
}

char16_t* AllocWideString(const char16_t* s) {
    if (s == nullptr)
        return nullptr;
    const std::uint32_t units = WideTextLength(s);
    std::uint32_t bytes = 0;
    if (!BlockSize(units, &bytes))
        return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(bytes));
    if (block == nullptr)
        return nullptr;
    std::memcpy(block, &units, k_countBytes);
    auto* text = reinterpret_cast<char16_t*>(block + k_countBytes);
    std::memcpy(text, s, std::size_t{units} * sizeof(char16_t));
    text[units] = 0;
    return text;
}

void FreeWideString(char16_t* s) {
    if (s == nullptr)
        return;
    std::free(reinterpret_cast<unsigned char*>(s) - k_countBytes);
}

std::uint32_t WideStringLength(const char16_t* s) {
    std::uint32_t units = 0;
    std::memcpy(&units, reinterpret_cast<const unsigned char*>(s) - k_countBytes, k_countBytes);
    return units;
}
