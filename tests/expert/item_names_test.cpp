// Item names: listed in discovery order, refreshed from the driver's active files at every
// listing, and handed out through an enumerator the caller owns.
#include "com/widestring.h"
#include "expert/kcsyszeva.h"
#include "expert_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

class ItemNames : public ExpertOnSimulatedDriver {
protected:
    // Every name the expert lists now, each string freed as a host would.
    std::vector<std::string> Names() {
        IkcSysEnumStringList* names = nullptr;
        EXPECT_EQ(m_expert->SearchForItemNames(&names), S_OK);
        std::vector<std::string> listed;
        if (names == nullptr)
            return listed;
        char16_t* name = nullptr;
        std::uint32_t fetched = 0;
        while (names->Next(1, &name, &fetched) == S_OK) {
            listed.push_back(NarrowAscii(name));
            FreeWideString(name);
        }
        EXPECT_EQ(names->Release(), 0);
        return listed;
    }
};

} // namespace

TEST_F(ItemNames, Three_interfaces_are_listed_in_discovery_order_without_extension) {
    AddBoard(TestBoard().Serial(0x30).Active("gamma.zid"));
    AddBoard(TestBoard().Serial(0x10).Active("alpha.zid"));
    AddBoard(TestBoard().Serial(0x20).Active("beta.zid"));
    Discover();
    EXPECT_THAT(Names(), ElementsAre("gamma", "alpha", "beta"));
}

TEST_F(ItemNames, A_changed_active_file_is_listed_under_its_new_name) {
    AddBoard(TestBoard().Serial(0x10).Active("img0.zid"));
    AddBoard(TestBoard().Serial(0x20).Active("img1.zid"));
    Discover();
    ASSERT_EQ(zevadriverSetActiveFile(0x20, "camera.zid"), 0);
    EXPECT_THAT(Names(), ElementsAre("img0", "camera"));
    EXPECT_EQ(m_expert->InterfacesForTesting()[1].interfaceFileName, "camera");
}

TEST_F(ItemNames, An_interface_whose_file_cannot_be_read_keeps_its_earlier_name) {
    AddBoard(TestBoard().Serial(0x10).Active("img0.zid"));
    AddBoard(TestBoard().Serial(0x20).Active("img1.zid"));
    Discover();
    zevadriverFailAlways(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, -5);
    EXPECT_THAT(Names(), ElementsAre("img0", "img1"));
}

// The refresh gives the driver 512 bytes; a driver that fills all of them leaves no zero, and
// the name ends where the buffer does.
TEST_F(ItemNames, A_refreshed_file_name_that_fills_its_buffer_is_read_up_to_its_end_only) {
    AddBoard(TestBoard().Serial(0x10).Active("img0.zid"));
    Discover();
    zevadriverSetUnterminatedTexts(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, 1);
    zevadriverSetTextBufferSize(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, 512);
    // 512 bytes read, ".zid" found, the last four dropped.
    EXPECT_THAT(Names(), ElementsAre("img0.zid" + std::string(512 - 8 - 4, '#')));
}

TEST_F(ItemNames, The_refresh_asks_only_for_each_active_file_in_record_order) {
    AddBoard(TestBoard().Serial(0x10).Active("img0.zid"));
    AddBoard(TestBoard().Serial(0x20).Active("img1.zid"));
    Discover();
    zevadriverClearLog();
    Names();
    EXPECT_THAT(DriverCalls(), ElementsAre("qxzevauGetActiveInterfaceFile 0x00000010",
                                           "qxzevauGetActiveInterfaceFile 0x00000020"));
}

TEST_F(ItemNames, No_interfaces_give_S_FALSE_and_a_null_enumerator) {
    Discover();
    auto* sentinel = reinterpret_cast<IkcSysEnumStringList*>(0x1234);
    IkcSysEnumStringList* names = sentinel;
    EXPECT_EQ(m_expert->SearchForItemNames(&names), S_FALSE);
    EXPECT_EQ(names, nullptr);
    EXPECT_EQ(m_expert->SearchForItemNames(nullptr), E_POINTER);
}

TEST_F(ItemNames, The_enumerator_outlives_the_expert_and_Finalize_keeps_the_names) {
    AddBoard(TestBoard().Serial(0x10).Active("img0.zid"));
    Discover();
    ASSERT_EQ(m_expert->Finalize(), S_OK);
    IkcSysEnumStringList* names = nullptr;
    ASSERT_EQ(m_expert->SearchForItemNames(&names), S_OK);
    EXPECT_EQ(m_expert->Release(), 0);
    m_expert = MakeComObject<CkcSysZeva>().detach(); // for TearDown
    char16_t* name = nullptr;
    std::uint32_t fetched = 0;
    ASSERT_EQ(names->Next(1, &name, &fetched), S_OK);
    EXPECT_EQ(NarrowAscii(name), "img0");
    EXPECT_EQ(WideStringLength(name), 4u);
    FreeWideString(name);
    EXPECT_EQ(names->Release(), 0);
}

TEST_F(ItemNames, A_second_Initialize_lists_every_item_twice) {
    AddBoard(TestBoard().Serial(0x10).Active("img0.zid"));
    Discover();
    Discover();
    EXPECT_THAT(Names(), ElementsAre("img0", "img0"));
}
