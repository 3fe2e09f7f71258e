// The support library's exception classes: messages, codes and the bases they are caught as.
#include "qx/kit/Exception.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
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

// Hosts and their logs know a failure by the file and line it records: every site keeps the
// stamp it has always had, written here from the list of sites rather than from the table.
TEST(RaiseSite, Every_site_records_its_fixed_file_and_line) {
    namespace site = qx::kit::raise_site;
    struct Expected {
        qx::kit::RaiseSite site;
        const char* file;
        std::int32_t line;
    };
    const Expected sites[] = {
        {site::k_safeAddition, "./qx/kit/SafeInteger", 125},
        {site::k_stringCodeDoubling, "./qx/kit/SafeInteger", 194},
        {site::k_boundaryStringDoubling, "./qx/kit/SafeInteger", 163},
        {site::k_numericCast, "./qx/kit/NumericCast", 92},
        {site::k_localtimeRefused, "qx/kit/osdep/AbsTimeToString", 104},
        {site::k_gmtimeRefused, "qx/kit/osdep/AbsTimeToString", 143},
        {site::k_ansiToWideLocale, "qx/kit/osdep/AnsiToWide", 101},
        {site::k_ansiToWideOutputFull, "qx/kit/osdep/AnsiToWide", 109},
        {site::k_ansiToWideMeasuring, "qx/kit/osdep/AnsiToWide", 174},
        {site::k_ansiToWideConverting, "qx/kit/osdep/AnsiToWide", 205},
        {site::k_wideToAnsiLocale, "qx/kit/osdep/WideToAnsi", 102},
        {site::k_wideToAnsiOutputFull, "qx/kit/osdep/WideToAnsi", 110},
        {site::k_wideToAnsiMeasuring, "qx/kit/osdep/WideToAnsi", 185},
        {site::k_wideToAnsiConverting, "qx/kit/osdep/WideToAnsi", 212},
        {site::k_utf8BadLead, "qx/kit/Utf8ToWide", 62},
        {site::k_utf8BadTrail, "qx/kit/Utf8ToWide", 76},
        {site::k_utf8CountCutOff, "qx/kit/Utf8ToWide", 151},
        {site::k_utf8DecodeCutOff, "qx/kit/Utf8ToWide", 171},
        {site::k_utf8BadArguments, "qx/kit/Utf8ToWide", 272},
        {site::k_utf8NotConsumed, "qx/kit/Utf8ToWide", 243},
        {site::k_wideToUtf8BadArguments, "qx/kit/WideToUtf8", 230},
        {site::k_wideToUtf8NotConsumed, "qx/kit/WideToUtf8", 204},
        // Sites of this library's own checks, stamped in the files they belong to.
        {site::k_substringPosition, "qx/kit/StringBase", 91},
        {site::k_timeOutOfRange, "qx/kit/osdep/AbsTimeToString", 98},
        {site::k_fractionFormat, "qx/kit/osdep/AbsTimeToString", 231},
    };
    for (const Expected& expected : sites) {
        SCOPED_TRACE(std::string(expected.file) + ":" + std::to_string(expected.line));
        const InvalidSequence raised(expected.site);
        EXPECT_STREQ(expected.file, raised.getFile());
        EXPECT_EQ(expected.line, raised.getLine());
    }
}

} // namespace
