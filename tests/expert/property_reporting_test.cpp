// Property reporting: the 22 properties of an item, the name lookup, the collection protocol
// and every failure the host can see.
#include "alloc_failure.h"
#include "com/widestring.h"
#include "expert/kcsyszeva.h"
#include "expert_fixture.h"
#include "keeping_collection.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/tags.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

std::string StringOf(IkcSysPropertyBag* bag, std::uint32_t tag) {
    char16_t* text = reinterpret_cast<char16_t*>(0x1);
    EXPECT_EQ(bag->GetStringProperty(tag, &text), S_OK) << std::hex << tag;
    std::string out = text == nullptr ? "(null)" : NarrowAscii(text);
    FreeWideString(text);
    return out;
}

std::uint32_t UnsignedOf(IkcSysPropertyBag* bag, std::uint32_t tag) {
    std::uint32_t value = 0xDEADBEEF;
    EXPECT_EQ(bag->GetUnsignedIntegerProperty(tag, &value), S_OK) << std::hex << tag;
    return value;
}

std::int32_t IntegerOf(IkcSysPropertyBag* bag, std::uint32_t tag) {
    std::int32_t value = 0x5A5A5A5A;
    EXPECT_EQ(bag->GetIntegerProperty(tag, &value), S_OK) << std::hex << tag;
    return value;
}

