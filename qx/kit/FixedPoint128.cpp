#include "qx/kit/FixedPoint128.h"

#include <cmath>
#include <cstring>

namespace nQXSS100 {

namespace {

using Fixed = tFixedPoint128<64, true>;

constexpr std::uint64_t k_oneHalf = 0x8000000000000000ull;
constexpr std::int32_t k_doubleExponentBias = 1023;
constexpr std::int32_t k_doubleMantissaBits = 52;
constexpr std::int32_t k_allOnesExponent = 0x7FF;
// From 2^63 on the integer part (signed 64 bits) cannot hold the magnitude.
constexpr std::int32_t k_firstUnrepresentableExponent = k_doubleExponentBias + 63;

struct ScaleFactors {
    long double scale0;
    long double scale32;
    long double scale64;
    long double scale96;
};

const ScaleFactors& WordScales() {
    // 2^k / 2^64: the weight of word w3, w2, w1, w0 in seconds.
    static const ScaleFactors scales = {
        static_cast<long double>(std::pow(2.0, 0)) / std::pow(2.0, 64),
        static_cast<long double>(std::pow(2.0, 32)) / std::pow(2.0, 64),
        static_cast<long double>(std::pow(2.0, 64)) / std::pow(2.0, 64),
        static_cast<long double>(std::pow(2.0, 96)) / std::pow(2.0, 64)};
    return scales;
}

} // namespace

Fixed::tFixedPoint128(std::int32_t integer)
    : m_words{integer < 0 ? 0xFFFFFFFFu : 0u, static_cast<std::uint32_t>(integer), 0, 0} {}

Fixed::tFixedPoint128(std::uint32_t integer) : m_words{0, integer, 0, 0} {}

Fixed::tFixedPoint128(double value) : m_words{0, 0, 0, 0} {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const auto exponent = static_cast<std::int32_t>((bits >> k_doubleMantissaBits) & 0x7FF);
    const std::uint64_t mantissa = bits & ((1ull << k_doubleMantissaBits) - 1);
    static_assert(k_allOnesExponent >= k_firstUnrepresentableExponent,
                  "infinities and NaNs saturate with the finite values too large");
    if (exponent >= k_firstUnrepresentableExponent) {
        *this = negative ? Smallest() : Largest();
        return;
    }
    // The implicit bit is set for subnormals too; they are far below 2^-64 and vanish.
    SetHalves(0, mantissa | (1ull << k_doubleMantissaBits));
    Shift(k_doubleExponentBias + k_doubleMantissaBits - 64 - exponent, false);
    if (negative)
        Negate();
}

bool Fixed::IsZero() const {
    return (m_words[0] | m_words[1] | m_words[2] | m_words[3]) == 0;
}

std::uint64_t Fixed::High() const {
    return (std::uint64_t{m_words[0]} << 32) | m_words[1];
}

std::uint64_t Fixed::Low() const {
    return (std::uint64_t{m_words[2]} << 32) | m_words[3];
}

void Fixed::SetHalves(std::uint64_t high, std::uint64_t low) {
    m_words[0] = static_cast<std::uint32_t>(high >> 32);
    m_words[1] = static_cast<std::uint32_t>(high);
    m_words[2] = static_cast<std::uint32_t>(low >> 32);
    m_words[3] = static_cast<std::uint32_t>(low);
}

std::int64_t Fixed::IntegerPart64() const {
    return static_cast<std::int64_t>(High());
}

std::uint64_t Fixed::Fraction64() const {
    return Low();
}

Fixed& Fixed::operator+=(const Fixed& other) {
    std::uint64_t carry = 0;
    for (int i = 3; i >= 0; --i) {
        const std::uint64_t sum = std::uint64_t{m_words[i]} + other.m_words[i] + carry;
        m_words[i] = static_cast<std::uint32_t>(sum);
        carry = sum >> 32;
    }
    return *this;
}

Fixed& Fixed::operator-=(const Fixed& other) {
    std::uint32_t borrow = 0;
    for (int i = 3; i >= 0; --i) {
        const std::uint64_t subtrahend = std::uint64_t{other.m_words[i]} + borrow;
        borrow = std::uint64_t{m_words[i]} < subtrahend ? 1 : 0;
        m_words[i] = static_cast<std::uint32_t>(std::uint64_t{m_words[i]} - subtrahend);
    }
    return *this;
}

void Fixed::Negate() {
    for (std::uint32_t& word : m_words)
        word = ~word;
    *this += Fixed(0, 0, 0, 1);
}

Fixed Fixed::operator-() const {
    Fixed negated = *this;
    negated.Negate();
    return negated;
}

void Fixed::Shift(std::int32_t s, bool fillWithSign) {
    const std::uint64_t fill = fillWithSign && IsNegative() ? ~0ull : 0ull;
    std::uint64_t high = High();
    std::uint64_t low = Low();
    if (s == 0)
        return;
    if (s < -127) {
        high = low = 0;
    } else if (s >= 128) {
        high = low = fill;
    } else if (s < 0) {
        const std::int32_t n = -s;
        if (n >= 64) {
            high = low << (n - 64);
            low = 0;
        } else {
            high = (high << n) | (low >> (64 - n));
            low <<= n;
        }
    } else if (s >= 64) {
        const std::int32_t n = s - 64;
        low = n == 0 ? high : (high >> n) | (fill << (64 - n));
        high = fill;
    } else {
        low = (low >> s) | (high << (64 - s));
        high = (high >> s) | (fill << (64 - s));
    }
    SetHalves(high, low);
}

void Fixed::Round(RoundingMode mode) {
    const bool negative = IsNegative();
    // The distance to the integer toward zero: for a negative value the fraction counts
    // up from the floor, so the distance is 1 - fraction (0 for a whole number).
    const std::uint64_t distance = negative ? 0 - Low() : Low();
    const Fixed step(0, 0, static_cast<std::uint32_t>(distance >> 32),
                     static_cast<std::uint32_t>(distance));
    if (negative)
        *this += step;
    else
        *this -= step;
    const Fixed awayFromZero = negative ? Fixed(-1) : Fixed(1);
    switch (mode) {
    case k_roundNearestEven:
        if (distance > k_oneHalf || (distance == k_oneHalf && (m_words[1] & 1u) != 0))
            *this += awayFromZero;
        break;
    case k_roundTowardZero:
        break;
    case k_roundTowardPlusInfinity:
        if (!negative && distance != 0)
            *this += Fixed(1);
        break;
    case k_roundTowardMinusInfinity:
        if (negative && distance != 0)
            *this -= Fixed(1);
        break;
    }
}

Fixed::operator long double() const {
    const ScaleFactors& scales = WordScales();
    const bool negative = IsNegative();
    const Fixed magnitude = negative ? -*this : *this;
    const long double sum =
        magnitude.m_words[3] * scales.scale0 + magnitude.m_words[2] * scales.scale32 +
        magnitude.m_words[1] * scales.scale64 + magnitude.m_words[0] * scales.scale96;
    return negative ? -sum : sum;
}

Fixed operator&(const Fixed& left, const Fixed& right) {
    return Fixed(left.m_words[0] & right.m_words[0], left.m_words[1] & right.m_words[1],
                 left.m_words[2] & right.m_words[2], left.m_words[3] & right.m_words[3]);
}

bool operator<(const Fixed& left, const Fixed& right) {
    const auto leftTop = static_cast<std::int32_t>(left.m_words[0]);
    const auto rightTop = static_cast<std::int32_t>(right.m_words[0]);
    if (leftTop != rightTop)
        return leftTop < rightTop;
    for (unsigned i = 1; i < 4; ++i) {
        if (left.m_words[i] != right.m_words[i])
            return left.m_words[i] < right.m_words[i];
    }
    return false;
}

bool operator==(const Fixed& left, const Fixed& right) {
    return std::memcmp(left.m_words, right.m_words, sizeof left.m_words) == 0;
}

} // namespace nQXSS100
