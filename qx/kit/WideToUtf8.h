// 16-bit units to UTF-8: one to three bytes per unit; a surrogate is encoded on its own.
#ifndef QX_KIT_WIDETOUTF8_H
#define QX_KIT_WIDETOUTF8_H

#include <cstdint>
#include <memory>

namespace qx {
namespace kit {

// Bytes that the units [first, last) encode to.
std::uint32_t WideToUtf8Length(const char16_t* first, const char16_t* last);

// Encodes from *input up to inputEnd into [output, outputEnd), stopping at the first unit
// whose sequence does not fit, and advances *input past what was encoded. Returns the bytes
// written; 0 for a null input. InvalidArgument for a null output or an output end before
// its start.
std::uint32_t WideToUtf8(const char16_t** input, const char16_t* inputEnd, char* output,
                         char* outputEnd);

// A new zero-terminated array of the UTF-8 bytes of the length units at text; a null text
// gives an empty array.
std::unique_ptr<char[]> WideToUtf8Array(const char16_t* text, std::uint32_t length);

} // namespace kit
} // namespace qx

#endif