int BooleanOf(IkcSysPropertyBag* bag, std::uint32_t tag) {
    int value = 7;
    EXPECT_EQ(bag->GetBooleanProperty(tag, &value), S_OK) << std::hex << tag;
    return value;
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

TEST_F(PropertyReporting, An_item_holds_exactly_the_22_properties_with_their_values) {
    zevadriverSetDriverVersion(0x12345678);
    AddBoard({0xABC, "img0.zid", 3, 14, 6, 0x7A911093, "ZEVA PCIe-4C"});
    Discover();
    IkcSysPropertyBag* bag = BagOf(u"img0");
    ASSERT_NE(bag, nullptr);
    EXPECT_THAT(TagsOf(bag),
                ElementsAre(kcSysTagFlag01, kcSysTagCount02, kcSysTagPciIdLower, kcSysTagVendor,
                            kcSysTagPciIdUpper, kcSysTagModel, kcSysTagSerialNumber, kcSysTagFlag08,
                            kcSysTagEmptyText, kcSysTagConstant0B, kcSysTagPciBus,
                            kcSysTagPciDevice, kcSysTagPciFunction, kcSysTagConstant1C,
                            kcSysTagItemName, kcSysTagItemAlias, kcSysTagConstant24, kcSysTagFlag28,
                            kcSysTagConstant2A, kcSysTagFlag54, kcSysTagDriverVersion,
                            kcSysTagDriverFamily));
    EXPECT_EQ(StringOf(bag, kcSysTagSerialNumber), "00000ABC");
    EXPECT_EQ(IntegerOf(bag, kcSysTagConstant1C), 1);
    EXPECT_EQ(StringOf(bag, kcSysTagItemName), "img0");
    EXPECT_EQ(StringOf(bag, kcSysTagItemAlias), "img0");
    EXPECT_EQ(BooleanOf(bag, kcSysTagFlag54), 0);
    EXPECT_EQ(IntegerOf(bag, kcSysTagConstant2A), 99);
    EXPECT_EQ(BooleanOf(bag, kcSysTagFlag01), 1);
    EXPECT_EQ(BooleanOf(bag, kcSysTagFlag28), 0);
    EXPECT_EQ(IntegerOf(bag, kcSysTagConstant24), 1);
    EXPECT_EQ(BooleanOf(bag, kcSysTagFlag08), 1);
    EXPECT_EQ(UnsignedOf(bag, kcSysTagPciIdUpper), 0x7A91u);
    EXPECT_EQ(UnsignedOf(bag, kcSysTagPciIdLower), 0x1093u);
    EXPECT_EQ(StringOf(bag, kcSysTagVendor), "Verantic");
    EXPECT_EQ(StringOf(bag, kcSysTagModel), "PCIe-4C");
    EXPECT_EQ(StringOf(bag, kcSysTagEmptyText), "");
    EXPECT_EQ(IntegerOf(bag, kcSysTagConstant0B), -1);
    EXPECT_EQ(UnsignedOf(bag, kcSysTagDriverVersion), 0x12345678u);
    EXPECT_EQ(StringOf(bag, kcSysTagDriverFamily), "ZEVA");
    EXPECT_EQ(UnsignedOf(bag, kcSysTagCount02), 1u);
    EXPECT_EQ(UnsignedOf(bag, kcSysTagPciBus), 3u);
    EXPECT_EQ(UnsignedOf(bag, kcSysTagPciDevice), 14u);
    EXPECT_EQ(UnsignedOf(bag, kcSysTagPciFunction), 6u);
    EXPECT_EQ(bag->Release(), 0);
}

TEST_F(PropertyReporting, The_name_matches_without_case_and_is_stored_as_the_caller_wrote_it) {
    AddBoard({0x1, "Img0.zid"});
    Discover();
    IkcSysPropertyBag* bag = BagOf(u"iMG0");
    ASSERT_NE(bag, nullptr);
    EXPECT_EQ(StringOf(bag, kcSysTagItemName), "iMG0");
    EXPECT_EQ(StringOf(bag, kcSysTagItemAlias), "iMG0");
    EXPECT_EQ(bag->Release(), 0);
}

TEST_F(PropertyReporting, Names_differing_only_in_case_report_their_own_boards) {
    AddBoard({0x1, "cam.zid"});
    AddBoard({0x2, "CAM.zid"});
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
    AddBoard({0x1, "a.zid", 0, 0, 0, 0, "ZEVA "});
    AddBoard({0x2, "b.zid", 0, 0, 0, 0, "ZEVA X"});
    AddBoard({0x3, "c.zid", 0, 0, 0, 0, "zeva PCIe"});
    AddBoard({0x4, "d.zid", 0, 0, 0, 0, "ZEVAX"});
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

TEST_F(PropertyReporting, Serial_numbers_are_eight_upper_case_digits_and_pci_id_splits) {
    AddBoard({0x0, "zero.zid", 0, 0, 0, 0});
    AddBoard({0xFFFFFFFF, "full.zid", 0, 0, 0, 0xFFFF0001});
    Discover();
    IkcSysPropertyBag* zero = BagOf(u"zero");
    IkcSysPropertyBag* full = BagOf(u"full");
    ASSERT_TRUE(zero != nullptr && full != nullptr);
    EXPECT_EQ(StringOf(zero, kcSysTagSerialNumber), "00000000");
    EXPECT_EQ(UnsignedOf(zero, kcSysTagPciIdUpper), 0u);
    EXPECT_EQ(UnsignedOf(zero, kcSysTagPciIdLower), 0u);
    EXPECT_EQ(StringOf(full, kcSysTagSerialNumber), "FFFFFFFF");
    EXPECT_EQ(UnsignedOf(full, kcSysTagPciIdUpper), 0xFFFFu);
    EXPECT_EQ(UnsignedOf(full, kcSysTagPciIdLower), 1u);
    zero->Release();
    full->Release();
}

TEST_F(PropertyReporting, Unknown_item_gives_E_ITEM_NOT_FOUND_and_null) {
    AddBoard({0x1, "img0.zid"});
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
    AddBoard({0x1, "img0.zid"});
    AddBoard({0x2, "img1.zid"});
    AddBoard({0x3, "img2.zid"});
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
    AddBoard({0x1, "img0.zid"});
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
    AddBoard({0x1, "img0.zid"});
    AddBoard({0x2, "img1.zid"});
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
                EXPECT_EQ(TagsOf(bag).size(), 22u) << kind << " allocation " << failAt;
        }
    }
}
