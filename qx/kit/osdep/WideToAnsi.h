// 16-bit units to the target's 8-bit text: through the platform's WideCharToMultiByte when
// the target has it, else one byte per unit, "?" for a unit above 255.
#ifndef QX_KIT_OSDEP_WIDETOANSI_H
#define QX_KIT_OSDEP_WIDETOANSI_H

#include <cstdint>

namespace qx {
namespace kit {
namespace osdep {

// Bytes that the units [first, last) convert to. The locale plays no part in measuring.
std::uint32_t WideToAnsiLength(const char16_t* first, const char16_t* last, std::uint32_t codePage);

// Converts [first, last) into the bytes from output up to *outputEnd (the limit); returns the
// count written and leaves *outputEnd after the last byte. Nothing is written past the
// limit. Without the platform function only the empty locale name and "US-ASCII" are
// accepted.
std::uint32_t WideToAnsi(const char16_t* first, const char16_t* last, const char* localeName,
                         std::uint32_t codePage, char* output, char** outputEnd);

} // namespace osdep
} // namespace kit
} // namespace qx

#endif
