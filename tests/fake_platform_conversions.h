// The target's optional multi-byte conversion pair, as the test program defines and exports
// them so that the symbol table finds them. Code page 0 is taken as ISO 8859-15: it differs
// from the library's byte-for-unit fallback (0xA4 is the euro sign, not U+00A4), so a test
// sees which path converted. Both refuse, and fail the test on, any code page, flag or
// default character the library must not pass.
#ifndef QX_TESTS_FAKE_PLATFORM_CONVERSIONS_H
#define QX_TESTS_FAKE_PLATFORM_CONVERSIONS_H

#include "qx/kit/osdep/RTSymbolLoader.h"

#include <gtest/gtest.h>

#include <cstdint>

extern "C" {
std::int32_t MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* input,
                                 std::int32_t inputBytes, char16_t* output,
                                 std::int32_t outputUnits);
std::int32_t WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const char16_t* input,
                                 std::int32_t inputUnits, char* output, std::int32_t outputBytes,
                                 const char* defaultChar, std::int32_t* usedDefaultChar);
}

// What the fakes do and saw. Reset before each test that uses them.
struct FakeConversionControl {
    // Overstating converts but reports one unit more than the output holds, leaving errno alone.
    enum class Fail { Never, Measuring, Converting, Overstating };
    Fail fail = Fail::Never;
    int failErrno = 0;
    int calls = 0;
    std::int32_t lastInputLength = -1;
    std::int32_t lastOutputCapacity = -1;
    bool lastOutputNull = false;
};
extern FakeConversionControl g_fakeConversions;

// Cases run with the platform pair present: the loader looks the names up again.
class WithPlatformConversions : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Cases run on a target without the pair: the loader searches a table that knows no names.
class WithoutPlatformConversions : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

#endif
