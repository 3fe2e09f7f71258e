// Property reporting with each allocation of the module's code failing in turn: bags reach the
// collection whole or not at all, a failed search keeps the bags it already gave, and a bag
// returned for one item is complete.
#include "alloc_sweep.h"
#include "bag_dump.h"
#include "expert/kcsyszeva.h"
#include "expert/module_exports.h"
#include "keeping_collection.h"
#include "simulated_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Dump(IkcSysPropertyBag* bag) {
    return BagDump(static_cast<IkcSysPropertyBag3*>(bag));
}

IkcSysExpert2* InitializedExpert() {
    void* expert = nullptr;
    EXPECT_EQ(createZEVASysapiExpert(&expert), S_OK);
    auto* made = static_cast<IkcSysExpert2*>(expert);
    EXPECT_EQ(made->Initialize(), S_OK);
    return made;
}

class AllocationSweepReport : public ::testing::Test {
protected:
    void TearDown() override { zevadriverReset(); }
};

} // namespace

TEST_F(AllocationSweepReport, SearchForItemsAndProperties_hands_over_whole_bags_only) {
    std::vector<std::string> expected;
    {
        zevadriverReset();
        IkcSysExpert2* expert = InitializedExpert();
        KeepingCollection collection;
        ASSERT_EQ(expert->SearchForItemsAndProperties(&collection), S_OK);
        for (IkcSysPropertyBag* bag : collection.m_bags)
            expected.push_back(Dump(bag));
        expert->Release();
    }
    ASSERT_EQ(expected.size(), 4u);
    SweepAllocations("SearchForItemsAndProperties", zevadriverReset, [&](Injection& injection) {
        IkcSysExpert2* expert = InitializedExpert();
        {
            KeepingCollection collection;
            HRESULT result = E_FAIL;
            injection.During([&] { result = expert->SearchForItemsAndProperties(&collection); });
            if (result == S_OK)
                EXPECT_EQ(collection.m_bags.size(), expected.size());
            else
                EXPECT_EQ(result, E_OUTOFMEMORY);
            ASSERT_LE(collection.m_bags.size(), expected.size());
            for (std::size_t i = 0; i < collection.m_bags.size(); ++i)
                EXPECT_EQ(Dump(collection.m_bags[i]), expected[i]) << "bag " << i;
        }
        // The expert answers again in full.
        KeepingCollection again;
        EXPECT_EQ(expert->SearchForItemsAndProperties(&again), S_OK);
        EXPECT_EQ(again.m_bags.size(), expected.size());
        EXPECT_EQ(expert->Release(), 0);
    });
}

TEST_F(AllocationSweepReport, GetPropertiesOfItem_returns_a_complete_bag_or_none) {
    std::string expected;
    {
        zevadriverReset();
        IkcSysExpert2* expert = InitializedExpert();
        IkcSysPropertyBag* bag = nullptr;
        ASSERT_EQ(expert->GetPropertiesOfItem(u"IMG2", &bag), S_OK);
        expected = Dump(bag);
        bag->Release();
        expert->Release();
    }
    SweepAllocations("GetPropertiesOfItem", zevadriverReset, [&](Injection& injection) {
        IkcSysExpert2* expert = InitializedExpert();
        IkcSysPropertyBag* bag = reinterpret_cast<IkcSysPropertyBag*>(0x1);
        HRESULT result = E_FAIL;
        HRESULT missing = E_FAIL;
        IkcSysPropertyBag* none = reinterpret_cast<IkcSysPropertyBag*>(0x1);
        injection.During([&] {
            result = expert->GetPropertiesOfItem(u"IMG2", &bag);
            missing = expert->GetPropertiesOfItem(u"no such item", &none);
        });
        if (result == S_OK) {
            EXPECT_EQ(Dump(bag), expected);
            EXPECT_EQ(bag->Release(), 0);
        } else {
            EXPECT_EQ(result, E_OUTOFMEMORY);
            EXPECT_EQ(bag, nullptr);
        }
        EXPECT_TRUE(missing == E_ITEM_NOT_FOUND || missing == E_OUTOFMEMORY) << missing;
        EXPECT_EQ(none, nullptr);
        EXPECT_EQ(expert->Release(), 0);
    });
}
