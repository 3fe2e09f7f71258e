#include "alloc_failure.h"
#include "bag_test_helpers.h"
#include "com/iids.h"
#include "time_zone.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr _GUID k_someGuid = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};

void ExpectAllMinusOne(const kcSysAttrTimestamp& t) {
    const kcSysAttrTimestamp none = {-1, -1, -1, -1, -1, -1};
    EXPECT_EQ(0, std::memcmp(&t, &none, sizeof t));
}

using DynamicPropertyBag = BagTest;

TEST_F(DynamicPropertyBag, Answers_its_three_interfaces_and_IUnknown_with_one_pointer) {
    for (const _GUID* iid :
         {&IID_IkcSysPropertyBag, &IID_IkcSysPropertyBag2, &IID_IkcSysPropertyBag3}) {
        void* answered = nullptr;
        ASSERT_EQ(bag->QueryInterface(*iid, &answered), S_OK);
        EXPECT_EQ(answered, static_cast<void*>(bag));
        EXPECT_EQ(bag->Release(), 1);
    }
    void* other = &other;
    EXPECT_EQ(bag->QueryInterface(IID_IkcSysEnumPropertyTag, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(bag->AddRef(), 2);
    EXPECT_EQ(bag->Release(), 1);
}

TEST_F(DynamicPropertyBag, Every_type_reads_back_as_stored_with_its_type_code) {
    const kcSysAttrTimestampUTC stamp = MakeTimestampUTC(0, 2082844800u, 0x80000000u, 7);
    ASSERT_EQ(bag->SetBooleanProperty(0, 5), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(1, -2), S_OK);
    ASSERT_EQ(bag->SetUnsignedIntegerProperty(2, 0xFFFFFFFFu), S_OK);
    ASSERT_EQ(bag->SetDoubleProperty(3, -0.125), S_OK);
    ASSERT_EQ(bag->SetGuidProperty(4, k_someGuid), S_OK);
    ASSERT_EQ(bag->SetStringProperty(5, u"text"), S_OK);
    ASSERT_EQ(bag->SetTimestampPropertyUTC(0xFFFFFFFFu, &stamp), S_OK);

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
    EXPECT_EQ(bag->GetTimestampPropertyUTC(0xFFFFFFFFu, &stampRead), S_OK);
    EXPECT_EQ(0, std::memcmp(&stamp, &stampRead, sizeof stamp));

    const kcSysAttributeType expected[] = {
        kcSysAttrTypeBoolean, kcSysAttrTypeInteger, kcSysAttrTypeUnsignedInteger,
        kcSysAttrTypeDouble,  kcSysAttrTypeGuid,    kcSysAttrTypeString};
    for (std::uint32_t tag = 0; tag < 6; ++tag) {
        kcSysAttributeType type{};
        EXPECT_EQ(bag->GetPropertyType(tag, &type), S_OK);
        EXPECT_EQ(type, expected[tag]) << "tag " << tag;
    }
    ASSERT_EQ(bag->SetBooleanProperty(0, 0), S_OK);
    EXPECT_EQ(bag->GetBooleanProperty(0, &flag), S_OK);
    EXPECT_EQ(flag, 0);
}

TEST_F(DynamicPropertyBag, A_set_of_another_type_is_refused_and_changes_nothing) {
    ASSERT_EQ(bag->SetIntegerProperty(5, 42), S_OK);
    ASSERT_EQ(bag->ClearChangedTags(), S_OK);
    EXPECT_EQ(bag->SetStringProperty(5, u"text"), E_PROPERTY_TYPE_MISMATCH);
    EXPECT_EQ(bag->SetUnsignedIntegerProperty(5, 42), E_PROPERTY_TYPE_MISMATCH);
    EXPECT_EQ(IntegerOf(5), 42);
    kcSysAttributeType type{};
    EXPECT_EQ(bag->GetPropertyType(5, &type), S_OK);
    EXPECT_EQ(type, kcSysAttrTypeInteger);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

TEST_F(DynamicPropertyBag, Storing_an_equal_value_still_marks_the_tag_changed) {
    ASSERT_EQ(bag->SetDoubleProperty(9, 1.0), S_OK);
    EXPECT_EQ(bag->ClearChangedTags(), S_OK);
    ASSERT_EQ(bag->SetDoubleProperty(9, 1.0), S_OK);
    EXPECT_EQ(bag->ClearChangedTags(), S_OK);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

TEST_F(DynamicPropertyBag, Failed_gets_write_only_what_their_type_defines) {
    ASSERT_EQ(bag->SetDoubleProperty(1, 2.0), S_OK);
    for (std::uint32_t tag : {1u, 2u}) {
        const HRESULT expected = tag == 1 ? E_PROPERTY_TYPE_MISMATCH : E_PROPERTY_NOT_FOUND;
        std::int32_t integer = -12345;
        EXPECT_EQ(bag->GetIntegerProperty(tag, &integer), expected);
        EXPECT_EQ(integer, -12345);
        _GUID guid = k_someGuid;
        EXPECT_EQ(bag->GetGuidProperty(tag, &guid), expected);
        EXPECT_EQ(guid, k_someGuid);
        int flag = 7;
        EXPECT_EQ(bag->GetBooleanProperty(tag, &flag), expected);
        EXPECT_EQ(flag, 0);
        EXPECT_EQ(StringOf(tag, expected), u"<null>");
        kcSysAttrTimestamp local = {1, 2, 3, 4, 5, 6};
        EXPECT_EQ(bag->GetTimestampProperty(tag, &local), expected);
        ExpectAllMinusOne(local);
    }
    kcSysAttributeType type = static_cast<kcSysAttributeType>(99);
    EXPECT_EQ(bag->GetPropertyType(2, &type), E_PROPERTY_NOT_FOUND);
    EXPECT_EQ(type, static_cast<kcSysAttributeType>(99));
}

TEST_F(DynamicPropertyBag, A_null_string_is_a_value_distinct_from_the_empty_string) {
    ASSERT_EQ(bag->SetStringProperty(1, nullptr), S_OK);
    ASSERT_EQ(bag->SetStringProperty(2, u""), S_OK);
    EXPECT_EQ(StringOf(1), u"<null>");
    EXPECT_EQ(StringOf(2), u"");
    EXPECT_EQ(bag->HasProperty(1), S_OK);
    // Each read is a fresh block for the receiver.
    char16_t* first = nullptr;
    char16_t* second = nullptr;
    ASSERT_EQ(bag->GetStringProperty(2, &first), S_OK);
    ASSERT_EQ(bag->GetStringProperty(2, &second), S_OK);
    EXPECT_NE(first, second);
    FreeWideString(first);
    FreeWideString(second);
}

TEST_F(DynamicPropertyBag, A_string_that_cannot_be_copied_fails_and_leaves_the_bag_as_it_was) {
    ASSERT_EQ(bag->SetStringProperty(1, u"old"), S_OK);
    ASSERT_EQ(bag->ClearChangedTags(), S_OK);
    for (std::uint32_t tag : {1u, 2u}) {
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        EXPECT_EQ(bag->SetStringProperty(tag, u"new"), E_OUTOFMEMORY);
        EXPECT_TRUE(failure.Failed());
    }
    EXPECT_EQ(StringOf(1), u"old");
    EXPECT_EQ(bag->HasProperty(2), S_FALSE);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
    {
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        EXPECT_EQ(StringOf(1, E_OUTOFMEMORY), u"<null>");
    }
    ASSERT_EQ(bag->SetStringProperty(3, nullptr), S_OK);
    AllocationFailure failure(AllocationFailure::k_malloc, 1);
    EXPECT_EQ(StringOf(3), u"<null>");
    EXPECT_FALSE(failure.Failed());
}

TEST_F(DynamicPropertyBag, Out_of_memory_while_storing_keeps_the_bag_consistent) {
    // The value object, then the map node: nothing is stored.
    for (int nth : {1, 2}) {
        AllocationFailure failure(AllocationFailure::k_operatorNew, nth);
        EXPECT_EQ(bag->SetIntegerProperty(8, 1), E_OUTOFMEMORY);
        EXPECT_TRUE(failure.Failed());
        EXPECT_EQ(bag->HasProperty(8), S_FALSE);
    }
    // The changed mark: the value stays, unmarked.
    {
        AllocationFailure failure(AllocationFailure::k_operatorNew, 3);
        EXPECT_EQ(bag->SetIntegerProperty(8, 1), E_OUTOFMEMORY);
        EXPECT_TRUE(failure.Failed());
    }
    EXPECT_EQ(IntegerOf(8), 1);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

TEST_F(DynamicPropertyBag, Null_pointers_are_refused_without_touching_the_bag) {
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
    EXPECT_EQ(bag->HasProperty(2), S_FALSE);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

TEST_F(DynamicPropertyBag, Local_timestamps_cannot_be_stored) {
    const kcSysAttrTimestamp local = {2000, 1, 1, 0, 0, 0};
    EXPECT_EQ(bag->_SetTimestampProperty(3, &local), E_NOTIMPL);
    EXPECT_EQ(bag->HasProperty(3), S_FALSE);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

TEST_F(DynamicPropertyBag, Local_time_of_a_stored_utc_value) {
    TimeZone utc("UTC0");
    const kcSysAttrTimestampUTC zero{};
    const kcSysAttrTimestampUTC epoch = MakeTimestampUTC(0, 2082844800u + 86399u, 0x80000000u, 0);
    ASSERT_EQ(bag->SetTimestampPropertyUTC(1, &zero), S_OK);
    ASSERT_EQ(bag->SetTimestampPropertyUTC(2, &epoch), S_OK);
    kcSysAttrTimestampUTC back = MakeTimestampUTC(1, 1, 1, 1);
    EXPECT_EQ(bag->GetTimestampPropertyUTC(1, &back), S_OK);
    EXPECT_EQ(0, std::memcmp(&zero, &back, sizeof back));
    kcSysAttrTimestamp local = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(bag->GetTimestampProperty(1, &local), S_OK);
    ExpectAllMinusOne(local);
    EXPECT_EQ(bag->GetTimestampProperty(2, &local), S_OK);
    const kcSysAttrTimestamp expected = {1970, 1, 2, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(&local, &expected, sizeof local));
}

TEST_F(DynamicPropertyBag, Deleting_removes_the_property_and_its_changed_mark) {
    EXPECT_EQ(bag->DeleteAllProperties(), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(0, 1), S_OK);
    ASSERT_EQ(bag->SetStringProperty(0xFFFFFFFFu, u"last"), S_OK);
    EXPECT_EQ(bag->DeleteProperty(0), S_OK);
    EXPECT_EQ(bag->DeleteProperty(0), E_PROPERTY_NOT_FOUND);
    EXPECT_EQ(bag->HasProperty(0), S_FALSE);
    EXPECT_EQ(bag->HasProperty(0xFFFFFFFFu), S_OK);
    EXPECT_EQ(bag->DeleteAllProperties(), S_OK);
    EXPECT_EQ(bag->HasProperty(0xFFFFFFFFu), S_FALSE);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
    // A deleted tag takes any type again.
    EXPECT_EQ(bag->SetStringProperty(0, u"now a string"), S_OK);
    EXPECT_EQ(bag->DeleteProperty(0), S_OK);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

} // namespace
