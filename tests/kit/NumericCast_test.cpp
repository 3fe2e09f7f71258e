// Checked numeric casts: values that fit are kept, others raise.
#include "qx/kit/NumericCast.h"

#include "expect_raised.h"

#include <gtest/gtest.h>

#include <cstddef>

using qx::kit::NumericCast;
using qx::kit::exception::OutOfRange;

namespace {

TEST(NumericCast, Keeps_values_that_fit_and_raises_for_those_that_do_not) {
    EXPECT_EQ(0x7FFFFFFF, NumericCast<std::int32_t>(std::uint32_t{0x7FFFFFFF}));
    EXPECT_EQ(-5, NumericCast<std::int32_t>(std::int64_t{-5}));
    EXPECT_EQ(0u, NumericCast<std::uint32_t>(std::int32_t{0}));
    EXPECT_EQ(-32768, NumericCast<std::int16_t>(std::int32_t{-32768}));
    ExpectRaised<OutOfRange>([] { NumericCast<std::int16_t>(std::int32_t{-32769}); },
                             qx::kit::raise_site::k_numericCast);
    ExpectRaised<OutOfRange>([] { NumericCast<std::int32_t>(std::uint32_t{0x80000000u}); },
                             qx::kit::raise_site::k_numericCast);
    ExpectRaised<OutOfRange>([] { NumericCast<std::uint32_t>(-1); },
                             qx::kit::raise_site::k_numericCast);
    ExpectRaised<OutOfRange>([] { NumericCast<std::uint32_t>(std::uint64_t{1} << 32); },
                             qx::kit::raise_site::k_numericCast);
}

} // namespace
