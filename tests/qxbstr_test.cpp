#include "propertybag/qxbstr.h"

#include "alloc_failure.h"
#include "com/widestring.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::u16string Text(const CqxBStr& holder) {
    return static_cast<const char16_t*>(holder);
}

TEST(CqxBStr, Null_and_empty_are_different_contents) {
    const CqxBStr none;
    const CqxBStr copiedNull(nullptr, false);
    const CqxBStr empty(u"", false);
    EXPECT_TRUE(none.IsNull());
    EXPECT_TRUE(copiedNull.IsNull());
    ASSERT_FALSE(empty.IsNull());
    EXPECT_EQ(Text(empty), u"");
    EXPECT_TRUE(CqxBStr(none).IsNull());
    EXPECT_FALSE(CqxBStr(empty).IsNull());
}

TEST(CqxBStr, Copies_never_share_a_block_and_attach_takes_the_pointer_as_given) {
    char16_t* block = AllocWideString(u"abc");
    CqxBStr attached(block, true);
    EXPECT_EQ(static_cast<const char16_t*>(attached), block);
    const CqxBStr copy(attached);
    EXPECT_NE(static_cast<const char16_t*>(copy), block);
    EXPECT_EQ(Text(copy), u"abc");
    CqxBStr assigned(u"old", false);
    assigned = copy;
    EXPECT_NE(static_cast<const char16_t*>(assigned), static_cast<const char16_t*>(copy));
    EXPECT_EQ(Text(assigned), u"abc");
    assigned = CqxBStr();
    EXPECT_TRUE(assigned.IsNull());
}

TEST(CqxBStr, Self_assignment_keeps_the_string) {
    CqxBStr holder(u"self", false);
    const char16_t* before = holder;
    CqxBStr& alias = holder;
    holder = alias;
    EXPECT_EQ(static_cast<const char16_t*>(holder), before);
    EXPECT_EQ(Text(holder), u"self");
    holder = std::move(alias);
    EXPECT_EQ(Text(holder), u"self");
}

TEST(CqxBStr, A_copy_that_cannot_be_allocated_is_null_and_an_assignment_keeps_the_old_string) {
    const CqxBStr source(u"new", false);
    CqxBStr target(u"old", false);
    {
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        const CqxBStr copy(source);
        EXPECT_TRUE(failure.Failed());
        EXPECT_TRUE(copy.IsNull());
    }
    {
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        target = source;
        EXPECT_TRUE(failure.Failed());
    }
    EXPECT_EQ(Text(target), u"old");
    AllocationFailure failure(AllocationFailure::k_malloc, 1);
    EXPECT_FALSE(target.Assign(u"other"));
    EXPECT_TRUE(target.Assign(nullptr));
    EXPECT_TRUE(target.IsNull());
}

TEST(CqxBStr, Detach_hands_over_ownership_and_address_of_fills_an_empty_holder) {
    CqxBStr holder(u"mine", false);
    char16_t* detached = holder.Detach();
    EXPECT_TRUE(holder.IsNull());
    EXPECT_EQ(std::u16string(detached), u"mine");
    FreeWideString(detached);
    *&holder = AllocWideString(u"written");
    EXPECT_EQ(Text(holder), u"written");
    holder.Empty();
    EXPECT_TRUE(holder.IsNull());
}

} // namespace
