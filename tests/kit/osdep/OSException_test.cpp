// Errors of the operating system as exceptions: codes, texts and the raising place.
#include "qx/kit/osdep/OSException.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

using qx::kit::osdep::OSException;
using qx::kit::osdep::PosixError;

namespace {

TEST(PosixError, Missing_file_reports_code_7_and_the_systems_text) {
    errno = ENOENT;
    const PosixError error;
    EXPECT_EQ(7, error.getErrorCode());
    EXPECT_EQ(2, error.whatcode());
    EXPECT_STREQ(std::strerror(2), error.what());
    EXPECT_EQ(nullptr, error.getFile());
    EXPECT_EQ(0, error.getLine());
}

TEST(PosixError, No_error_reports_code_0_and_any_other_error_42) {
    errno = 0;
    EXPECT_EQ(0, PosixError().getErrorCode());
    errno = EINVAL;
    const PosixError invalid;
    EXPECT_EQ(42, invalid.getErrorCode());
    EXPECT_EQ(EINVAL, invalid.whatcode());
    EXPECT_STREQ(std::strerror(EINVAL), invalid.what());
}

TEST(PosixError, Raising_stamps_the_raising_place_and_keeps_errno) {
    errno = EACCES;
    try {
        qx::kit::osdep::RaisePosixError(qx::kit::raise_site::k_ansiToWideMeasuring);
        FAIL() << "nothing raised";
    } catch (const qx::kit::exception::Exception& error) {
        EXPECT_STREQ("qx/kit/osdep/AnsiToWide", error.getFile());
        EXPECT_EQ(174, error.getLine());
        EXPECT_EQ(42, error.getErrorCode());
        EXPECT_STREQ(std::strerror(EACCES), error.what());
        EXPECT_EQ(EACCES, dynamic_cast<const PosixError&>(error).whatcode());
    }
}

TEST(OSException, Copy_owns_its_own_message) {
    auto original = std::make_unique<OSException>("device gone", 19, "qx/kit/osdep/X", 3);
    const OSException copy = *original;
    EXPECT_NE(original->what(), copy.what());
    original.reset();
    EXPECT_STREQ("device gone", copy.what());
    EXPECT_EQ(19, copy.whatcode());
    EXPECT_EQ(3, copy.getLine());
    EXPECT_EQ(42, copy.getErrorCode()); // any system error but a missing file
}

} // namespace
