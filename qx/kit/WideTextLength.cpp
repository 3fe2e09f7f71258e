#include "qx/kit/WideTextLength.h"

std::uint32_t WideTextLength(const char16_t* s, std::uint32_t limit) {
    std::uint32_t length = 0;
    while (length < limit && s[length] != 0)
        ++length;
    return length;
}
