#include "qx/kit/osdep/TimeBreakdown.h"

#include "expect_raised.h"
#include "expert/module_exports.h"
#include "qx/kit/AbsTime.h"
#include "time_zone.h"

#include <gtest/gtest.h>

#include <ctime>
#include <limits>

namespace {

using qx::kit::AbsTime;
using qx::kit::osdep::ToLocalTimestamp;

constexpr std::uint32_t k_1970 = 2082844800u; // seconds from 1904 to 1970

kcSysAttrTimestamp Converted(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                             double offset = 0.0) {
    const kcSysAttrTimestampUTC in = MakeTimestampUTC(w0, w1, w2, w3);
    kcSysAttrTimestamp out{1, 2, 3, 4, 5, 6};
    ToLocalTimestamp(&in, &out, offset);
    return out;
}

void ExpectFields(const kcSysAttrTimestamp& t, int year, int month, int day, int hour, int minute,
                  int second) {
    EXPECT_EQ(t.year, year);
    EXPECT_EQ(t.month, month);
    EXPECT_EQ(t.day, day);
    EXPECT_EQ(t.hour, hour);
    EXPECT_EQ(t.minute, minute);
    EXPECT_EQ(t.second, second);
}

void ExpectNoTime(const kcSysAttrTimestamp& t) {
    ExpectFields(t, -1, -1, -1, -1, -1, -1);
}

TEST(AbsTime, Static_constructors_build_the_bias_and_the_limits_in_their_place) {
    EXPECT_EQ(*qx::kit::k_1970_TO_1904_BIAS, AbsTime(0, k_1970, 0, 0));
    EXPECT_EQ(*AbsTime::max, AbsTime(0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu));
    EXPECT_EQ(*AbsTime::min, AbsTime(0x80000000u, 0, 0, 0));
    EXPECT_EQ(qx::kit::GetMinTime_T(), AbsTime(0, k_1970, 0, 0));
    EXPECT_EQ(qx::kit::GetMaxTime_T(), AbsTime(0, 4230328447u, 0, 0));
    // The constants come right before the global counting lock, which is last.
    int constants = -1;
    int count = 0;
    for (; _ctors[count] != nullptr; ++count) {
        if (_ctors[count] == qx::kit::ConstructAbsTimeConstants)
            constants = count;
    }
    ASSERT_GE(constants, 0);
    EXPECT_EQ(_ctors[constants + 1], qx::kit::ConstructAbsTimeLimits);
    EXPECT_EQ(constants + 3, count);
    EXPECT_EQ(_dtors[constants], qx::kit::DestroyAbsTimeConstants);
    EXPECT_EQ(_dtors[constants + 1], qx::kit::DestroyAbsTimeLimits);
}

TEST(ToLocalTimestamp, All_zero_words_are_no_time_at_all) {
    TimeZone utc("UTC0");
    ExpectNoTime(Converted(0, 0, 0, 0));
    // Even when an offset would make a real time of it.
    ExpectNoTime(Converted(0, 0, 0, 0, 3600.0));
}

TEST(ToLocalTimestamp, The_1970_epoch_is_local_time_of_time_value_zero) {
    {
        TimeZone utc("UTC0");
        ExpectFields(Converted(0, k_1970, 0, 0), 1970, 1, 1, 0, 0, 0);
    }
    TimeZone eastOfUtc("QXT-2");
    ExpectFields(Converted(0, k_1970, 0, 0), 1970, 1, 1, 2, 0, 0);
    TimeZone westOfUtc("QXT5");
    ExpectFields(Converted(0, k_1970, 0, 0), 1969, 12, 31, 19, 0, 0);
}

TEST(ToLocalTimestamp, Half_seconds_round_to_the_even_second_on_both_sides_of_1970) {
    TimeZone utc("UTC0");
    ExpectFields(Converted(0, k_1970, 0x80000000u, 0), 1970, 1, 1, 0, 0, 0);
    ExpectFields(Converted(0, k_1970 + 1, 0x80000000u, 0), 1970, 1, 1, 0, 0, 2);
    ExpectFields(Converted(0, k_1970 + 1, 0xC0000000u, 0), 1970, 1, 1, 0, 0, 2);
    ExpectFields(Converted(0, k_1970 - 1, 0x80000000u, 0), 1970, 1, 1, 0, 0, 0);
    ExpectFields(Converted(0, k_1970 - 2, 0x80000000u, 0), 1969, 12, 31, 23, 59, 58);
    ExpectFields(Converted(0, k_1970 - 2, 0x80000001u, 0), 1969, 12, 31, 23, 59, 59);
}

TEST(ToLocalTimestamp, The_offset_is_added_before_rounding) {
    TimeZone utc("UTC0");
    ExpectFields(Converted(0, k_1970, 0, 0, 3661.5), 1970, 1, 1, 1, 1, 2);
    ExpectFields(Converted(0, k_1970, 0, 0, -0.25), 1970, 1, 1, 0, 0, 0);
    ExpectNoTime(Converted(0, k_1970, 0, 0, std::numeric_limits<double>::infinity()));
}

TEST(ToLocalTimestamp, Times_outside_the_32_bit_time_value_give_no_time_instead_of_a_wrapped_one) {
    TimeZone utc("UTC0");
    ExpectFields(Converted(0, 4230328447u, 0, 0), 2038, 1, 19, 3, 14, 7);
    ExpectNoTime(Converted(0, 4230328447u, 0x80000000u, 0));
    ExpectNoTime(Converted(0, 4230328448u, 0, 0));
    // 1901-12-13 20:45:52, 0x80000000 seconds before 1970, is the first second: the 1904
    // based count is negative there, with the same low word as the first second after.
    const std::uint32_t first = k_1970 + 0x80000000u;
    ExpectFields(Converted(0xFFFFFFFFu, first, 0, 0), 1901, 12, 13, 20, 45, 52);
    ExpectNoTime(Converted(0xFFFFFFFFu, first - 1, 0, 0));
    ExpectNoTime(Converted(0xFFFFFFFFu, first - 1, 0x7FFFFFFFu, 0));
    ExpectFields(Converted(0xFFFFFFFFu, first - 1, 0xC0000000u, 0), 1901, 12, 13, 20, 45, 52);
    ExpectNoTime(Converted(1, k_1970, 0, 0));
    // Subtracting the bias from the smallest time wraps in 128 bits; rounding the largest
    // wraps to the smallest.
    ExpectNoTime(Converted(0x80000000u, 0, 0, 0));
    ExpectNoTime(Converted(0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu));
}

TEST(ToLocalTm, Truncation_keeps_the_whole_second) {
    TimeZone utc("UTC0");
    std::tm out{};
    qx::kit::osdep::ToLocalTm(&out, AbsTime(0, k_1970 + 7, 0xF0000000u, 0),
                              qx::kit::osdep::k_truncateSeconds);
    EXPECT_EQ(out.tm_sec, 7);
    qx::kit::osdep::ToUtcTm(&out, AbsTime(0, k_1970 + 7, 0xF0000000u, 0),
                            qx::kit::osdep::k_roundSecondsToEven);
    EXPECT_EQ(out.tm_sec, 8);
}

TEST(UtcTm, Breaks_down_in_utc_whatever_the_zone_and_refuses_what_the_runtime_refuses) {
    TimeZone eastOfUtc("QXT-2");
    std::tm out{};
    qx::kit::osdep::UtcTm(86400 + 3600, &out);
    EXPECT_EQ(out.tm_year, 70);
    EXPECT_EQ(out.tm_mday, 2);
    EXPECT_EQ(out.tm_hour, 1);
    if (sizeof(std::time_t) < 8)
        GTEST_SKIP() << "every 32-bit time value has a breakdown";
    // A year beyond the range of tm_year.
    const auto huge = static_cast<std::time_t>(std::numeric_limits<std::int64_t>::max() / 2);
    ExpectRaised<qx::kit::exception::OutOfRange>([&] { qx::kit::osdep::UtcTm(huge, &out); },
                                                 "qx/kit/osdep/AbsTimeToString", 143);
    ExpectRaised<qx::kit::exception::OutOfRange>([&] { qx::kit::osdep::LocalTm(huge, &out); },
                                                 "qx/kit/osdep/AbsTimeToString", 104);
}

} // namespace
