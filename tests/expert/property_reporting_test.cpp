// Property reporting: the properties of an item, the name lookup, the collection protocol
// and every failure the host can see.
#include "alloc_failure.h"
#include "com/widestring.h"
#include "expert/kcsyszeva.h"
#include "expert_fixture.h"
#include "golden_properties.h"
#include "keeping_collection.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/tags.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace {

std::string StringOf(IkcSysPropertyBag* bag, std::uint32_t tag) {
    char16_t* text = reinterpret_cast<char16_t*>(0x1);
    EXPECT_EQ(bag->GetStringProperty(tag, &text), S_OK) << std::hex << tag;
    std::string out = text == nullptr ? "(null)" : NarrowAscii(text);
    FreeWideString(text);
    return out;
}

std::vector<std::uint32_t> TagsOf(IkcSysPropertyBag* bag) {
    IkcSysEnumPropertyTag* tags = nullptr;
    EXPECT_EQ(bag->EnumProperties(&tags), S_OK);
    std::vector<std::uint32_t> all;
    std::uint32_t tag = 0, fetched = 0;
    while (tags != nullptr && tags->Next(1, &tag, &fetched) == S_OK)
        all.push_back(tag);
    if (tags != nullptr)
        tags->Release();
    return all;
}

class PropertyReporting : public ExpertOnSimulatedDriver {
protected:
    IkcSysPropertyBag* BagOf(const char16_t* name) {
        IkcSysPropertyBag* bag = nullptr;
        EXPECT_EQ(m_expert->GetPropertiesOfItem(name, &bag), S_OK);
        return bag;
    }
};

} // namespace

TEST_F(PropertyReporting, An_item_holds_exactly_the_properties_hosts_know) {
    zevadriverSetDriverVersion(k_goldenDriverVersion);
    AddBoard(GoldenBoard());
    AddBoard(TestBoard()
                 .Serial(0xFFFFFFFF)
                 .Active("full.zid")
                 .Pci(0xFF, 0x1F, 7)
                 .Id(0xFFFF0001)
                 .Name("PCIe"));
    AddUncheckedBoard(TestBoard().Serial(0x0).Active("zero.zid").Name(""));
    Discover();
    IkcSysPropertyBag* golden = BagOf(u"img0");
    ASSERT_NE(golden, nullptr);
    ExpectGoldenBag(golden);
    EXPECT_EQ(golden->Release(), 0);
    // Boards at the limits, found without regard to case and named as the caller wrote them.
    const struct {
        const char16_t* item;
        std::uint32_t tag;
        std::int32_t type;
        const char* value;
    } limits[] = {{u"FULL", 0x01007000, k_string, "\"FFFFFFFF\""},
                  {u"FULL", 0x0101D000, k_string, "\"FULL\""},
                  {u"FULL", 0x01006000, k_string, "\"PCIe\""},
                  {u"FULL", 0x01005000, k_unsigned, "65535"},
                  {u"FULL", 0x01003000, k_unsigned, "1"},
                  {u"FULL", 0x01018000, k_unsigned, "255"},
                  {u"zero", 0x01007000, k_string, "\"00000000\""},
                  {u"zero", 0x01006000, k_string, "\"\""},
                  {u"zero", 0x01005000, k_unsigned, "0"},
                  {u"zero", 0x01003000, k_unsigned, "0"}};
    for (const auto& limit : limits) {
        IkcSysPropertyBag* bag = BagOf(limit.item);
        ASSERT_NE(bag, nullptr);
        EXPECT_EQ(ReadProperty(bag, limit.tag, limit.type), limit.value)
            << NarrowAscii(limit.item) << " " << std::hex << limit.tag;
        EXPECT_EQ(bag->Release(), 0);
    }
}

TEST_F(PropertyReporting, Names_differing_only_in_case_report_their_own_boards) {
    AddBoard(TestBoard().Serial(0x1).Active("cam.zid"));
    AddBoard(TestBoard().Serial(0x2).Active("CAM.zid"));
    Discover();
    KeepingCollection collection;
    ASSERT_EQ(m_expert->SearchForItemsAndProperties(&collection), S_OK);
    ASSERT_EQ(collection.m_bags.size(), 2u);
    EXPECT_EQ(StringOf(collection.m_bags[0], kcSysTagSerialNumber), "00000001");
    EXPECT_EQ(StringOf(collection.m_bags[1], kcSysTagSerialNumber), "00000002");
    EXPECT_EQ(StringOf(collection.m_bags[1], kcSysTagItemName), "CAM");
    // One item: the exact spelling first, else the first that matches without case.
    const std::pair<const char16_t*, const char*> lookups[] = {
        {u"cam", "00000001"}, {u"CAM", "00000002"}, {u"Cam", "00000001"}};
    for (const auto& [name, serial] : lookups) {
        IkcSysPropertyBag* bag = BagOf(name);
        ASSERT_NE(bag, nullptr);
        EXPECT_EQ(StringOf(bag, kcSysTagSerialNumber), serial);
        EXPECT_EQ(bag->Release(), 0);
    }
}

