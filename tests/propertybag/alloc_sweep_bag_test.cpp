// Every property-bag operation with each allocation of the module's code failing in turn: the
// result is the operation's own, with the bag as a run without failures leaves it, or
// E_OUTOFMEMORY with the bag exactly as it was; copies, strings and enumerators handed out are
// whole or null.
#include "alloc_sweep.h"
#include "bag_dump.h"
#include "propertybag/dynamic_property_bag.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const _GUID k_guid = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};
const kcSysAttrTimestampUTC k_stamp = MakeTimestampUTC(0, 0xD5000000u, 0x80000000u, 0);
const char16_t k_longText[] = u"a string long enough to need a block of its own on every target";

// One property of every type on tags 1 to 7; tags 2 and 6 changed since the last clear.
IkcSysPropertyBag3* FilledBag() {
    IkcSysPropertyBag3* bag = MakeComObject<CkcDynamicPropertyBag>().detach();
    bag->SetBooleanProperty(1, 1);
    bag->SetIntegerProperty(2, -2);
    bag->SetUnsignedIntegerProperty(3, 3);
    bag->SetDoubleProperty(4, 4.5);
    bag->SetGuidProperty(5, k_guid);
    bag->SetStringProperty(6, k_longText);
    bag->SetTimestampPropertyUTC(7, &k_stamp);
    bag->ClearChangedTags();
    bag->SetIntegerProperty(2, -22);
    bag->SetStringProperty(6, u"six");
    return bag;
}

// The properties of dump with the given changed-tag line in place of its own.
std::string WithChangedLine(const std::string& dump, const std::string& changedLine) {
    return dump.substr(0, dump.rfind("changed ")) + changedLine;
}

using Operation = std::function<HRESULT(IkcSysPropertyBag3*)>;

// Sweeps an operation that changes or reads a bag and hands nothing out.
void SweepStore(const char* scenario, const Operation& operation) {
    IkcSysPropertyBag3* reference = FilledBag();
    const std::string before = BagDump(reference);
    const HRESULT expectedResult = operation(reference);
    const std::string expected = BagDump(reference);
    reference->Release();
    SweepAllocations(scenario, [&](Injection& injection) {
        IkcSysPropertyBag3* bag = FilledBag();
        HRESULT result = E_FAIL;
        injection.During([&] { result = operation(bag); });
        const std::string after = BagDump(bag);
        if (result == expectedResult) {
            EXPECT_EQ(after, expected);
        } else {
            EXPECT_EQ(result, E_OUTOFMEMORY);
            EXPECT_EQ(after, before);
        }
        EXPECT_EQ(bag->Release(), 0);
    });
}

} // namespace

TEST(AllocationSweepBag, Bag_set_operations_on_new_and_existing_tags) {
    const kcSysAttrTimestampUTC zero{};
    const std::pair<const char*, Operation> sets[] = {
        {"SetBooleanProperty, new tag",
         [](IkcSysPropertyBag3* b) { return b->SetBooleanProperty(100, 1); }},
        {"SetBooleanProperty, existing tag",
         [](IkcSysPropertyBag3* b) { return b->SetBooleanProperty(1, 0); }},
        {"SetIntegerProperty, new tag",
         [](IkcSysPropertyBag3* b) { return b->SetIntegerProperty(0xFFFFFFFFu, -7); }},
        {"SetIntegerProperty, changed tag",
         [](IkcSysPropertyBag3* b) { return b->SetIntegerProperty(2, 22); }},
        {"SetUnsignedIntegerProperty, new tag",
         [](IkcSysPropertyBag3* b) { return b->SetUnsignedIntegerProperty(0, 7); }},
        {"SetUnsignedIntegerProperty, existing tag",
         [](IkcSysPropertyBag3* b) { return b->SetUnsignedIntegerProperty(3, 33); }},
        {"SetDoubleProperty, new tag",
         [](IkcSysPropertyBag3* b) { return b->SetDoubleProperty(100, -0.25); }},
        {"SetDoubleProperty, existing tag",
         [](IkcSysPropertyBag3* b) { return b->SetDoubleProperty(4, 1e300); }},
        {"SetGuidProperty, new tag",
         [](IkcSysPropertyBag3* b) { return b->SetGuidProperty(100, k_guid); }},
        {"SetGuidProperty, existing tag",
         [](IkcSysPropertyBag3* b) { return b->SetGuidProperty(5, _GUID{}); }},
        {"SetStringProperty, new tag",
         [](IkcSysPropertyBag3* b) { return b->SetStringProperty(100, k_longText); }},
        {"SetStringProperty, changed tag",
         [](IkcSysPropertyBag3* b) { return b->SetStringProperty(6, k_longText); }},
        {"SetStringProperty, null string",
         [](IkcSysPropertyBag3* b) { return b->SetStringProperty(101, nullptr); }},
        {"SetTimestampPropertyUTC, new tag",
         [](IkcSysPropertyBag3* b) { return b->SetTimestampPropertyUTC(100, &k_stamp); }},
        {"SetTimestampPropertyUTC, existing tag",
         [&](IkcSysPropertyBag3* b) { return b->SetTimestampPropertyUTC(7, &zero); }},
        {"Set of another type",
         [](IkcSysPropertyBag3* b) { return b->SetStringProperty(2, k_longText); }},
    };
    for (const auto& set : sets)
        SweepStore(set.first, set.second);
}

