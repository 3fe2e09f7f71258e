// Boundary wide strings: layout, null handling.
#include "com/widestring.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

TEST(WideString, Block_holds_count_units_and_terminator) {
    char16_t* text = AllocWideString(u"abc");
    ASSERT_NE(text, nullptr);
    std::uint32_t count = 0;
    std::memcpy(&count, reinterpret_cast<unsigned char*>(text) - 4, sizeof count);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(WideStringLength(text), 3u);
    EXPECT_EQ(std::u16string(text), u"abc");
    EXPECT_EQ(text[3], 0);
    // The receiver may free the block itself, four bytes below the text.
    std::free(reinterpret_cast<unsigned char*>(text) - 4);
}

TEST(WideString, Null_gives_null_and_freeing_null_does_nothing) {
    EXPECT_EQ(AllocWideString(nullptr), nullptr);
    FreeWideString(nullptr);
}

TEST(WideString, Empty_text_is_a_block_with_count_zero) {
    char16_t* text = AllocWideString(u"");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(WideStringLength(text), 0u);
    EXPECT_EQ(text[0], 0);
    FreeWideString(text);
}

TEST(WideString, Block_of_known_length_takes_exactly_that_many_units) {
    // The units after the count are not read: the block ends where the count says.
    const char16_t units[] = {u'x', u'y', u'z', u'w'};
    char16_t* text = AllocWideStringOfUnits(units, 3);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(WideStringLength(text), 3u);
    EXPECT_EQ(std::u16string(text), u"xyz");
    FreeWideString(text);
    EXPECT_EQ(AllocWideStringOfUnits(units, 0xFFFFFFFFu), nullptr) << "oversized: null, no throw";
}
