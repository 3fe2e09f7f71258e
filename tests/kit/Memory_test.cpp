// The block allocator's reallocation edge cases.
#include "qx/kit/Memory.h"

#include <gtest/gtest.h>

#include <cstring>

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

} // namespace
