// The whole report of the simulated driver's default boards, as a host sees it through the
// loaded module: every item with every property of the table, each with its type and value,
// checked against what the driver itself says of each board.
#include "com/enuminterfaces.h"
#include "expected_properties.h"
#include "expert/expert_interfaces.h"
#include "keeping_collection.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/tags.h"
#include "test_helpers.h"

#include <imagedriver.h>
#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A board as the driver reports it, after discovery gave each an active file.
struct DriverBoard {
    TestBoard board;
    std::string item;
    char name[50] = {};
};

std::vector<DriverBoard> DriverBoards() {
    std::uint32_t count = 0;
    EXPECT_EQ(qxzevauGetSerialNumber(nullptr, &count), 0);
    std::vector<std::uint32_t> serials(count);
    EXPECT_EQ(qxzevauGetSerialNumber(serials.data(), &count), 0);
    std::vector<DriverBoard> boards(serials.size());
    for (std::size_t i = 0; i < serials.size(); ++i) {
        TestBoard& board = boards[i].board;
        board.serialNumber = serials[i];
        EXPECT_EQ(qxzevauGetBoardPCILocation(serials[i], &board.pciBus, &board.pciDevice,
                                             &board.pciFunction),
                  0);
        EXPECT_EQ(imgGetBoardPCIID(serials[i], &board.pciId), 0);
        EXPECT_EQ(qxzevauGetBoardName(serials[i], boards[i].name), 0);
        board.boardName = boards[i].name;
        char file[256] = {};
        EXPECT_EQ(qxzevauGetActiveInterfaceFile(serials[i], file), 0);
        boards[i].item = std::string(file).substr(0, std::string(file).rfind(".zid"));
    }
    return boards;
}

} // namespace

TEST(ModuleReport, Default_boards_report_every_item_with_every_property_of_the_table) {
    zevadriverReset();
    LoadedModule module;
    ASSERT_TRUE(module.Loaded()) << module.Error();
    void* pointer = nullptr;
    ASSERT_EQ(module.factory()(&pointer), S_OK);
    auto* expert = static_cast<IkcSysExpert2*>(pointer);
    ASSERT_EQ(expert->Initialize(), S_OK);
    std::uint32_t driverVersion = 0;
    ASSERT_EQ(qxzevauGetDriverVersion(&driverVersion), 0);
    const std::vector<DriverBoard> boards = DriverBoards();
    ASSERT_FALSE(boards.empty());

    KeepingCollection collection;
    ASSERT_EQ(expert->SearchForItemsAndProperties(&collection), S_OK);
    ASSERT_EQ(collection.m_bags.size(), boards.size());
    for (std::size_t i = 0; i < boards.size(); ++i) {
        SCOPED_TRACE(boards[i].item);
        ExpectBagHolds(collection.m_bags[i],
                       ExpectedProperties(boards[i].board, boards[i].item, driverVersion));
    }

    IkcSysPropertyBag* one = nullptr;
    ASSERT_EQ(expert->GetPropertiesOfItem(u"IMG2", &one), S_OK);
    ExpectBagHolds(one, ExpectedProperties(boards[2].board, "IMG2", driverVersion));
    EXPECT_EQ(one->Release(), 0);
    EXPECT_EQ(expert->Finalize(), S_OK);
    EXPECT_EQ(expert->Release(), 0);
    zevadriverReset();
}
