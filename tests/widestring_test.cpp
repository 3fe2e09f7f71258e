#include "com/widestring.h"

#include "expect_raised.h"

#include <gtest/gtest.h>

#include <cstring>

using qx::kit::exception::OutOfRange;

namespace {

TEST(AllocWideString, Block_holds_count_units_and_terminator) {
    char16_t* text = AllocWideString(u"abc");
    ASSERT_NE(nullptr, text);
    std::uint32_t count = 0;
    std::memcpy(&count, reinterpret_cast<unsigned char*>(text) - 4, 4);
    EXPECT_EQ(3u, count);
    EXPECT_EQ(0, std::memcmp(u"abc", text, 4 * sizeof(char16_t)));
    FreeWideString(text);
    EXPECT_EQ(nullptr, AllocWideString(nullptr));
    FreeWideString(nullptr);
}

TEST(AllocWideString, Block_size_is_guarded_at_every_step) {
    EXPECT_EQ(10u, WideStringBlockBytes(2));
    EXPECT_EQ(0xFFFFFFFCu, WideStringBlockBytes(0x7FFFFFFBu));
    ExpectRaised<OutOfRange>([] { WideStringBlockBytes(0x7FFFFFFFu); }, "./qx/kit/SafeInteger",
                             163);
    ExpectRaised<OutOfRange>([] { WideStringBlockBytes(0x7FFFFFFEu); }, "./qx/kit/SafeInteger",
                             125);
}

} // namespace
