// Checks that a call raises exactly one library exception class, from the expected place.
#ifndef QX_TESTS_EXPECT_RAISED_H
#define QX_TESTS_EXPECT_RAISED_H

#include "qx/kit/Exception.h"
#include "qx/kit/osdep/OSException.h"

#include <gtest/gtest.h>

#include <optional>
#include <typeinfo>
#include <utility>

// Returns the caught exception for further checks; fails the test when none or another
// class was raised. The message and code are checked against the class's fixed ones.
// k_anyLine accepts any recorded line but "not given".
constexpr std::int32_t k_anyLine = -1;

template <class Error, class Call>
std::optional<Error> ExpectRaised(Call&& call, const char* file, std::int32_t line) {
    try {
        call();
    } catch (const Error& error) {
        EXPECT_EQ(typeid(Error), typeid(error)) << "raised a subclass: " << typeid(error).name();
        EXPECT_STREQ(file, error.getFile());
        if (line == k_anyLine)
            EXPECT_GT(error.getLine(), 0);
        else
            EXPECT_EQ(line, error.getLine());
        if constexpr (!std::is_base_of_v<qx::kit::osdep::OSException, Error>) {
            const Error fixed;
            EXPECT_STREQ(fixed.what(), error.what());
            EXPECT_EQ(fixed.getErrorCode(), error.getErrorCode());
        }
        return error;
    } catch (const std::exception& other) {
        ADD_FAILURE() << "raised " << typeid(other).name() << ": " << other.what();
        return std::nullopt;
    }
    ADD_FAILURE() << "nothing raised";
    return std::nullopt;
}

template <class Error, class Call>
std::optional<Error> ExpectRaised(Call&& call, const qx::kit::RaiseSite& site) {
    return ExpectRaised<Error>(std::forward<Call>(call), site.file, site.line);
}

#endif
