// Narrowing conversion of a count that must keep its value, for example a size_t length
// handed on as a 32-bit count; a value that does not fit raises OutOfRange.
#ifndef QX_KIT_NUMERICCAST_H
#define QX_KIT_NUMERICCAST_H

#include <cstdint>
#include <limits>
#include <type_traits>

namespace qx {
namespace kit {

[[noreturn]] void RaiseNumericCastOutOfRange();

template <class To, class From>
To NumericCast(From value) {
    static_assert(std::is_integral_v<To> && std::is_integral_v<From>, "counts only");
    using Limits = std::numeric_limits<To>;
    if constexpr (std::is_signed_v<From>) {
        if (value < 0) {
            // An unsigned target's minimum is 0, so every negative value raises.
            if (static_cast<std::intmax_t>(value) < static_cast<std::intmax_t>(Limits::min()))
                RaiseNumericCastOutOfRange();
            return static_cast<To>(value);
        }
    }
    if (static_cast<std::uintmax_t>(value) > std::uintmax_t{Limits::max()})
        RaiseNumericCastOutOfRange();
    return static_cast<To>(value);
}

} // namespace kit
} // namespace qx

#endif
