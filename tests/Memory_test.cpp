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

TEST(Memory, Reallocation_keeps_the_contents) {
    auto* block = static_cast<unsigned char*>(AllocateBlock(4));
    std::memcpy(block, "abc", 4);
    block = static_cast<unsigned char*>(ReallocateBlock(block, 4096));
    EXPECT_STREQ("abc", reinterpret_cast<char*>(block));
    ReleaseBlock(block);
    ReleaseBlock(nullptr);
}

} // namespace
