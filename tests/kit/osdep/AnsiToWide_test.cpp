// 8-bit text widened to 16-bit units, on the fallback and on the platform's conversion.
#include "qx/kit/osdep/AnsiToWide.h"

#include "expect_raised.h"
#include "fake_platform_conversions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

using namespace qx::kit::osdep;
using qx::kit::exception::InvalidLocale;

namespace {

constexpr char16_t k_sentinel = 0xBEEF;
namespace site = qx::kit::raise_site;

// Converts text into a buffer of capacity units followed by a sentinel.
std::u16string Widen(const std::string& text, std::size_t capacity, const char* locale = "") {
    std::u16string buffer(capacity + 1, k_sentinel);
    char16_t* end = &buffer[0] + capacity;
    const std::uint32_t count =
        AnsiToWide(text.data(), text.data() + text.size(), locale, 0, &buffer[0], &end);
    EXPECT_EQ(count, static_cast<std::uint32_t>(end - &buffer[0]));
    EXPECT_EQ(k_sentinel, buffer[capacity]) << "written past the limit";
    buffer.resize(count);
    return buffer;
}

TEST_F(WithoutPlatformConversions, Each_byte_becomes_one_zero_extended_unit) {
    EXPECT_EQ(u"Ab1~", Widen("Ab1~", 4));
    EXPECT_EQ(u"caf\u00E9\u00A4\u0080", Widen("caf\xE9\xA4\x80", 6));
    EXPECT_EQ(6u, AnsiToWideLength("caf\xE9\xA4\x80", "caf\xE9\xA4\x80" + 6, 0));
    EXPECT_EQ(u"ok", Widen("ok", 2, "US-ASCII"));
}

TEST_F(WithPlatformConversions, Empty_input_gives_0_without_asking_the_platform) {
    char16_t output[2] = {k_sentinel, k_sentinel};
    char16_t* end = output + 2;
    const char* text = "x";
    EXPECT_EQ(0u, AnsiToWide(text, text, "", 0, output, &end));
    EXPECT_EQ(output, end);
    EXPECT_EQ(0u, AnsiToWideLength(text, text, 0));
    EXPECT_EQ(0, g_fakeConversions.calls);
    EXPECT_EQ(k_sentinel, output[0]);
}

TEST_F(WithoutPlatformConversions, Empty_input_writes_nothing_and_ends_at_the_start) {
    char16_t output[2] = {k_sentinel, k_sentinel};
    char16_t* end = output + 2;
    const char* text = "x";
    EXPECT_EQ(0u, AnsiToWide(text, text, "no-such-locale", 0, output, &end));
    EXPECT_EQ(output, end);
    EXPECT_EQ(0u, AnsiToWideLength(text, text, 0));
}

TEST_F(WithoutPlatformConversions, Other_locale_names_are_refused_when_converting_only) {
    const std::string text = "abc";
    EXPECT_EQ(3u, AnsiToWideLength(text.data(), text.data() + 3, 0));
    ExpectRaised<InvalidLocale>([&] { Widen(text, 3, "de_DE.UTF-8"); }, site::k_ansiToWideLocale);
    ExpectRaised<InvalidLocale>([&] { Widen(text, 3, "us-ascii"); }, site::k_ansiToWideLocale);
}

TEST_F(WithoutPlatformConversions, Full_output_raises_before_writing_past_the_limit) {
    errno = ENOENT; // a stale error must not be reported as the reason
    const auto error =
        ExpectRaised<PosixError>([] { Widen("abcd", 3); }, site::k_ansiToWideOutputFull);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(ERANGE, error->whatcode());
}

TEST_F(WithPlatformConversions, Platform_function_converts_and_measures) {
    EXPECT_EQ(u"\u20AC\u00E9", Widen("\xA4\xE9", 2, "any-name"));
    EXPECT_EQ(2, g_fakeConversions.lastInputLength);
    EXPECT_EQ(2, g_fakeConversions.lastOutputCapacity);

    const char* text = "\xA4\xE9z";
    EXPECT_EQ(3u, AnsiToWideLength(text, text + 3, 0));
    EXPECT_TRUE(g_fakeConversions.lastOutputNull);
    EXPECT_EQ(0, g_fakeConversions.lastOutputCapacity);
}

TEST_F(WithPlatformConversions, Platform_failures_raise_with_the_errno_left_behind) {
    const char* text = "abc";
    g_fakeConversions.fail = FakeConversionControl::Fail::Measuring;
    g_fakeConversions.failErrno = EILSEQ;
    auto error = ExpectRaised<PosixError>([&] { AnsiToWideLength(text, text + 3, 0); },
                                          site::k_ansiToWideMeasuring);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(EILSEQ, error->whatcode());
    EXPECT_EQ(42, error->getErrorCode());

    g_fakeConversions.fail = FakeConversionControl::Fail::Converting;
    g_fakeConversions.failErrno = ENOENT;
    error = ExpectRaised<PosixError>([] { Widen("abc", 3); }, site::k_ansiToWideConverting);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(7, error->getErrorCode());
    EXPECT_STREQ(std::strerror(ENOENT), error->what());

    // A count beyond the output says ERANGE, not what an earlier call left in errno.
    g_fakeConversions.fail = FakeConversionControl::Fail::Overstating;
    errno = EILSEQ;
    error = ExpectRaised<PosixError>([] { Widen("abc", 3); }, site::k_ansiToWideConverting);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(ERANGE, error->whatcode());
}

} // namespace
