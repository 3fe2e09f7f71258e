// The length of a zero-terminated text of 16-bit units, with a bound for texts that a
// caller cannot trust to be terminated. Inline: it sits on the path of every string the
// module copies from a caller.
#ifndef QX_KIT_WIDETEXTLENGTH_H
#define QX_KIT_WIDETEXTLENGTH_H

#include <cstdint>

// Units before the first zero, read only up to limit units.
inline std::uint32_t WideTextLength(const char16_t* s, std::uint32_t limit = 0xFFFFFFFFu) {
    std::uint32_t length = 0;
    while (length < limit && s[length] != 0)
        ++length;
    return length;
}

#endif
