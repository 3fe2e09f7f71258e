// The target's 8-bit text to 16-bit units: through the platform's MultiByteToWideChar when
// the target has it, else one unit per byte, zero-extended.
#ifndef QX_KIT_OSDEP_ANSITOWIDE_H
#define QX_KIT_OSDEP_ANSITOWIDE_H

#include <cstdint>

namespace qx {
namespace kit {
namespace osdep {

// Units that the bytes [first, last) convert to. The locale plays no part in measuring.
std::uint32_t AnsiToWideLength(const char* first, const char* last, std::uint32_t codePage);

// Converts [first, last) into the units from output up to *outputEnd (the limit); returns the
// count written and leaves *outputEnd after the last unit. Nothing is written past the
// limit. Without the platform function only the empty locale name (the default) and
// "US-ASCII" are accepted.
std::uint32_t AnsiToWide(const char* first, const char* last, const char* localeName,
                         std::uint32_t codePage, char16_t* output, char16_t** outputEnd);

} // namespace osdep
} // namespace kit
} // namespace qx

#endif
