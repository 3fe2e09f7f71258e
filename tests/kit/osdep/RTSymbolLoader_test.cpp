// The run-time symbol loader: the platform functions it finds and the table it keeps.
#include "qx/kit/osdep/RTSymbolLoader.h"

#include "fake_platform_conversions.h"

#include <gtest/gtest.h>

using qx::kit::osdep::RTSymbolLoader;

// The target's optional network queries, exported by this program as the target would, so
// that a loader that never looked them up is told apart from one that found none.
extern "C" {
__attribute__((visibility("default"))) void enetGetNetworkDeviceCount() {}
__attribute__((visibility("default"))) void enetGetIPAddressByIndex() {}
__attribute__((visibility("default"))) void enetGetMACAddressByIndex() {}
}

namespace {

// The module's static constructors built the singleton when this program started, while
// the program already exported its conversion pair.
TEST(RTSymbolLoader, Finds_every_function_the_target_exports) {
    const RTSymbolLoader& loader = RTSymbolLoader::instance();
    EXPECT_EQ(&MultiByteToWideChar, loader.multiByteToWideChar());
    EXPECT_EQ(&WideCharToMultiByte, loader.wideCharToMultiByte());
    EXPECT_EQ(&enetGetNetworkDeviceCount, loader.enetGetNetworkDeviceCount());
    EXPECT_EQ(&enetGetIPAddressByIndex, loader.enetGetIPAddressByIndex());
    EXPECT_EQ(&enetGetMACAddressByIndex, loader.enetGetMACAddressByIndex());
}

TEST(RTSymbolLoader, Later_calls_return_the_same_unchanged_table) {
    const RTSymbolLoader* first = &RTSymbolLoader::instance();
    const auto slot = first->multiByteToWideChar();
    qx::kit::osdep::SingletonInitializer::Construct(); // the entry may run again
    EXPECT_EQ(first, &RTSymbolLoader::instance());
    EXPECT_EQ(slot, RTSymbolLoader::instance().multiByteToWideChar());
}

TEST_F(WithoutPlatformConversions, Target_without_the_functions_leaves_every_slot_null) {
    const RTSymbolLoader& loader = RTSymbolLoader::instance();
    EXPECT_EQ(nullptr, loader.multiByteToWideChar());
    EXPECT_EQ(nullptr, loader.wideCharToMultiByte());
    EXPECT_EQ(nullptr, loader.enetGetNetworkDeviceCount());
    EXPECT_EQ(nullptr, loader.enetGetIPAddressByIndex());
    EXPECT_EQ(nullptr, loader.enetGetMACAddressByIndex());
}

} // namespace
