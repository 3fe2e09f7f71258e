#include "qx/kit/FixedPoint128.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

using Fixed = nQXSS100::tFixedPoint128<64, true>;

void ExpectWords(const Fixed& value, std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                 std::uint32_t w3) {
    EXPECT_EQ(value.Word(0), w0);
    EXPECT_EQ(value.Word(1), w1);
    EXPECT_EQ(value.Word(2), w2);
    EXPECT_EQ(value.Word(3), w3);
}

Fixed Rounded(Fixed value, Fixed::RoundingMode mode) {
    value.Round(mode);
    return value;
}

Fixed Shifted(Fixed value, std::int32_t s, bool fillWithSign) {
    value.Shift(s, fillWithSign);
    return value;
}

TEST(FixedPoint128, From_double_truncates_in_the_last_fraction_bit_and_keeps_the_floor_form) {
    ExpectWords(Fixed(0.0), 0, 0, 0, 0);
    ExpectWords(Fixed(-0.0), 0, 0, 0, 0);
    ExpectWords(Fixed(1.5), 0, 1, 0x80000000u, 0);
    ExpectWords(Fixed(-1.5), 0xFFFFFFFFu, 0xFFFFFFFEu, 0x80000000u, 0);
    ExpectWords(Fixed(-2.25), 0xFFFFFFFFu, 0xFFFFFFFDu, 0xC0000000u, 0);
    ExpectWords(Fixed(std::ldexp(1.0, -64)), 0, 0, 0, 1);
    ExpectWords(Fixed(std::ldexp(1.0, -65)), 0, 0, 0, 0);
    ExpectWords(Fixed(std::ldexp(1.0, 62)), 0x40000000u, 0, 0, 0);
}

TEST(FixedPoint128, From_double_saturates_infinities_nan_and_magnitudes_from_two_to_the_63) {
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Fixed(infinity), Fixed::Largest());
    EXPECT_EQ(Fixed(-infinity), Fixed::Smallest());
    EXPECT_EQ(Fixed(std::ldexp(1.0, 63)), Fixed::Largest());
    EXPECT_EQ(Fixed(-std::ldexp(1.0, 63)), Fixed::Smallest());
    EXPECT_EQ(Fixed(1e300), Fixed::Largest());
    EXPECT_EQ(Fixed(-1e300), Fixed::Smallest());
    EXPECT_EQ(Fixed(std::numeric_limits<double>::quiet_NaN()), Fixed::Largest());
    ExpectWords(Fixed(std::ldexp(1.0, 63) - 1024.0), 0x7FFFFFFFu, 0xFFFFFC00u, 0, 0);
}

TEST(FixedPoint128, From_integers_sign_or_zero_extends) {
    ExpectWords(Fixed(std::int32_t{-1}), 0xFFFFFFFFu, 0xFFFFFFFFu, 0, 0);
    ExpectWords(Fixed(std::uint32_t{0xFFFFFFFFu}), 0, 0xFFFFFFFFu, 0, 0);
}

