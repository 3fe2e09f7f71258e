// The narrow string: null texts, copies and assignments owning their blocks.
#include "qx/kit/NarrowString.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

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

TEST(NarrowString, A_string_made_with_room_keeps_it_when_moved) {
    NarrowString made = NarrowString::withCapacity(32);
    NarrowString moved(std::move(made));
    ASSERT_EQ(32u, moved.capacity());
    std::memset(moved.data(), 'a', 32);
    moved.setLength(32);
    NarrowString assigned("x");
    assigned = std::move(moved);
    EXPECT_EQ(32u, assigned.length());
    EXPECT_EQ(32u, std::strlen(assigned.c_str()));
}

} // namespace
