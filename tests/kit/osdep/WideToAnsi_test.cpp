// 16-bit units narrowed to 8-bit text, on the fallback and on the platform's conversion.
#include "qx/kit/osdep/WideToAnsi.h"

#include "expect_raised.h"
#include "fake_platform_conversions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

using namespace qx::kit::osdep;
using qx::kit::exception::InvalidLocale;

namespace {

constexpr char k_sentinel = '#';
namespace site = qx::kit::raise_site;

std::string Narrow(const std::u16string& text, std::size_t capacity, const char* locale = "") {
    std::string buffer(capacity + 1, k_sentinel);
    char* end = &buffer[0] + capacity;
    const std::uint32_t count =
        WideToAnsi(text.data(), text.data() + text.size(), locale, 0, &buffer[0], &end);
    EXPECT_EQ(count, static_cast<std::uint32_t>(end - &buffer[0]));
    EXPECT_EQ(k_sentinel, buffer[capacity]) << "written past the limit";
    buffer.resize(count);
    return buffer;
}

// An empty range is no call for the platform, which takes a length of 0 as an error.
TEST_F(WithPlatformConversions, Empty_input_gives_0_without_asking_the_platform) {
    char output[2] = {k_sentinel, k_sentinel};
    char* end = output + 2;
    const char16_t* text = u"x";
    EXPECT_EQ(0u, WideToAnsi(text, text, "", 0, output, &end));
    EXPECT_EQ(output, end);
    EXPECT_EQ(0u, WideToAnsiLength(text, text, 0));
    EXPECT_EQ(0, g_fakeConversions.calls);
    EXPECT_EQ(k_sentinel, output[0]);
}

TEST_F(WithoutPlatformConversions, Units_up_to_255_become_bytes_and_others_a_question_mark) {
    EXPECT_EQ("caf\xE9", Narrow(u"caf\u00E9", 4));
    EXPECT_EQ("?", Narrow(u"\u20AC", 1));
    EXPECT_EQ("a?\xFF", Narrow(u"a\u0100\u00FF", 3, "US-ASCII"));
    const std::u16string text = u"\u20AC\u20AC";
    EXPECT_EQ(2u, WideToAnsiLength(text.data(), text.data() + 2, 0));
}

TEST_F(WithoutPlatformConversions, Other_locale_names_and_full_output_raise) {
    ExpectRaised<InvalidLocale>([] { Narrow(u"abc", 3, "C.UTF-8"); }, site::k_wideToAnsiLocale);
    errno = 0;
    const auto error =
        ExpectRaised<PosixError>([] { Narrow(u"abc", 2); }, site::k_wideToAnsiOutputFull);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(0, error->getErrorCode()) << "a failure must not report success";
}

TEST_F(WithPlatformConversions, Platform_function_converts_and_measures) {
    EXPECT_EQ("\xA4\xE9", Narrow(u"\u20AC\u00E9", 2));
    const std::u16string text = u"\u20ACz";
    EXPECT_EQ(2u, WideToAnsiLength(text.data(), text.data() + 2, 0));
    EXPECT_TRUE(g_fakeConversions.lastOutputNull);
}

TEST_F(WithPlatformConversions, Platform_failures_raise_from_their_call) {
    const std::u16string text = u"abc";
    g_fakeConversions.fail = FakeConversionControl::Fail::Measuring;
    g_fakeConversions.failErrno = EILSEQ;
    ExpectRaised<PosixError>([&] { WideToAnsiLength(text.data(), text.data() + 3, 0); },
                             site::k_wideToAnsiMeasuring);
    g_fakeConversions.fail = FakeConversionControl::Fail::Converting;
    auto error = ExpectRaised<PosixError>([] { Narrow(u"abc", 3); }, site::k_wideToAnsiConverting);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(EILSEQ, error->whatcode());

    g_fakeConversions.fail = FakeConversionControl::Fail::Overstating;
    errno = EILSEQ;
    error = ExpectRaised<PosixError>([] { Narrow(u"abc", 3); }, site::k_wideToAnsiConverting);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(ERANGE, error->whatcode());
}

} // namespace
