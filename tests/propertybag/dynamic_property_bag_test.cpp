// The dynamic property bag: its interfaces, typed stores and reads, deletion, clones and failures.
#include "alloc_failure.h"
#include "bag_test_helpers.h"
#include "qxzeva/identifiers.h"
#include "qxzeva/types.h"
#include "time_zone.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr _GUID k_IUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr _GUID k_someGuid = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};
const kcSysAttrTimestamp k_noTime = {-1, -1, -1, -1, -1, -1};

bool SameBytes(const void* left, const void* right, std::size_t size) {
    return std::memcmp(left, right, size) == 0;
}

using DynamicPropertyBag = BagTest;

TEST_F(DynamicPropertyBag, Answers_its_three_interfaces_and_IUnknown_with_one_pointer) {
    for (const _GUID* iid :
         {&IID_IkcSysPropertyBag, &IID_IkcSysPropertyBag2, &IID_IkcSysPropertyBag3, &k_IUnknown}) {
        void* answered = nullptr;
        ASSERT_EQ(bag->QueryInterface(*iid, &answered), S_OK);
        EXPECT_EQ(answered, static_cast<void*>(bag));
        EXPECT_EQ(bag->Release(), 1);
    }
}

TEST_F(DynamicPropertyBag, Every_type_reads_back_as_stored_under_its_type_code) {
    const kcSysAttrTimestampUTC stamp = MakeTimestampUTC(0, 2082844800u, 0x80000000u, 7);
    ASSERT_EQ(bag->SetBooleanProperty(0, 5), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(1, -2), S_OK);
    ASSERT_EQ(bag->SetUnsignedIntegerProperty(2, 0xFFFFFFFFu), S_OK);
    ASSERT_EQ(bag->SetDoubleProperty(3, -0.125), S_OK);
    ASSERT_EQ(bag->SetGuidProperty(4, k_someGuid), S_OK);
    ASSERT_EQ(bag->SetStringProperty(5, u"text"), S_OK);
    ASSERT_EQ(bag->SetTimestampPropertyUTC(6, &stamp), S_OK);
    int flag = 7;
    std::uint32_t unsignedValue = 0;
    double real = 0;
    _GUID guid{};
    kcSysAttrTimestampUTC stampRead{};
    EXPECT_EQ(bag->GetBooleanProperty(0, &flag), S_OK);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(IntegerOf(1), -2);
    EXPECT_EQ(bag->GetUnsignedIntegerProperty(2, &unsignedValue), S_OK);
    EXPECT_EQ(unsignedValue, 0xFFFFFFFFu);
    EXPECT_EQ(bag->GetDoubleProperty(3, &real), S_OK);
    EXPECT_EQ(real, -0.125);
    EXPECT_EQ(bag->GetGuidProperty(4, &guid), S_OK);
    EXPECT_EQ(guid, k_someGuid);
    EXPECT_EQ(StringOf(5), u"text");
    EXPECT_EQ(bag->GetTimestampPropertyUTC(6, &stampRead), S_OK);
    EXPECT_TRUE(SameBytes(&stamp, &stampRead, sizeof stamp));
    ASSERT_EQ(bag->SetStringProperty(5, nullptr), S_OK);
    for (std::uint32_t tag = 0; tag <= 6; ++tag) {
        kcSysAttributeType type{};
        EXPECT_EQ(bag->GetPropertyType(tag, &type), S_OK);
        EXPECT_EQ(type, static_cast<kcSysAttributeType>(tag + 1)) << "tag " << tag;
    }
}

