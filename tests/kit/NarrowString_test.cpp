// The narrow string: null texts, copies and assignments owning their blocks.
#include "qx/kit/NarrowString.h"

#include <gtest/gtest.h>

using qx::kit::NarrowString;

namespace {

TEST(NarrowString, Null_text_gives_an_empty_terminated_string) {
    const NarrowString empty(nullptr);
    ASSERT_NE(nullptr, empty.c_str());
    EXPECT_STREQ("", empty.c_str());
    EXPECT_EQ(0u, empty.length());
    EXPECT_EQ(0u, empty.capacity());
}

TEST(NarrowString, Copies_and_assignments_own_their_blocks) {
    NarrowString original("driver");
    const NarrowString copy = original;
    NarrowString assigned("x");
    assigned = original;
    EXPECT_NE(original.c_str(), copy.c_str());
    EXPECT_NE(original.c_str(), assigned.c_str());
    original.data()[0] = 'D';
    EXPECT_STREQ("driver", copy.c_str());
    EXPECT_STREQ("driver", assigned.c_str());
    EXPECT_EQ(6u, assigned.capacity());
    assigned = assigned;
    EXPECT_STREQ("driver", assigned.c_str());
}

} // namespace
