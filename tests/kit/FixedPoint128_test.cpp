// 128-bit fixed-point arithmetic: conversion from double, sums, comparison and shifts.
#include "qx/kit/FixedPoint128.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using Fixed = nQXSS100::tFixedPoint128<64, true>;
using Words = std::array<std::uint32_t, 4>;

Words WordsOf(const Fixed& value) {
    return {value.Word(0), value.Word(1), value.Word(2), value.Word(3)};
}

Words Rounded(Fixed value, Fixed::RoundingMode mode) {
    value.Round(mode);
    return WordsOf(value);
}

Words Shifted(Fixed value, std::int32_t s, bool fillWithSign) {
    value.Shift(s, fillWithSign);
    return WordsOf(value);
}

constexpr std::uint32_t k_ones = 0xFFFFFFFFu;
constexpr std::uint32_t k_half = 0x80000000u;

TEST(FixedPoint128, From_double_truncates_below_the_last_fraction_bit_and_keeps_the_floor) {
    EXPECT_EQ(WordsOf(Fixed(-0.0)), (Words{0, 0, 0, 0}));
    EXPECT_EQ(WordsOf(Fixed(1.5)), (Words{0, 1, k_half, 0}));
    EXPECT_EQ(WordsOf(Fixed(-1.5)), (Words{k_ones, 0xFFFFFFFEu, k_half, 0}));
    EXPECT_EQ(WordsOf(Fixed(-2.25)), (Words{k_ones, 0xFFFFFFFDu, 0xC0000000u, 0}));
    EXPECT_EQ(WordsOf(Fixed(std::ldexp(1.0, -64))), (Words{0, 0, 0, 1}));
    EXPECT_EQ(WordsOf(Fixed(std::ldexp(1.0, -65))), (Words{0, 0, 0, 0}));
    EXPECT_EQ(WordsOf(Fixed(std::ldexp(1.0, 63) - 1024.0)),
              (Words{0x7FFFFFFFu, 0xFFFFFC00u, 0, 0}));
}

TEST(FixedPoint128, From_double_saturates_infinities_and_magnitudes_from_two_to_the_63) {
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Fixed(infinity), Fixed::Largest());
    EXPECT_EQ(Fixed(-infinity), Fixed::Smallest());
    EXPECT_EQ(Fixed(std::ldexp(1.0, 63)), Fixed::Largest());
    EXPECT_EQ(Fixed(-1e300), Fixed::Smallest());
}

TEST(FixedPoint128, Sums_carry_across_words_and_wrap_and_comparison_is_signed) {
    EXPECT_EQ(WordsOf(Fixed(0, 0, k_ones, k_ones) + Fixed(0, 0, 0, 1)), (Words{0, 1, 0, 0}));
    EXPECT_EQ(WordsOf(Fixed(1, 0, 0, 0) - Fixed(0, 0, 0, 1)), (Words{0, k_ones, k_ones, k_ones}));
    EXPECT_EQ(Fixed::Largest() + Fixed(0, 0, 0, 1), Fixed::Smallest());
    EXPECT_EQ(WordsOf(Fixed(std::int32_t{-1})), (Words{k_ones, k_ones, 0, 0}));
    EXPECT_TRUE(Fixed(std::int32_t{-1}) < Fixed(std::uint32_t{1}));
    EXPECT_TRUE(Fixed(std::uint32_t{1}) > Fixed(std::int32_t{-1}));
    EXPECT_TRUE(Fixed(0, 0, k_half, 0) < Fixed(0, 1, 0, 0));
}

TEST(FixedPoint128, Integers_zero_masks_and_equality_act_on_every_word_in_its_place) {
    EXPECT_EQ(WordsOf(Fixed(std::uint32_t{0x80000000u})), (Words{0, k_half, 0, 0}));
    EXPECT_EQ(WordsOf(Fixed::Zero()), (Words{0, 0, 0, 0}));
    EXPECT_TRUE(Fixed::Zero().IsZero());
    const Fixed distinct(0x01020304u, 0x05060708u, 0x090A0B0Cu, 0x0D0E0F10u);
    EXPECT_EQ(WordsOf(distinct & Fixed(k_ones, 0x0000FFFFu, 0xFF00FF00u, 0x0F0F0F0Fu)),
              (Words{0x01020304u, 0x00000708u, 0x09000B00u, 0x0D0E0F00u}));
    std::uint32_t words[4] = {k_ones, k_ones, k_ones, k_ones};
    distinct.ToWords(words);
    EXPECT_EQ((Words{words[0], words[1], words[2], words[3]}), WordsOf(distinct));
    for (unsigned i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        std::uint32_t one[4] = {0, 0, 0, 0};
        one[i] = 1;
        const Fixed differing = Fixed::FromWords(one);
        EXPECT_FALSE(differing.IsZero());
        EXPECT_TRUE(differing != Fixed::Zero());
        EXPECT_FALSE(differing == Fixed::Zero());
        EXPECT_FALSE(differing < differing);
        EXPECT_FALSE(differing != differing);
    }
}