TEST(FixedPoint128, Sums_carry_and_borrow_across_all_words_and_wrap) {
    ExpectWords(Fixed(0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu) + Fixed(0, 0, 0, 1), 0, 1, 0, 0);
    ExpectWords(Fixed(1, 0, 0, 0) - Fixed(0, 0, 0, 1), 0, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(Fixed::Largest() + Fixed(0, 0, 0, 1), Fixed::Smallest());
    ExpectWords(-Fixed(1.5), 0xFFFFFFFFu, 0xFFFFFFFEu, 0x80000000u, 0);
    EXPECT_EQ(-Fixed::Smallest(), Fixed::Smallest());
}

TEST(FixedPoint128, Comparison_reads_the_top_word_as_signed) {
    const Fixed minusOne(0xFFFFFFFFu, 0xFFFFFFFFu, 0, 0);
    const Fixed plusOne(0, 1, 0, 0);
    EXPECT_TRUE(minusOne < plusOne);
    EXPECT_TRUE(plusOne > minusOne);
    EXPECT_FALSE(plusOne < minusOne);
    EXPECT_TRUE(Fixed(0, 1, 0, 1) > Fixed(0, 1, 0, 0));
    EXPECT_TRUE(Fixed(0, 0, 0x80000000u, 0) < Fixed(0, 1, 0, 0));
    EXPECT_TRUE(Fixed::Smallest() < Fixed::Largest());
    EXPECT_NE(minusOne, plusOne);
}

TEST(FixedPoint128, Shifts_move_whole_halves_then_bits_and_fill_as_asked) {
    const Fixed negative(0x80000000u, 0, 0, 0x10u);
    ExpectWords(Shifted(negative, 4, true), 0xF8000000u, 0, 0, 1);
    ExpectWords(Shifted(negative, 4, false), 0x08000000u, 0, 0, 1);
    ExpectWords(Shifted(negative, 64, true), 0xFFFFFFFFu, 0xFFFFFFFFu, 0x80000000u, 0);
    ExpectWords(Shifted(negative, 96, false), 0, 0, 0, 0x80000000u);
    ExpectWords(Shifted(negative, 127, true), 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu);
    ExpectWords(Shifted(negative, 128, true), 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu);
    ExpectWords(Shifted(negative, 500, false), 0, 0, 0, 0);
    ExpectWords(Shifted(Fixed(0, 0, 0, 1), -127, false), 0x80000000u, 0, 0, 0);
    ExpectWords(Shifted(Fixed(0, 0, 0, 3), -65, false), 0, 6, 0, 0);
    ExpectWords(Shifted(Fixed(0, 0, 0x80000000u, 1), -1, false), 0, 1, 0, 2);
    ExpectWords(Shifted(Fixed(0xFFFFFFFFu, 1, 2, 3), -128, false), 0, 0, 0, 0);
    ExpectWords(Shifted(Fixed(1, 2, 3, 4), 0, true), 1, 2, 3, 4);
}

TEST(FixedPoint128, Round_nearest_breaks_ties_to_even_on_both_sides_of_zero) {
    const auto nearest = Fixed::k_roundNearestEven;
    ExpectWords(Rounded(Fixed(0.5), nearest), 0, 0, 0, 0);
    ExpectWords(Rounded(Fixed(1.5), nearest), 0, 2, 0, 0);
    ExpectWords(Rounded(Fixed(2.5), nearest), 0, 2, 0, 0);
    ExpectWords(Rounded(Fixed(1.75), nearest), 0, 2, 0, 0);
    ExpectWords(Rounded(Fixed(-0.5), nearest), 0, 0, 0, 0);
    ExpectWords(Rounded(Fixed(-1.5), nearest), 0xFFFFFFFFu, 0xFFFFFFFEu, 0, 0);
    ExpectWords(Rounded(Fixed(-2.5), nearest), 0xFFFFFFFFu, 0xFFFFFFFEu, 0, 0);
    ExpectWords(Rounded(Fixed(-2.25), nearest), 0xFFFFFFFFu, 0xFFFFFFFEu, 0, 0);
    ExpectWords(Rounded(Fixed(-2.75), nearest), 0xFFFFFFFFu, 0xFFFFFFFDu, 0, 0);
}

TEST(FixedPoint128, Round_directed_modes_go_toward_zero_and_the_infinities) {
    ExpectWords(Rounded(Fixed(2.75), Fixed::k_roundTowardZero), 0, 2, 0, 0);
    ExpectWords(Rounded(Fixed(-2.75), Fixed::k_roundTowardZero), 0xFFFFFFFFu, 0xFFFFFFFEu, 0, 0);
    ExpectWords(Rounded(Fixed(2.25), Fixed::k_roundTowardPlusInfinity), 0, 3, 0, 0);
    ExpectWords(Rounded(Fixed(-2.25), Fixed::k_roundTowardPlusInfinity), 0xFFFFFFFFu, 0xFFFFFFFEu,
                0, 0);
    ExpectWords(Rounded(Fixed(2.75), Fixed::k_roundTowardMinusInfinity), 0, 2, 0, 0);
    ExpectWords(Rounded(Fixed(-2.25), Fixed::k_roundTowardMinusInfinity), 0xFFFFFFFFu, 0xFFFFFFFDu,
                0, 0);
    ExpectWords(Rounded(Fixed(-3.0), Fixed::k_roundTowardMinusInfinity), 0xFFFFFFFFu, 0xFFFFFFFDu,
                0, 0);
}

TEST(FixedPoint128, Long_double_sums_the_weighted_words_of_the_magnitude) {
    EXPECT_EQ(static_cast<long double>(Fixed(1.5)), 1.5L);
    EXPECT_EQ(static_cast<long double>(Fixed(-2.25)), -2.25L);
    EXPECT_EQ(static_cast<long double>(Fixed(0, 0, 0, 1)), std::ldexp(1.0L, -64));
    EXPECT_EQ(static_cast<long double>(Fixed::Smallest()), -std::ldexp(1.0L, 63));
    EXPECT_EQ(static_cast<long double>(Fixed(0, 0, 0xFFFFFFFFu, 0xFFFFFFFFu) & Fixed(1.75)), 0.75L);
}

TEST(FixedPoint128, Bytes_are_big_endian_on_every_target) {
    const unsigned char bytes[16] = {0x80, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0xFF};
    const Fixed value = Fixed::FromBigEndianBytes(bytes);
    ExpectWords(value, 0x80010203u, 0x04050607u, 0x08090A0Bu, 0x0C0D0EFFu);
    EXPECT_TRUE(value.IsNegative());
    unsigned char back[16] = {};
    value.ToBigEndianBytes(back);
    EXPECT_EQ(0, std::memcmp(bytes, back, sizeof bytes));
}

} // namespace
