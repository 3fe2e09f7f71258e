// The support library's exception classes: messages, codes and the bases they are caught as.
#include "qx/kit/Exception.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <type_traits>

using namespace qx::kit::exception;

static_assert(std::is_base_of_v<InvalidArgument, InvalidArgument2>);
static_assert(std::is_base_of_v<OutOfRange, OutOfRange2>);
static_assert(std::is_base_of_v<BoundExceeded, BoundExceeded2>);
static_assert(std::is_base_of_v<Exception, DeserializationError>);
static_assert(std::is_nothrow_destructible_v<Exception>);

namespace {

template <class Error>
void ExpectMessageAndCode(const char* message, std::uint32_t code) {
    const Error error("qx/kit/Somewhere", 17);
    const Exception& base = error;
    EXPECT_STREQ(message, base.what());
    EXPECT_EQ(static_cast<std::int32_t>(code), base.getErrorCode());
    EXPECT_STREQ("qx/kit/Somewhere", base.getFile());
    EXPECT_EQ(17, base.getLine());
}

TEST(Exception, Every_class_reports_its_own_message_and_code) {
    ExpectMessageAndCode<Exception>("unspecified exception", 0xFFFFFFFFu);
    ExpectMessageAndCode<BufferOverflow>("Buffer overflowed", 0x8ABC7017u);
    ExpectMessageAndCode<InvalidArgument>("Invalid argument(s)", 0x8ABC700Fu);
    ExpectMessageAndCode<OutOfRange>("Out of range", 0x8ABC7007u);
    ExpectMessageAndCode<InvalidSequence>("Invalid UTF8 encoding sequence", 0x8ABC7030u);
    ExpectMessageAndCode<InvalidLocale>("Invalid locale", 0x8ABC7024u);
    // Classes that exist only as types answer as their parents.
    ExpectMessageAndCode<OutOfRange2>("Out of range", 0x8ABC7007u);
    ExpectMessageAndCode<BoundExceeded>("unspecified exception", 0xFFFFFFFFu);
}

TEST(Exception, Out_of_range_is_caught_as_its_bases_with_the_same_message) {
    try {
        throw OutOfRange("./qx/kit/SafeInteger", 125);
    } catch (const std::exception& error) {
        EXPECT_STREQ("Out of range", error.what());
    }
    try {
        throw OutOfRange("./qx/kit/SafeInteger", 125);
    } catch (const Exception& error) {
        EXPECT_STREQ("Out of range", error.what());
        EXPECT_EQ(125, error.getLine());
    }
}

} // namespace
