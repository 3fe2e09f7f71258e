// Overflow-guarded unsigned 32-bit arithmetic for every size computation of the library.
// The arithmetic is 32-bit on every target, also where size_t is wider, so a size that
// fits here fits the target. An overflow raises OutOfRange before anything is allocated.
#ifndef QX_KIT_SAFEINTEGER_H
#define QX_KIT_SAFEINTEGER_H

#include <cstdint>

namespace qx {
namespace kit {

// Where a doubling happens decides the line its OutOfRange records.
enum class DoublingSite {
    StringCode,     // the wide string's own size computations
    BoundaryString, // boundary wide strings and the allocating UTF-8 decoding
};

class SafeInteger {
public:
    constexpr explicit SafeInteger(std::uint32_t value) noexcept : m_value(value) {}

    constexpr std::uint32_t value() const noexcept { return m_value; }

    SafeInteger operator+(SafeInteger other) const;
    SafeInteger doubled(DoublingSite site = DoublingSite::StringCode) const;

private:
    std::uint32_t m_value;
};

// Shorthands for the two operations on plain numbers.
inline std::uint32_t SafeAdd(std::uint32_t a, std::uint32_t b) {
    return (SafeInteger(a) + SafeInteger(b)).value();
}
inline std::uint32_t SafeDouble(std::uint32_t a, DoublingSite site = DoublingSite::StringCode) {
    return SafeInteger(a).doubled(site).value();
}

// Bytes of a block of count 16-bit units plus a terminating unit: (count + 1) * 2.
inline std::uint32_t SafeUnitBlockBytes(std::uint32_t count,
                                        DoublingSite site = DoublingSite::StringCode) {
    return SafeDouble(SafeAdd(count, 1), site);
}

} // namespace kit
} // namespace qx

#endif
