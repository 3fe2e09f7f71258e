// The block allocator's reallocation edge cases.
#include "qx/kit/Memory.h"

#include "alloc_failure.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>

using namespace qx::kit;

namespace {

// Each case ends by releasing what it holds: a block both freed and kept shows up as a
// double free under the address sanitizer.
TEST(Memory, Reallocating_to_zero_never_throws_and_leaves_one_valid_block) {
    void* block = AllocateBlock(64);
    std::memset(block, 0xAB, 64);
    void* resized = nullptr;
    ASSERT_NO_THROW(resized = ReallocateBlock(block, 0));
    ASSERT_NE(nullptr, resized);
    ReleaseBlock(resized);

    block = AllocateBlock(16);
    resized = ReallocateBlockRaw(block, 0);
    ASSERT_NE(nullptr, resized);
    ReleaseBlock(resized);
}

TEST(Memory, A_failed_reallocation_to_any_size_but_zero_throws_and_keeps_the_block) {
    void* block = AllocateBlock(16);
    std::memset(block, 0x5A, 16);
    {
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        EXPECT_THROW(ReallocateBlock(block, 1), std::bad_alloc);
        EXPECT_TRUE(failure.Failed());
    }
    EXPECT_EQ(0x5A, static_cast<unsigned char*>(block)[15]);
    {
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        EXPECT_EQ(block, ReallocateBlock(block, 0));
        EXPECT_TRUE(failure.Failed());
    }
    ReleaseBlock(block);
}

} // namespace
