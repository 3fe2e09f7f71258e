// The boundary-string holder: null and empty, copies, assignment and handing over ownership.
#include "propertybag/qxbstr.h"

#include "alloc_failure.h"
#include "com/widestring.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char16_t* Raw(const CqxBStr& holder) {
    return holder;
}

TEST(CqxBStr, Null_and_empty_are_different_contents_and_copies_never_share_a_block) {
    EXPECT_TRUE(CqxBStr(nullptr, false).IsNull());
    EXPECT_TRUE(CqxBStr(CqxBStr()).IsNull());
    const CqxBStr empty(u"", false);
    ASSERT_FALSE(empty.IsNull());
    EXPECT_EQ(std::u16string(Raw(empty)), u"");
    char16_t* block = AllocWideString(u"abc");
    const CqxBStr attached(block, true);
    EXPECT_EQ(Raw(attached), block);
    CqxBStr assigned(u"old", false);
    assigned = attached;
    EXPECT_NE(Raw(assigned), block);
    EXPECT_EQ(std::u16string(Raw(assigned)), u"abc");
}

TEST(CqxBStr, Self_assignment_keeps_the_string) {
    CqxBStr holder(u"self", false);
    const char16_t* before = holder;
    CqxBStr& alias = holder;
    holder = alias;
    EXPECT_EQ(Raw(holder), before);
    holder = std::move(alias);
    EXPECT_EQ(std::u16string(Raw(holder)), u"self");
    // Its own string again: kept as it is, nothing allocated, and reported as done.
    AllocationFailure failure(AllocationFailure::k_malloc, 1);
    EXPECT_TRUE(holder.Assign(holder));
    EXPECT_FALSE(failure.Failed());
    EXPECT_EQ(Raw(holder), before);
}

TEST(CqxBStr, A_copy_that_cannot_be_allocated_is_null_and_an_assignment_keeps_the_old_string) {
    const CqxBStr source(u"new", false);
    CqxBStr target(u"old", false);
    {
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        EXPECT_TRUE(CqxBStr(source).IsNull());
        EXPECT_TRUE(failure.Failed());
    }
    AllocationFailure failure(AllocationFailure::k_malloc, 1);
    target = source;
    EXPECT_TRUE(failure.Failed());
    EXPECT_EQ(std::u16string(Raw(target)), u"old");
}

TEST(CqxBStr, Detach_hands_over_ownership_and_address_of_fills_an_empty_holder) {
    CqxBStr holder(u"mine", false);
    char16_t* detached = holder.Detach();
    EXPECT_TRUE(holder.IsNull());
    FreeWideString(detached);
    *&holder = AllocWideString(u"written");
    EXPECT_EQ(std::u16string(Raw(holder)), u"written");
}

TEST(CqxBStr, Put_on_a_holder_that_still_holds_a_string_stops_a_debug_build) {
    CqxBStr holder(u"held", false);
    const long live = LiveAllocations();
    EXPECT_DEBUG_DEATH(*holder.put() = nullptr, "Empty\\(\\) it first");
#ifdef NDEBUG
    EXPECT_EQ(LiveAllocations(), live - 1) << "the string held is released, not lost";
    EXPECT_TRUE(holder.IsNull());
#else
    EXPECT_EQ(LiveAllocations(), live); // the child process died; this one is untouched
    EXPECT_EQ(std::u16string(Raw(holder)), u"held");
#endif
}

} // namespace
