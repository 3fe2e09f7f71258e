// The one translation of thrown exceptions into HRESULTs, for every kind of exception.
#include "com/hresult_from_exception.h"

#include "qx/kit/Exception.h"
#include "qx/kit/osdep/OSException.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

template <class Thrown>
HRESULT Translate(const Thrown& thrown) {
    try {
        throw thrown;
    } catch (...) {
        return HResultFromCurrentException();
    }
}

TEST(HResultFromCurrentException, Library_failure_leaves_as_its_negative_code) {
    EXPECT_EQ(static_cast<HRESULT>(0x8ABC7007u),
              Translate(qx::kit::exception::OutOfRange("./qx/kit/SafeInteger", 125)));
    EXPECT_EQ(-1, Translate(qx::kit::exception::Exception()));
}

TEST(HResultFromCurrentException, Library_failure_with_a_non_negative_code_leaves_as_E_FAIL) {
    EXPECT_EQ(E_FAIL, Translate(qx::kit::osdep::PosixError(2)));
    EXPECT_EQ(E_FAIL, Translate(qx::kit::osdep::PosixError(0)));
}

TEST(HResultFromCurrentException,
     A_thrown_status_leaves_as_itself_no_memory_as_E_OUTOFMEMORY_else_E_FAIL) {
    EXPECT_EQ(E_FAIL, Translate(std::runtime_error("not the library's")));
    EXPECT_EQ(E_FAIL, Translate(1.5));
    EXPECT_EQ(E_OUTOFMEMORY, Translate(std::bad_alloc()));
    EXPECT_EQ(E_NOINTERFACE, Translate(static_cast<HRESULT>(E_NOINTERFACE))); // a thrown status
}

} // namespace
