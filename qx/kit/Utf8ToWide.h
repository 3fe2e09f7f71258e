// UTF-8 to 16-bit units. Characters beyond U+FFFF are not supported (a four-byte sequence
// is invalid); encoded surrogates are taken as units. Never reads past the input's end.
#ifndef QX_KIT_UTF8TOWIDE_H
#define QX_KIT_UTF8TOWIDE_H

#include <cstdint>
#include <memory>

namespace qx {
namespace kit {

// Units that the bytes [first, last) decode to; InvalidSequence for a bad sequence or one
// that the end cuts off.
std::uint32_t Utf8ToWideLength(const char* first, const char* last);

// Decodes from *input up to inputEnd into [output, outputEnd), stopping when either is
// exhausted, and advances *input past what was decoded. Returns the units written; 0 for a
// null input. InvalidArgument for a null output or an output end before its start.
std::uint32_t Utf8ToWide(const char** input, const char* inputEnd, char16_t* output,
                         char16_t* outputEnd);

// A new zero-terminated array of the units that the length bytes at text decode to; a null
// text gives an empty array.
std::unique_ptr<char16_t[]> Utf8ToWideArray(const char* text, std::uint32_t length);

} // namespace kit
} // namespace qx

#endif
