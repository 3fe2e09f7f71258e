// Guarded arithmetic: sums, doubling and block sizes that raise instead of wrapping.
#include "qx/kit/SafeInteger.h"

#include "com/widestring.h"

#include "expect_raised.h"

#include <gtest/gtest.h>

using namespace qx::kit;
using qx::kit::exception::OutOfRange;
namespace site = qx::kit::raise_site;

namespace {

TEST(SafeInteger, Addition_reaches_the_top_and_raises_past_it) {
    EXPECT_EQ(0xFFFFFFFFu, SafeAdd(0xFFFFFFFEu, 1));
    ExpectRaised<OutOfRange>([] { SafeAdd(0xFFFFFFFFu, 1); }, site::k_safeAddition);
    ExpectRaised<OutOfRange>([] { SafeAdd(0x80000000u, 0x80000000u); }, site::k_safeAddition);
}

TEST(SafeInteger, Doubling_raises_from_half_the_range_with_the_line_of_its_site) {
    EXPECT_EQ(0xFFFFFFFEu, SafeDouble(0x7FFFFFFFu));
    ExpectRaised<OutOfRange>([] { SafeDouble(0x80000000u); }, site::k_stringCodeDoubling);
    ExpectRaised<OutOfRange>([] { SafeDouble(0xFFFFFFFFu, DoublingSite::BoundaryString); },
                             site::k_boundaryStringDoubling);
}

TEST(SafeInteger, Unit_block_bytes_guard_both_steps) {
    EXPECT_EQ(2u, SafeUnitBlockBytes(0));
    EXPECT_EQ(0xFFFFFFFEu, SafeUnitBlockBytes(0x7FFFFFFEu));
    ExpectRaised<OutOfRange>([] { SafeUnitBlockBytes(0x7FFFFFFFu); }, site::k_stringCodeDoubling);
    ExpectRaised<OutOfRange>([] { SafeUnitBlockBytes(0xFFFFFFFFu); }, site::k_safeAddition);
}

// Boundary wide strings record the doubling at its own line.
TEST(SafeInteger, Boundary_string_block_size_is_guarded_at_every_step) {
    EXPECT_EQ(10u, WideStringBlockBytes(2));
    EXPECT_EQ(0xFFFFFFFCu, WideStringBlockBytes(0x7FFFFFFBu));
    ExpectRaised<OutOfRange>([] { WideStringBlockBytes(0x7FFFFFFFu); },
                             site::k_boundaryStringDoubling);
    ExpectRaised<OutOfRange>([] { WideStringBlockBytes(0x7FFFFFFEu); }, site::k_safeAddition);
}

} // namespace
