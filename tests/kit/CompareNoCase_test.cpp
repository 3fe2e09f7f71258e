// Narrow texts and ranges compared without regard to case.
#include "qx/kit/CompareNoCase.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

using qx::kit::CompareNoCase;

namespace {

TEST(CompareNoCase, Zero_terminated_texts_with_null_as_empty) {
    EXPECT_EQ(0, CompareNoCase(u"Zeva", u"zEVA"));
    EXPECT_EQ(0, CompareNoCase(static_cast<const char16_t*>(nullptr), u""));
    EXPECT_EQ(0, CompareNoCase("Zeva", "ZEVA"));
    EXPECT_GT(CompareNoCase("a", static_cast<const char*>(nullptr)), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
}

TEST(CompareNoCase, Bytes_compare_unsigned_whatever_the_signedness_of_char) {
    EXPECT_GT(CompareNoCase("\xE9", "A"), 0);
    EXPECT_EQ(0xE9 - 'A', CompareNoCase("\xE9", "a"));
}

TEST(CompareNoCase, Ranges_compare_only_their_bytes) {
    const char text[] = "BOARDx";
    const char other[] = "boardy";
    EXPECT_EQ(0, CompareNoCase(text, text + 5, other, other + 5));
    EXPECT_NE(0, CompareNoCase(text, text + 6, other, other + 6));
    EXPECT_EQ(0, CompareNoCase(nullptr, nullptr, other, other));
}

TEST(CompareNoCase, A_length_difference_beyond_int_keeps_its_sign) {
    // Only the common units are read, so the claimed lengths may exceed the text.
    EXPECT_EQ(INT_MIN, CompareNoCase(u"a", 1, u"a", UINT32_MAX));
    EXPECT_EQ(INT_MAX, CompareNoCase(u"a", UINT32_MAX, u"a", 1));
}

} // namespace
