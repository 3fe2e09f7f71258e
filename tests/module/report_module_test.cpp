// The report as a host sees it through the loaded module: the golden board with every
// property hosts know, through the collection and asked for by name.
#include "expert/expert_interfaces.h"
#include "golden_properties.h"
#include "keeping_collection.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

TEST(ModuleReport, The_golden_board_reports_every_property_hosts_know) {
    zevadriverReset();
    zevadriverClearBoards();
    zevadriverSetDriverVersion(k_goldenDriverVersion);
    AddBoard(GoldenBoard());
    LoadedModule module;
    ASSERT_TRUE(module.Loaded()) << module.Error();
    void* pointer = nullptr;
    ASSERT_EQ(module.factory()(&pointer), S_OK);
    auto* expert = static_cast<IkcSysExpert2*>(pointer);
    ASSERT_EQ(expert->Initialize(), S_OK);

    KeepingCollection collection;
    ASSERT_EQ(expert->SearchForItemsAndProperties(&collection), S_OK);
    ASSERT_EQ(collection.m_bags.size(), 1u);
    ExpectGoldenBag(collection.m_bags[0]);

    IkcSysPropertyBag* one = nullptr;
    ASSERT_EQ(expert->GetPropertiesOfItem(u"IMG0", &one), S_OK);
    ExpectGoldenBag(one, "IMG0");
    EXPECT_EQ(one->Release(), 0);
    EXPECT_EQ(expert->Finalize(), S_OK);
    EXPECT_EQ(expert->Release(), 0);
    zevadriverReset();
}