TEST(AllocationSweepBag, Bag_operations_that_allocate_nothing) {
    SweepStore("bag reads, deletes, clears and batch locks", [](IkcSysPropertyBag3* bag) {
        int flag = 0;
        std::int32_t number = 0;
        kcSysAttributeType type{};
        kcSysAttrTimestamp local{};
        const kcSysAttrTimestamp localIn{2020, 1, 1, 0, 0, 0};
        bag->AcquireBatchLock();
        bag->HasProperty(3);
        bag->GetPropertyType(4, &type);
        bag->GetBooleanProperty(1, &flag);
        bag->GetIntegerProperty(2, &number);
        bag->GetTimestampProperty(7, &local);
        bag->_SetTimestampProperty(8, &localIn);
        bag->DeleteProperty(3);
        bag->ClearChangedTags();
        bag->ReleaseBatchLock();
        return bag->DeleteAllProperties();
    });
}

TEST(AllocationSweepBag, Bag_string_read_hands_out_a_whole_copy_or_null) {
    SweepAllocations("GetStringProperty", [](Injection& injection) {
        IkcSysPropertyBag3* bag = FilledBag();
        bag->SetStringProperty(6, k_longText);
        const std::string before = BagDump(bag);
        char16_t* text = reinterpret_cast<char16_t*>(0x1);
        HRESULT result = E_FAIL;
        injection.During([&] { result = bag->GetStringProperty(6, &text); });
        if (result == S_OK) {
            EXPECT_EQ(std::u16string(text), k_longText);
            FreeWideString(text);
        } else {
            EXPECT_EQ(result, E_OUTOFMEMORY);
            EXPECT_EQ(text, nullptr);
        }
        EXPECT_EQ(BagDump(bag), before);
        EXPECT_EQ(bag->Release(), 0);
    });
}

TEST(AllocationSweepBag, Bag_enumerations_and_their_enumerators) {
    for (const bool changedOnly : {false, true}) {
        const std::string expected = changedOnly ? "00000002 00000006 "
                                                 : "00000001 00000002 00000003 00000004 "
                                                   "00000005 00000006 00000007 ";
        SweepAllocations(
            changedOnly ? "EnumChangedTags, Next, Clone" : "EnumProperties, Next, Clone",
            [&](Injection& injection) {
                IkcSysPropertyBag3* bag = FilledBag();
                const std::string before = BagDump(bag);
                IkcSysEnumPropertyTag* tags = reinterpret_cast<IkcSysEnumPropertyTag*>(0x1);
                HRESULT result = E_FAIL;
                injection.During([&] {
                    result = changedOnly ? bag->EnumChangedTags(&tags) : bag->EnumProperties(&tags);
                });
                EXPECT_EQ(BagDump(bag), before);
                if (result != S_OK) {
                    EXPECT_EQ(result, E_OUTOFMEMORY);
                    EXPECT_EQ(tags, nullptr);
                } else {
                    std::uint32_t first = 0;
                    EXPECT_EQ(tags->Next(1, &first, nullptr), S_OK);
                    IkcSysEnumPropertyTag* clone = reinterpret_cast<IkcSysEnumPropertyTag*>(0x1);
                    HRESULT cloned = E_FAIL;
                    injection.During([&] { cloned = tags->Clone(&clone); });
                    EXPECT_EQ(tags->Reset(), S_OK);
                    EXPECT_EQ(TagsOf(tags), expected); // releases the source first
                    if (cloned == S_OK) {
                        EXPECT_EQ(TagsOf(clone), expected.substr(9)); // from where the source was
                    } else {
                        EXPECT_EQ(cloned, E_OUTOFMEMORY);
                        EXPECT_EQ(clone, nullptr);
                    }
                }
                EXPECT_EQ(bag->Release(), 0);
            });
    }
}

TEST(AllocationSweepBag, Bag_clone_is_whole_or_not_made) {
    SweepAllocations("Clone", [](Injection& injection) {
        IkcSysPropertyBag3* bag = FilledBag();
        const std::string before = BagDump(bag);
        IkcSysPropertyBag* copy = reinterpret_cast<IkcSysPropertyBag*>(0x1);
        HRESULT result = E_FAIL;
        injection.During([&] { result = bag->Clone(&copy); });
        EXPECT_EQ(BagDump(bag), before);
        if (result == S_OK) {
            EXPECT_EQ(BagDump(static_cast<IkcSysPropertyBag3*>(copy)),
                      WithChangedLine(before, "changed none"));
            EXPECT_EQ(copy->Release(), 0);
        } else {
            EXPECT_EQ(result, E_OUTOFMEMORY);
            EXPECT_EQ(copy, nullptr);
        }
        EXPECT_EQ(bag->Release(), 0);
    });
}
