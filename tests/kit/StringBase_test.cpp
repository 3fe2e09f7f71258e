// The wide string: construction, copies, appends, and narrow texts widened (fallback, platform).
#include "qx/kit/StringBase.h"

#include "expect_raised.h"
#include "fake_platform_conversions.h"
#include "qx/kit/WideTextLength.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using qx::kit::WideString;
using qx::kit::exception::InvalidLocale;
using qx::kit::exception::OutOfRange;

namespace {

namespace site = qx::kit::raise_site;

std::u16string Text(const WideString& s) {
    return std::u16string(s.c_str(), s.length());
}

// A string of exactly capacity units.
WideString Exact(const char16_t* text) {
    return WideString(text);
}

TEST(StringBase, Null_texts_give_an_empty_terminated_string) {
    const WideString fromNarrow(static_cast<const char*>(nullptr));
    const WideString fromWide(static_cast<const char16_t*>(nullptr));
    for (const WideString* s : {&fromNarrow, &fromWide}) {
        ASSERT_NE(nullptr, s->c_str());
        EXPECT_EQ(0, s->c_str()[0]);
        EXPECT_EQ(0u, s->length());
        EXPECT_EQ(0u, s->capacity());
    }
}

TEST(StringBase, Units_are_copied_exactly_with_embedded_zeros_and_copies_are_deep) {
    const char16_t units[] = {u'a', 0, u'b'};
    WideString original(units, 3);
    EXPECT_EQ(3u, original.length());
    EXPECT_EQ(3u, original.capacity());
    const WideString copy = original;
    original[0] = u'z';
    EXPECT_EQ(std::u16string(units, 3), Text(copy));
    WideString assigned(u"x");
    assigned = original;
    EXPECT_NE(original.c_str(), assigned.c_str());
    EXPECT_EQ(Text(original), Text(assigned));
}

TEST_F(WithoutPlatformConversions, Narrow_text_widens_byte_for_unit) {
    EXPECT_EQ(u"caf\u00E9\u00A4", Text(WideString("caf\xE9\xA4")));
    ExpectRaised<InvalidLocale>([] { WideString("abc", "fr_FR"); }, site::k_ansiToWideLocale);
}

TEST_F(WithPlatformConversions, Narrow_text_widens_through_the_platform_function) {
    const WideString s("caf\xE9\xA4");
    EXPECT_EQ(u"caf\u00E9\u20AC", Text(s));
    EXPECT_EQ(5u, s.capacity());
}

TEST_F(WithPlatformConversions, Failed_conversion_raises_and_leaves_no_block) {
    g_fakeConversions.fail = FakeConversionControl::Fail::Converting;
    g_fakeConversions.failErrno = EILSEQ;
    ExpectRaised<qx::kit::osdep::PosixError>([] { WideString("abc"); },
                                             site::k_ansiToWideConverting);
}

TEST(StringBase, Case_is_ignored_for_ascii_letters_only_and_length_always_counts) {
    EXPECT_TRUE(Exact(u"Board-One").equalsNoCase(Exact(u"bOARD-oNE")));
    EXPECT_TRUE(Exact(u"").equalsNoCase(Exact(u"")));
    EXPECT_FALSE(Exact(u"board").equalsNoCase(Exact(u"boards")));
    EXPECT_LT(Exact(u"board").compareNoCase(Exact(u"BOARDS")), 0);
    EXPECT_GT(Exact(u"boards").compareNoCase(Exact(u"board")), 0);
    EXPECT_EQ('A' - 'B', Exact(u"xa").compareNoCase(Exact(u"XB")));
    // Units above 255 are compared as they are, not cut to a byte first.
    EXPECT_FALSE(Exact(u"\u0161").equalsNoCase(Exact(u"\u0141")));
    EXPECT_EQ(0x161 - 0x141, Exact(u"\u0161").compareNoCase(Exact(u"\u0141")));
}

TEST(StringBase, Append_beyond_capacity_doubles_then_fills_without_moving) {
    WideString s = Exact(u"abcde");
    ASSERT_EQ(5u, s.capacity());
    s.append(u"fgh", 3);
    EXPECT_EQ(8u, s.length());
    EXPECT_EQ(16u, s.capacity());
    const char16_t* block = s.c_str();
    s.append(u"ijklmnop");
    EXPECT_EQ(block, s.c_str());
    EXPECT_EQ(16u, s.capacity());
    EXPECT_EQ(u"abcdefghijklmnop", Text(s));
    s.append(nullptr);
    s.append(u"q", 0);
    EXPECT_EQ(16u, s.length());
}

TEST(StringBase, Appending_own_text_survives_the_block_moving) {
    WideString s = Exact(u"abcde");
    const WideString neighbour = Exact(u"keeps the block from growing in place");
    s.append(s.c_str(), s.length());
    EXPECT_EQ(u"abcdeabcde", Text(s));
    WideString t = Exact(u"0123");
    t.append(t.c_str() + 1, 2);
    EXPECT_EQ(u"012312", Text(t));
}

TEST(StringBase, Assign_shrinks_only_below_half_the_capacity) {
    WideString s = Exact(u"0123456789");
    s.assign(u"abcdef", 6);
    EXPECT_EQ(10u, s.capacity());
    EXPECT_EQ(u"abcdef", Text(s));
    s.assign(u"xy", 2);
    EXPECT_EQ(2u, s.capacity());
    EXPECT_EQ(u"xy", Text(s));
    s.assign(nullptr, 0);
    EXPECT_EQ(0u, s.length());
    EXPECT_EQ(0, s.c_str()[0]);
}

TEST(StringBase, Assign_from_its_own_block_copies_first) {
    WideString s = Exact(u"hello world");
    s.assign(s.c_str() + 6, 5);
    EXPECT_EQ(u"world", Text(s));
    s.assign(s.c_str(), 3);
    EXPECT_EQ(u"wor", Text(s));
    EXPECT_EQ(0, s.c_str()[3]);
    s.assign(s.c_str() + 1, 1);
    EXPECT_EQ(u"o", Text(s));
}

TEST(StringBase, Oversized_counts_raise_before_anything_changes) {
    ExpectRaised<OutOfRange>([] { WideString(nullptr, 0xFFFFFFFFu); }, site::k_safeAddition);
    WideString s = Exact(u"abc");
    const char16_t other[] = u"x";
    ExpectRaised<OutOfRange>([&] { s.assign(other, 0x7FFFFFFFu); }, site::k_stringCodeDoubling);
    ExpectRaised<OutOfRange>([&] { s.append(other, 0xFFFFFFFEu); }, site::k_safeAddition);
    EXPECT_EQ(u"abc", Text(s));
    EXPECT_EQ(3u, s.capacity());
}

TEST(StringBase, Find_searches_from_the_start_position) {
    const WideString s = Exact(u"a.b.c");
    EXPECT_EQ(1u, s.find(u'.'));
    EXPECT_EQ(3u, s.find(u'.', 2));
    EXPECT_EQ(WideString::npos, s.find(u'.', 4));
    EXPECT_EQ(WideString::npos, s.find(u'a', 5));
    EXPECT_EQ(WideString::npos, s.find(u'\0')) << "the terminator is not part of the text";
}

TEST(StringBase, Wide_text_length_stops_at_the_first_zero_or_at_the_limit) {
    EXPECT_EQ(2u, WideTextLength(u"ab\0c"));
    EXPECT_EQ(2u, WideTextLength(u"ab\0c", 3));
    // A block with no zero in it at all: read up to the limit and not one unit further.
    const std::unique_ptr<char16_t[]> units(new char16_t[3]{u'x', u'y', u'z'});
    EXPECT_EQ(3u, WideTextLength(units.get(), 3));
    EXPECT_EQ(1u, WideTextLength(units.get(), 1));
    EXPECT_EQ(0u, WideTextLength(units.get(), 0));
}

TEST(StringBase, Substring_takes_what_the_text_holds_and_rejects_bad_positions) {
    const WideString s = Exact(u"interface0");
    EXPECT_EQ(u"face", Text(WideString(s, 5, 4)));
    EXPECT_EQ(u"face0", Text(WideString(s, 5, 100)));
    EXPECT_EQ(u"0", Text(WideString(s, 9)));
    EXPECT_EQ(u"", Text(WideString(s, 10)));
    ExpectRaised<OutOfRange>([&] { WideString(s, 2, 0xFFFFFFFEu); }, site::k_safeAddition);
    ExpectRaised<OutOfRange>([&] { WideString(s, 11, 0); }, site::k_substringPosition);
}

TEST(StringBase, Concatenation_is_sized_exactly) {
    const WideString joined(Exact(u"img"), Exact(u"0"));
    EXPECT_EQ(u"img0", Text(joined));
    EXPECT_EQ(4u, joined.capacity());
}

TEST_F(WithoutPlatformConversions, To_narrow_writes_units_above_255_as_question_marks) {
    EXPECT_STREQ("caf\xE9?", Exact(u"caf\u00E9\u20AC").toNarrow().c_str());
    EXPECT_STREQ("", WideString().toNarrow().c_str());
}

TEST_F(WithPlatformConversions, To_narrow_goes_through_the_platform_function) {
    const qx::kit::NarrowString narrow = Exact(u"\u20AC5").toNarrow();
    EXPECT_STREQ("\xA4"
                 "5",
                 narrow.c_str());
    EXPECT_EQ(2u, narrow.capacity());
    g_fakeConversions.fail = FakeConversionControl::Fail::Converting;
    ExpectRaised<qx::kit::osdep::PosixError>([] { Exact(u"abc").toNarrow(); },
                                             site::k_wideToAnsiConverting);
}

} // namespace
