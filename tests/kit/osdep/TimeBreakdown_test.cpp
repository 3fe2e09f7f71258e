// Absolute times broken down into local timestamps, and the time constants' construction order.
#include "qx/kit/osdep/TimeBreakdown.h"

#include "expect_raised.h"
#include "expert/module_exports.h"
#include "time_zone.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace {

using qx::kit::AbsTime;
using Fields = std::array<std::int32_t, 6>;

constexpr std::uint32_t k_1970 = 2082844800u; // seconds from 1904 to 1970
constexpr std::uint32_t k_half = 0x80000000u;
const Fields k_noTime = {-1, -1, -1, -1, -1, -1};

Fields Local(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, double offset = 0.0) {
    const kcSysAttrTimestampUTC in = MakeTimestampUTC(w0, w1, w2, 0);
    kcSysAttrTimestamp out{1, 2, 3, 4, 5, 6};
    qx::kit::osdep::ToLocalTimestamp(&in, &out, offset);
    return {out.year, out.month, out.day, out.hour, out.minute, out.second};
}

TEST(AbsTime, Static_constructors_build_the_constants_just_before_the_counting_lock) {
    EXPECT_EQ(*qx::kit::k_1970_TO_1904_BIAS, AbsTime(0, k_1970, 0, 0));
    EXPECT_EQ(*AbsTime::max, AbsTime(0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu));
    EXPECT_EQ(*AbsTime::min, AbsTime(k_half, 0, 0, 0));
    EXPECT_EQ(qx::kit::GetMinTime_T(), AbsTime(0, k_1970, 0, 0));
    EXPECT_EQ(qx::kit::GetMaxTime_T(), AbsTime(0, 4230328447u, 0, 0));
    int last = 0;
    while (_ctors[last + 1] != nullptr)
        ++last;
    ASSERT_GE(last, 2);
    EXPECT_EQ(_ctors[last - 2], qx::kit::ConstructAbsTimeConstants);
    EXPECT_EQ(_ctors[last - 1], qx::kit::ConstructAbsTimeLimits);
    EXPECT_EQ(_dtors[last - 2], qx::kit::DestroyAbsTimeConstants);
    EXPECT_EQ(_dtors[last - 1], qx::kit::DestroyAbsTimeLimits);
}

TEST(ToLocalTimestamp, All_zero_words_are_no_time_even_with_an_offset) {
    TimeZone utc("UTC0");
    EXPECT_EQ(Local(0, 0, 0), k_noTime);
    EXPECT_EQ(Local(0, 0, 0, 3600.0), k_noTime);
}

TEST(ToLocalTimestamp, The_1970_epoch_is_local_time_of_time_value_zero) {
    {
        TimeZone utc("UTC0");
        EXPECT_EQ(Local(0, k_1970, 0), (Fields{1970, 1, 1, 0, 0, 0}));
    }
    TimeZone westOfUtc("QXT5");
    EXPECT_EQ(Local(0, k_1970, 0), (Fields{1969, 12, 31, 19, 0, 0}));
}

// The worked conversion kcSysAttrTimestampUTC(3) gives a host: 2026-12-08 12:00:00.5 UTC.
TEST(ToLocalTimestamp, The_manual_s_worked_conversion_is_the_time_it_names) {
    TimeZone utc("UTC0");
    EXPECT_EQ(Local(0, 0xE73DA1C0u, k_half), (Fields{2026, 12, 8, 12, 0, 0}));
}

TEST(ToLocalTimestamp, Half_seconds_round_to_the_even_second_on_both_sides_of_1970) {
    TimeZone utc("UTC0");
    EXPECT_EQ(Local(0, k_1970, k_half), (Fields{1970, 1, 1, 0, 0, 0}));
    EXPECT_EQ(Local(0, k_1970 + 1, k_half), (Fields{1970, 1, 1, 0, 0, 2}));
    EXPECT_EQ(Local(0, k_1970 + 1, 0xC0000000u), (Fields{1970, 1, 1, 0, 0, 2}));
    EXPECT_EQ(Local(0, k_1970 - 1, k_half), (Fields{1970, 1, 1, 0, 0, 0}));
    EXPECT_EQ(Local(0, k_1970 - 2, k_half), (Fields{1969, 12, 31, 23, 59, 58}));
    EXPECT_EQ(Local(0, k_1970, 0, 3661.5), (Fields{1970, 1, 1, 1, 1, 2}));
}

TEST(ToLocalTimestamp, Times_beyond_the_32_bit_time_value_give_no_time_instead_of_a_wrapped_one) {
    TimeZone utc("UTC0");
    EXPECT_EQ(Local(0, 4230328447u, 0), (Fields{2038, 1, 19, 3, 14, 7}));
    EXPECT_EQ(Local(0, 4230328447u, k_half), k_noTime);
    // 0x80000000 seconds before 1970: the 1904-based count is negative there.
    const std::uint32_t first = k_1970 + k_half;
    EXPECT_EQ(Local(0xFFFFFFFFu, first, 0), (Fields{1901, 12, 13, 20, 45, 52}));
    EXPECT_EQ(Local(0xFFFFFFFFu, first - 1, 0xC0000000u), (Fields{1901, 12, 13, 20, 45, 52}));
    EXPECT_EQ(Local(0xFFFFFFFFu, first - 1, 0x7FFFFFFFu), k_noTime);
    EXPECT_EQ(Local(1, k_1970, 0), k_noTime);
    // The bias wraps the smallest time, rounding wraps the largest.
    EXPECT_EQ(Local(k_half, 0, 0), k_noTime);
    EXPECT_EQ(Local(0x7FFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu), k_noTime);
    EXPECT_EQ(Local(0, k_1970, 0, std::numeric_limits<double>::infinity()), k_noTime);
}

TEST(UtcTm, Ignores_the_zone_and_raises_what_the_runtime_refuses) {
    TimeZone eastOfUtc("QXT-2");
    std::tm out{};
    qx::kit::osdep::ToUtcTm(&out, AbsTime(0, k_1970 + 3607, 0xF0000000u, 0),
                            qx::kit::osdep::k_truncateSeconds);
    EXPECT_EQ((Fields{out.tm_year, out.tm_mday, out.tm_hour, out.tm_sec}), (Fields{70, 1, 1, 7}));
    if (sizeof(std::time_t) < 8)
        GTEST_SKIP() << "every 32-bit time value has a breakdown";
    const auto huge = static_cast<std::time_t>(std::numeric_limits<std::int64_t>::max() / 2);
    ExpectRaised<qx::kit::exception::OutOfRange>([&] { qx::kit::osdep::UtcTm(huge, &out); },
                                                 qx::kit::raise_site::k_gmtimeRefused);
    ExpectRaised<qx::kit::exception::OutOfRange>([&] { qx::kit::osdep::LocalTm(huge, &out); },
                                                 qx::kit::raise_site::k_localtimeRefused);
}

} // namespace