TEST_F(DynamicPropertyBag, A_store_of_another_type_is_refused_and_an_equal_one_still_marks) {
    ASSERT_EQ(bag->SetIntegerProperty(5, 42), S_OK);
    ASSERT_EQ(bag->ClearChangedTags(), S_OK);
    EXPECT_EQ(bag->SetStringProperty(5, u"text"), E_PROPERTY_TYPE_MISMATCH);
    EXPECT_EQ(bag->SetUnsignedIntegerProperty(5, 42), E_PROPERTY_TYPE_MISMATCH);
    EXPECT_EQ(IntegerOf(5), 42);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
    ASSERT_EQ(bag->SetIntegerProperty(5, 42), S_OK);
    EXPECT_EQ(bag->ClearChangedTags(), S_OK);
}

TEST_F(DynamicPropertyBag, Failed_gets_write_only_what_their_type_defines) {
    ASSERT_EQ(bag->SetDoubleProperty(1, 2.0), S_OK);
    for (std::uint32_t tag : {1u, 2u}) {
        const HRESULT expected = tag == 1 ? E_PROPERTY_TYPE_MISMATCH : E_PROPERTY_NOT_FOUND;
        std::int32_t integer = -12345;
        EXPECT_EQ(bag->GetIntegerProperty(tag, &integer), expected);
        EXPECT_EQ(integer, -12345);
        int flag = 7;
        EXPECT_EQ(bag->GetBooleanProperty(tag, &flag), expected);
        EXPECT_EQ(flag, 0);
        EXPECT_EQ(StringOf(tag, expected), u"<null>");
        kcSysAttrTimestamp local = {1, 2, 3, 4, 5, 6};
        EXPECT_EQ(bag->GetTimestampProperty(tag, &local), expected);
        EXPECT_TRUE(SameBytes(&local, &k_noTime, sizeof local));
    }
    kcSysAttributeType type = static_cast<kcSysAttributeType>(99);
    EXPECT_EQ(bag->GetPropertyType(2, &type), E_PROPERTY_NOT_FOUND);
    EXPECT_EQ(type, static_cast<kcSysAttributeType>(99));
}

TEST_F(DynamicPropertyBag, A_null_string_is_a_value_distinct_from_the_empty_string) {
    ASSERT_EQ(bag->SetStringProperty(1, nullptr), S_OK);
    ASSERT_EQ(bag->SetStringProperty(2, u""), S_OK);
    EXPECT_EQ(bag->HasProperty(1), S_OK);
    EXPECT_EQ(StringOf(1), u"<null>");
    EXPECT_EQ(StringOf(2), u"");
}

TEST_F(DynamicPropertyBag, A_string_that_cannot_be_copied_fails_and_leaves_the_bag_as_it_was) {
    ASSERT_EQ(bag->SetStringProperty(1, u"old"), S_OK);
    ASSERT_EQ(bag->SetStringProperty(3, nullptr), S_OK);
    ASSERT_EQ(bag->ClearChangedTags(), S_OK);
    for (std::uint32_t tag : {1u, 2u}) {
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        EXPECT_EQ(bag->SetStringProperty(tag, u"new"), E_OUTOFMEMORY);
        EXPECT_TRUE(failure.Failed());
    }
    EXPECT_EQ(StringOf(1), u"old");
    EXPECT_EQ(bag->HasProperty(2), S_FALSE);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
    AllocationFailure failure(AllocationFailure::k_malloc, 1);
    EXPECT_EQ(StringOf(3), u"<null>");
    EXPECT_EQ(StringOf(1, E_OUTOFMEMORY), u"<null>");
}

