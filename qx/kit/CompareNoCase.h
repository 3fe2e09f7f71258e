// Case-insensitive comparison by the runtime's toupper. Only units up to 255 are upper-cased;
// every other 16-bit unit compares as it is. Results: the difference of the first pair of
// upper-cased units that differ, else the difference of the lengths left over.
#ifndef QX_KIT_COMPARENOCASE_H
#define QX_KIT_COMPARENOCASE_H

#include <cstdint>

namespace qx {
namespace kit {

int CompareNoCase(const char16_t* a, std::uint32_t lengthA, const char16_t* b,
                  std::uint32_t lengthB) noexcept;

// Zero-terminated texts; a null text counts as empty.
int CompareNoCase(const char16_t* a, const char16_t* b) noexcept;
int CompareNoCase(const char* a, const char* b) noexcept;

// 8-bit ranges [firstA, lastA) and [firstB, lastB).
int CompareNoCase(const char* firstA, const char* lastA, const char* firstB,
                  const char* lastB) noexcept;

} // namespace kit
} // namespace qx

#endif
