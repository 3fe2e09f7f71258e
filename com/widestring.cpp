#include "com/widestring.h"

#include "qx/kit/Memory.h"
#include "qx/kit/SafeInteger.h"
#include "qx/kit/WideTextLength.h"

#include <cstdlib>
#include <cstring>
#include <exception>

namespace {
constexpr std::uint32_t k_countBytes = sizeof(std::uint32_t);

unsigned char* AllocateBoundaryBlock(std::uint32_t units) noexcept {
    try {
        return static_cast<unsigned char*>(qx::kit::AllocateBlock(WideStringBlockBytes(units)));
    } catch (const std::exception&) {
        return nullptr; // an oversized text or no memory: the caller sees null
    }
}
} // namespace

std::uint32_t WideStringBlockBytes(std::uint32_t units) {
    using qx::kit::DoublingSite;
    return qx::kit::SafeAdd(qx::kit::SafeUnitBlockBytes(units, DoublingSite::BoundaryString),
                            k_countBytes);
}

char16_t* AllocWideString(const char16_t* s) {
    if (s == nullptr)
        return nullptr;
    return AllocWideStringOfUnits(s, WideTextLength(s));
}

char16_t* AllocWideStringOfUnits(const char16_t* units, std::uint32_t count) {
    unsigned char* block = AllocateBoundaryBlock(count);
    if (block == nullptr)
        return nullptr;
    std::memcpy(block, &count, k_countBytes);
    auto* text = reinterpret_cast<char16_t*>(block + k_countBytes);
    std::memcpy(text, units, std::size_t{count} * sizeof(char16_t));
    text[count] = 0;
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