TEST_F(PropertyReporting, Model_drops_the_family_prefix_only_when_more_follows_it) {
    AddBoard(TestBoard().Serial(0x1).Active("a.zid").Name("ZEVA "));
    AddBoard(TestBoard().Serial(0x2).Active("b.zid").Name("ZEVA X"));
    AddBoard(TestBoard().Serial(0x3).Active("c.zid").Name("zeva PCIe"));
    AddBoard(TestBoard().Serial(0x4).Active("d.zid").Name("ZEVAX"));
    Discover();
    const std::pair<const char16_t*, const char*> expected[] = {
        {u"a", "ZEVA "}, {u"b", "X"}, {u"c", "zeva PCIe"}, {u"d", "ZEVAX"}};
    for (const auto& [name, model] : expected) {
        IkcSysPropertyBag* bag = BagOf(name);
        ASSERT_NE(bag, nullptr);
        EXPECT_EQ(StringOf(bag, kcSysTagModel), model);
        bag->Release();
    }
}

TEST_F(PropertyReporting, Unknown_item_gives_E_ITEM_NOT_FOUND_and_null) {
    AddBoard(TestBoard().Serial(0x1).Active("img0.zid"));
    Discover();
    auto* sentinel = reinterpret_cast<IkcSysPropertyBag*>(0x1);
    IkcSysPropertyBag* bag = sentinel;
    EXPECT_EQ(m_expert->GetPropertiesOfItem(u"img", &bag), E_ITEM_NOT_FOUND);
    EXPECT_EQ(bag, nullptr);
    EXPECT_EQ(m_expert->GetPropertiesOfItem(u"img0", nullptr), E_POINTER);
    // A null name is refused before anything is made.
    bag = sentinel;
    AllocationFailure failure(AllocationFailure::k_any, 1);
    EXPECT_EQ(m_expert->GetPropertiesOfItem(nullptr, &bag), E_POINTER);
    EXPECT_FALSE(failure.Failed());
    EXPECT_EQ(bag, nullptr);
}

TEST_F(PropertyReporting, No_interfaces_give_S_FALSE_without_calling_the_collection) {
    Discover();
    KeepingCollection collection;
    EXPECT_EQ(m_expert->SearchForItemsAndProperties(&collection), S_FALSE);
    EXPECT_EQ(collection.m_calls, 0);
    EXPECT_EQ(m_expert->SearchForItemsAndProperties(nullptr), E_POINTER);
    IkcSysPropertyBag* bag = nullptr;
    EXPECT_EQ(m_expert->GetPropertiesOfItem(u"anything", &bag), E_ITEM_NOT_FOUND);
}

TEST_F(PropertyReporting, A_refusal_on_the_second_item_keeps_the_first_bag_with_one_reference) {
    AddBoard(TestBoard().Serial(0x1).Active("img0.zid"));
    AddBoard(TestBoard().Serial(0x2).Active("img1.zid"));
    AddBoard(TestBoard().Serial(0x3).Active("img2.zid"));
    Discover();
    KeepingCollection collection;
    collection.m_refuseCall = 2;
    collection.m_refusal = static_cast<HRESULT>(0x80070057u);
    EXPECT_EQ(m_expert->SearchForItemsAndProperties(&collection), collection.m_refusal);
    EXPECT_EQ(collection.m_calls, 2);
    ASSERT_EQ(collection.m_bags.size(), 1u);
    IkcSysPropertyBag* first = collection.m_bags[0];
    EXPECT_EQ(first->AddRef(), 2); // the collection's reference and this one
    EXPECT_EQ(first->Release(), 1);
}

TEST_F(PropertyReporting, Each_search_reports_bags_under_the_current_names) {
    AddBoard(TestBoard().Serial(0x1).Active("img0.zid"));
    Discover();
    ASSERT_EQ(zevadriverSetActiveFile(0x1, "renamed.zid"), 0);
    KeepingCollection collection;
    ASSERT_EQ(m_expert->SearchForItemsAndProperties(&collection), S_OK);
    ASSERT_EQ(collection.m_bags.size(), 1u);
    EXPECT_EQ(StringOf(collection.m_bags[0], kcSysTagItemName), "renamed");
    IkcSysPropertyBag* bag = nullptr;
    EXPECT_EQ(m_expert->GetPropertiesOfItem(u"img0", &bag), E_ITEM_NOT_FOUND);
}

TEST_F(PropertyReporting, Running_out_of_memory_in_the_fill_never_reports_a_partial_bag) {
    AddBoard(TestBoard().Serial(0x1).Active("img0.zid"));
    AddBoard(TestBoard().Serial(0x2).Active("img1.zid"));
    Discover();
    for (const auto kind : {AllocationFailure::k_operatorNew, AllocationFailure::k_malloc}) {
        for (int failAt = 1;; ++failAt) {
            KeepingCollection collection;
            HRESULT result = S_OK;
            bool failed = false;
            {
                AllocationFailure failure(kind, failAt);
                result = m_expert->SearchForItemsAndProperties(&collection);
                failed = failure.Failed();
            }
            if (!failed) {
                EXPECT_EQ(result, S_OK);
                EXPECT_EQ(collection.m_bags.size(), 2u);
                break;
            }
            EXPECT_EQ(result, E_OUTOFMEMORY) << kind << " allocation " << failAt;
            for (IkcSysPropertyBag* bag : collection.m_bags)
                EXPECT_EQ(TagsOf(bag).size(), std::size_t{QXZEVA_ITEM_PROPERTY_COUNT})
                    << kind << " allocation " << failAt;
        }
    }
}