TEST(FixedPoint128, Shifts_move_whole_halves_then_bits_and_fill_as_asked) {
    const Fixed negative(k_half, 0, 0, 0x10u);
    EXPECT_EQ(Shifted(negative, 4, true), (Words{0xF8000000u, 0, 0, 1}));
    EXPECT_EQ(Shifted(negative, 4, false), (Words{0x08000000u, 0, 0, 1}));
    EXPECT_EQ(Shifted(negative, 64, true), (Words{k_ones, k_ones, k_half, 0}));
    EXPECT_EQ(Shifted(negative, 64, false), (Words{0, 0, k_half, 0}));
    EXPECT_EQ(Shifted(negative, 65, true), (Words{k_ones, k_ones, 0xC0000000u, 0}));
    EXPECT_EQ(Shifted(negative, 65, false), (Words{0, 0, 0x40000000u, 0}));
    EXPECT_EQ(Shifted(negative, 96, false), (Words{0, 0, 0, k_half}));
    EXPECT_EQ(Shifted(negative, 127, true), (Words{k_ones, k_ones, k_ones, k_ones}));
    EXPECT_EQ(Shifted(negative, 128, true), (Words{k_ones, k_ones, k_ones, k_ones}));
    EXPECT_EQ(Shifted(Fixed(0, 0, 0, 1), -127, false), (Words{k_half, 0, 0, 0}));
    EXPECT_EQ(Shifted(Fixed(0, 0, k_half, 1), -1, false), (Words{0, 1, 0, 2}));
    EXPECT_EQ(Shifted(Fixed(k_ones, 1, 2, 3), -128, false), (Words{0, 0, 0, 0}));
    EXPECT_EQ(Shifted(negative, 0, true), (Words{k_half, 0, 0, 0x10u}));
    EXPECT_EQ(0x10u, negative.Fraction64());
    EXPECT_EQ(static_cast<std::int64_t>(0x8000000000000000u), negative.IntegerPart64());
}

TEST(FixedPoint128, Rounding_to_nearest_breaks_ties_to_even_on_both_sides_of_zero) {
    const auto nearest = Fixed::k_roundNearestEven;
    EXPECT_EQ(Rounded(Fixed(0.5), nearest), (Words{0, 0, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(1.5), nearest), (Words{0, 2, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(2.5), nearest), (Words{0, 2, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(-0.5), nearest), (Words{0, 0, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(-1.5), nearest), (Words{k_ones, 0xFFFFFFFEu, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(-2.5), nearest), (Words{k_ones, 0xFFFFFFFEu, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(-2.75), nearest), (Words{k_ones, 0xFFFFFFFDu, 0, 0}));
}

TEST(FixedPoint128, Directed_rounding_goes_toward_zero_or_an_infinity) {
    EXPECT_EQ(Rounded(Fixed(-2.75), Fixed::k_roundTowardZero), (Words{k_ones, 0xFFFFFFFEu, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(2.25), Fixed::k_roundTowardPlusInfinity), (Words{0, 3, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(-2.25), Fixed::k_roundTowardPlusInfinity),
              (Words{k_ones, 0xFFFFFFFEu, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(-2.25), Fixed::k_roundTowardMinusInfinity),
              (Words{k_ones, 0xFFFFFFFDu, 0, 0}));
    EXPECT_EQ(Rounded(Fixed(-3.0), Fixed::k_roundTowardMinusInfinity),
              (Words{k_ones, 0xFFFFFFFDu, 0, 0}));
}

TEST(FixedPoint128, Long_double_and_native_words_read_the_same_value_on_every_target) {
    EXPECT_EQ(static_cast<long double>(Fixed(-2.25)), -2.25L);
    EXPECT_EQ(static_cast<long double>(Fixed::Smallest()), -std::ldexp(1.0L, 63));
    EXPECT_EQ(static_cast<long double>(Fixed(0, 0, k_ones, k_ones) & Fixed(1.75)), 0.75L);
    const std::uint32_t words[4] = {0xFFFFFFFFu, 0xFFFFFFFEu, 0x40000000u, 0};
    const Fixed value = Fixed::FromWords(words);
    EXPECT_EQ(static_cast<long double>(value), -1.75L);
    std::uint32_t back[4] = {};
    value.ToWords(back);
    EXPECT_EQ(0, std::memcmp(words, back, sizeof words));
}

} // namespace
