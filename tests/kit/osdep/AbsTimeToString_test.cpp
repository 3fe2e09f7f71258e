// Absolute times formatted as text: fractions of seconds, rounding, local time and UTC.
#include "qx/kit/osdep/AbsTimeToString.h"

#include "time_zone.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

using qx::kit::AbsTime;
using qx::kit::WideString;
using qx::kit::osdep::AbsTimeToString;

constexpr std::uint32_t k_1970 = 2082844800u;

std::u16string Format(const AbsTime& t, const char16_t* format, std::int32_t digits,
                      std::int32_t separator, bool inUtc = false) {
    return AbsTimeToString(t, WideString(format), digits, separator, inUtc).c_str();
}

TEST(AbsTimeToString, Seconds_directives_carry_the_rounded_fraction) {
    TimeZone utc("UTC0");
    const AbsTime t(0, k_1970 + 3661, 0x40000000u, 0); // 01:01:01.25
    EXPECT_EQ(Format(t, u"%H:%M:%S", 3, qx::kit::osdep::k_separatorPoint), u"01:01:01.250");
    EXPECT_EQ(Format(t, u"%S|%#S", 1, qx::kit::osdep::k_separatorComma), u"01,3|01,3");
    EXPECT_EQ(Format(t, u"%H:%M:%S", 0, qx::kit::osdep::k_separatorPoint), u"01:01:01");
    // The C locale's decimal point.
    EXPECT_EQ(Format(t, u"%S", 2, 0), u"01.25");
}

TEST(AbsTimeToString, Only_real_seconds_directives_are_extended) {
    TimeZone utc("UTC0");
    const AbsTime t(0, k_1970 + 5, 0x80000000u, 0);
    EXPECT_EQ(Format(t, u"S%%S %S%", 1, qx::kit::osdep::k_separatorPoint), u"S%S 05.5%");
    EXPECT_EQ(Format(t, u"", 3, qx::kit::osdep::k_separatorPoint), u"");
}

TEST(AbsTimeToString, A_fraction_that_rounds_up_carries_into_the_seconds_before_1970_too) {
    TimeZone utc("UTC0");
    const AbsTime almostTwo(0, k_1970 + 1, 0xFFF00000u, 0);
    EXPECT_EQ(Format(almostTwo, u"%S", 2, qx::kit::osdep::k_separatorPoint), u"02.00");
    // A quarter second before 1970 is 23:59:59 and three quarters.
    const AbsTime beforeEpoch(0, k_1970 - 1, 0xC0000000u, 0);
    EXPECT_EQ(Format(beforeEpoch, u"%Y-%m-%d %H:%M:%S", 2, qx::kit::osdep::k_separatorPoint),
              u"1969-12-31 23:59:59.75");
}

TEST(AbsTimeToString, Breaks_down_in_local_time_or_utc) {
    TimeZone eastOfUtc("QXT-2");
    const AbsTime epoch(0, k_1970, 0, 0);
    EXPECT_EQ(Format(epoch, u"%H", 0, 1), u"02");
    EXPECT_EQ(Format(epoch, u"%H", 0, 1, true), u"00");
}

TEST(AbsTimeToString, Output_longer_than_the_first_buffer_is_formatted_whole) {
    TimeZone utc("UTC0");
    const AbsTime epoch(0, k_1970, 0, 0);
    const std::u16string date = u"Thu Jan  1 00:00:00 1970";
    EXPECT_EQ(Format(epoch, u"%c", 0, 1), date);
    // Ten format characters give 120 of output, beyond twice the format and 64 more.
    EXPECT_EQ(Format(epoch, u"%c%c%c%c%c", 0, 1), date + date + date + date + date);
}

// The numeric part of a locale whose decimal point is a comma, for one scope.
class CommaLocale {
public:
    CommaLocale() : m_old(std::setlocale(LC_NUMERIC, nullptr)) {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_NUMERIC, name) != nullptr) {
                m_set = true;
                return;
            }
        }
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, m_old.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool set() const { return m_set; }

private:
    std::string m_old;
    bool m_set = false;
};

TEST(AbsTimeToString, Point_and_comma_are_fixed_and_any_other_choice_follows_the_locale) {
    TimeZone utc("UTC0");
    CommaLocale comma;
    // A missing locale fails rather than skips: the choice that follows the locale would
    // otherwise go untested on a machine that lacks it, with nothing to show for it.
    ASSERT_TRUE(comma.set()) << "no de_DE.UTF-8 locale on this machine (nor, under qemu-ppc, in "
                                "/usr/powerpc-linux-gnu): run scripts/install-deps.sh";
    ASSERT_STREQ(",", std::localeconv()->decimal_point);
    const AbsTime t(0, k_1970 + 7, 0x80000000u, 0);
    EXPECT_EQ(Format(t, u"%S", 1, qx::kit::osdep::k_separatorPoint), u"07.5");
    EXPECT_EQ(Format(t, u"%S", 1, qx::kit::osdep::k_separatorComma), u"07,5");
    EXPECT_EQ(Format(t, u"%S", 1, 0), u"07,5");
}

} // namespace