TEST_F(DynamicPropertyBag, Out_of_memory_while_storing_leaves_the_bag_as_it_was) {
    // The value object, the changed mark, then the map node: nothing is stored or marked.
    for (int nth : {1, 2, 3}) {
        AllocationFailure failure(AllocationFailure::k_operatorNew, nth);
        EXPECT_EQ(bag->SetIntegerProperty(8, 1), E_OUTOFMEMORY);
        EXPECT_TRUE(failure.Failed());
        EXPECT_EQ(bag->HasProperty(8), S_FALSE);
        EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
    }
    // An existing tag's only allocation is its mark: the old value stays.
    ASSERT_EQ(bag->SetIntegerProperty(8, 1), S_OK);
    ASSERT_EQ(bag->ClearChangedTags(), S_OK);
    {
        AllocationFailure failure(AllocationFailure::k_operatorNew, 1);
        EXPECT_EQ(bag->SetIntegerProperty(8, 2), E_OUTOFMEMORY);
    }
    EXPECT_EQ(IntegerOf(8), 1);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

TEST_F(DynamicPropertyBag, Null_pointers_and_local_timestamps_are_refused_without_a_change) {
    ASSERT_EQ(bag->SetIntegerProperty(1, 1), S_OK);
    ASSERT_EQ(bag->ClearChangedTags(), S_OK);
    EXPECT_EQ(bag->GetPropertyType(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->GetBooleanProperty(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->GetIntegerProperty(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->GetUnsignedIntegerProperty(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->GetDoubleProperty(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->GetGuidProperty(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->GetStringProperty(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->GetTimestampProperty(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->GetTimestampPropertyUTC(1, nullptr), E_POINTER);
    EXPECT_EQ(bag->SetTimestampPropertyUTC(2, nullptr), E_POINTER);
    const kcSysAttrTimestamp local = {2000, 1, 1, 0, 0, 0};
    EXPECT_EQ(bag->_SetTimestampProperty(3, &local), E_NOTIMPL);
    EXPECT_EQ(bag->HasProperty(2), S_FALSE);
    EXPECT_EQ(bag->HasProperty(3), S_FALSE);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

TEST_F(DynamicPropertyBag, Local_time_of_a_stored_utc_value) {
    TimeZone utc("UTC0");
    const kcSysAttrTimestampUTC zero{};
    const kcSysAttrTimestampUTC dayTwo = MakeTimestampUTC(0, 2082844800u + 86399u, 0x80000000u, 0);
    ASSERT_EQ(bag->SetTimestampPropertyUTC(1, &zero), S_OK);
    ASSERT_EQ(bag->SetTimestampPropertyUTC(2, &dayTwo), S_OK);
    kcSysAttrTimestamp local = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(bag->GetTimestampProperty(1, &local), S_OK);
    EXPECT_TRUE(SameBytes(&local, &k_noTime, sizeof local));
    EXPECT_EQ(bag->GetTimestampProperty(2, &local), S_OK);
    const kcSysAttrTimestamp expected = {1970, 1, 2, 0, 0, 0};
    EXPECT_TRUE(SameBytes(&local, &expected, sizeof local));
}

TEST_F(DynamicPropertyBag, Deleting_removes_the_property_and_its_changed_mark) {
    EXPECT_EQ(bag->DeleteAllProperties(), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(0, 1), S_OK);
    ASSERT_EQ(bag->SetStringProperty(0xFFFFFFFFu, u"last"), S_OK);
    EXPECT_EQ(bag->DeleteProperty(0), S_OK);
    EXPECT_EQ(bag->DeleteProperty(0), E_PROPERTY_NOT_FOUND);
    EXPECT_EQ(bag->HasProperty(0xFFFFFFFFu), S_OK);
    // A deleted tag takes any type again.
    EXPECT_EQ(bag->SetStringProperty(0, u"now a string"), S_OK);
    EXPECT_EQ(bag->DeleteAllProperties(), S_OK);
    EXPECT_EQ(bag->HasProperty(0xFFFFFFFFu), S_FALSE);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

} // namespace

TEST(AttributeTypes, The_visitor_gives_each_code_its_type_and_others_the_fallback) {
    for (std::int32_t code = 0; code <= 8; ++code) {
        const std::int32_t seen = qxzeva::VisitAttributeType(
            static_cast<kcSysAttributeType>(code),
            [](auto type) { return static_cast<std::int32_t>(decltype(type)::value); },
            [] { return -1; });
        EXPECT_EQ(seen, code >= 1 && code <= 7 ? code : -1) << code;
    }
}
