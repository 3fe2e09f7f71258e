// A signed 128-bit two's-complement fixed-point number with 64 fraction bits: the value V
// stands for V / 2^64. Four 32-bit words, w0 most significant: w0:w1 is the integer part
// (the floor of the value), w2:w3 the fraction in units of 2^-64. Plain data; nothing
// allocates, nothing reports overflow (sums wrap in 128 bits).
#ifndef QX_KIT_FIXEDPOINT128_H
#define QX_KIT_FIXEDPOINT128_H

#include <cstdint>

namespace nQXSS100 {

template <int FractionBits, bool Signed>
class tFixedPoint128;

template <>
class tFixedPoint128<64, true> {
public:
    // Modes of Round.
    enum RoundingMode : std::int32_t {
        k_roundNearestEven = 1,
        k_roundTowardZero = 2,
        k_roundTowardPlusInfinity = 3,
        k_roundTowardMinusInfinity = 4
    };

    constexpr tFixedPoint128() : m_words{0, 0, 0, 0} {}
    constexpr tFixedPoint128(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3)
        : m_words{w0, w1, w2, w3} {}
    explicit tFixedPoint128(std::int32_t integer);
    explicit tFixedPoint128(std::uint32_t integer);
    // Toward zero in the last fraction bit; infinities, and magnitudes of 2^63 or more that
    // the integer part cannot hold, saturate to the extreme of their sign; NaN to the
    // extreme of its sign bit.
    explicit tFixedPoint128(double value);

    static constexpr tFixedPoint128 Zero() { return tFixedPoint128(); }
    static constexpr tFixedPoint128 Largest() {
        return tFixedPoint128(0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu);
    }
    static constexpr tFixedPoint128 Smallest() { return tFixedPoint128(0x80000000u, 0, 0, 0); }

    // Four native words, w0 most significant, as records that cross an interface keep them.
    static constexpr tFixedPoint128 FromWords(const std::uint32_t (&words)[4]) {
        return tFixedPoint128(words[0], words[1], words[2], words[3]);
    }
    void ToWords(std::uint32_t (&words)[4]) const {
        for (unsigned i = 0; i < 4; ++i)
            words[i] = m_words[i];
    }

    constexpr std::uint32_t Word(unsigned index) const { return m_words[index]; }
    bool IsZero() const;
    bool IsNegative() const { return (m_words[0] & 0x80000000u) != 0; }
    // The low 32 bits of the integer part, without a range test.
    std::uint32_t IntegerPart32() const { return m_words[1]; }
    std::int64_t IntegerPart64() const;
    std::uint64_t Fraction64() const;

    tFixedPoint128& operator+=(const tFixedPoint128& other);
    tFixedPoint128& operator-=(const tFixedPoint128& other);
    tFixedPoint128 operator-() const;
    void Negate();

    // s > 0 shifts right, filling with the sign bit when fillWithSign is set, else with
    // zeros; s < 0 shifts left by -s.
    void Shift(std::int32_t s, bool fillWithSign);
    void Round(RoundingMode mode);

    explicit operator long double() const;

    friend tFixedPoint128 operator+(tFixedPoint128 left, const tFixedPoint128& right) {
        return left += right;
    }
    friend tFixedPoint128 operator-(tFixedPoint128 left, const tFixedPoint128& right) {
        return left -= right;
    }
    friend tFixedPoint128 operator&(const tFixedPoint128& left, const tFixedPoint128& right);
    friend bool operator<(const tFixedPoint128& left, const tFixedPoint128& right);
    friend bool operator==(const tFixedPoint128& left, const tFixedPoint128& right);
    friend bool operator>(const tFixedPoint128& left, const tFixedPoint128& right) {
        return right < left;
    }
    friend bool operator!=(const tFixedPoint128& left, const tFixedPoint128& right) {
        return !(left == right);
    }

private:
    std::uint64_t High() const;
    std::uint64_t Low() const;
    void SetHalves(std::uint64_t high, std::uint64_t low);

    std::uint32_t m_words[4];
};

static_assert(sizeof(tFixedPoint128<64, true>) == 16, "the fixed-point value is 16 bytes");

} // namespace nQXSS100

#endif
