// The bag's change tracking: what marks and unmarks tags, and the changed-tag enumerators.
#include "alloc_failure.h"
#include "bag_test_helpers.h"
#include "com/enuminterfaces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

using Tags = std::vector<std::uint32_t>;
using Enumerate = HRESULT (IkcSysPropertyBag3::*)(IkcSysEnumPropertyTag**);

// Every tag the enumerator still has; releases it, which must destroy it.
Tags Drain(IkcSysEnumPropertyTag* tags) {
    Tags result;
    std::uint32_t tag = 0;
    std::uint32_t fetched = 0;
    while (tags->Next(1, &tag, &fetched) == S_OK)
        result.push_back(tag);
    EXPECT_EQ(tags->Release(), 0);
    return result;
}

class ChangeTracking : public BagTest {
protected:
    Tags Changed() { return Enumerated(&IkcSysPropertyBag3::EnumChangedTags); }
    Tags Properties() { return Enumerated(&IkcSysPropertyBag3::EnumProperties); }

    Tags Enumerated(Enumerate enumerate) {
        IkcSysEnumPropertyTag* tags = reinterpret_cast<IkcSysEnumPropertyTag*>(this);
        const HRESULT result = (bag->*enumerate)(&tags);
        if (result == S_FALSE) {
            EXPECT_EQ(tags, nullptr);
            return {};
        }
        EXPECT_EQ(result, S_OK);
        return result == S_OK ? Drain(tags) : Tags{99999};
    }

    IkcSysPropertyBag3* CloneOf(IkcSysPropertyBag3* source) {
        IkcSysPropertyBag* copy = reinterpret_cast<IkcSysPropertyBag*>(this);
        EXPECT_EQ(source->Clone(&copy), S_OK);
        return static_cast<IkcSysPropertyBag3*>(copy);
    }
};

TEST_F(ChangeTracking, Tags_come_in_ascending_unsigned_order) {
    for (std::uint32_t tag : {30u, 0x80000000u, 10u, 0x7FFFFFFFu, 20u})
        ASSERT_EQ(bag->SetIntegerProperty(tag, 1), S_OK);
    const Tags ascending = {10u, 20u, 30u, 0x7FFFFFFFu, 0x80000000u};
    EXPECT_EQ(Changed(), ascending);
    EXPECT_EQ(Properties(), ascending);
    ASSERT_EQ(bag->DeleteProperty(20), S_OK);
    EXPECT_EQ(Changed(), (Tags{10u, 30u, 0x7FFFFFFFu, 0x80000000u}));
}

TEST_F(ChangeTracking, Only_stores_mark_and_only_deletion_and_clearing_unmark) {
    EXPECT_EQ(Changed(), Tags{});
    EXPECT_EQ(Properties(), Tags{});
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
    ASSERT_EQ(bag->SetIntegerProperty(5, 1), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(6, 1), S_OK);
    ASSERT_EQ(bag->ClearChangedTags(), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(5, 1), S_OK);
    // A refused store, reads and enumeration leave the marks as they were.
    EXPECT_EQ(bag->SetStringProperty(5, u"x"), E_PROPERTY_TYPE_MISMATCH);
    EXPECT_EQ(bag->SetStringProperty(6, u"x"), E_PROPERTY_TYPE_MISMATCH);
    EXPECT_EQ(IntegerOf(6), 1);
    EXPECT_EQ(Properties(), (Tags{5, 6}));
    EXPECT_EQ(Changed(), Tags{5});
    EXPECT_EQ(bag->ClearChangedTags(), S_OK);
    EXPECT_EQ(bag->ClearChangedTags(), S_FALSE);
}

TEST_F(ChangeTracking, Enumerators_are_snapshots_that_later_changes_do_not_reach) {
    ASSERT_EQ(bag->SetIntegerProperty(1, 1), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(2, 2), S_OK);
    IkcSysEnumPropertyTag* properties = nullptr;
    IkcSysEnumPropertyTag* changed = nullptr;
    ASSERT_EQ(bag->EnumProperties(&properties), S_OK);
    ASSERT_EQ(bag->EnumChangedTags(&changed), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(3, 3), S_OK);
    ASSERT_EQ(bag->DeleteAllProperties(), S_OK);
    EXPECT_EQ(Drain(properties), (Tags{1, 2}));
    EXPECT_EQ(Drain(changed), (Tags{1, 2}));
}

TEST_F(ChangeTracking, Enumerating_out_of_memory_fails_at_every_step_and_frees_the_snapshot) {
    ASSERT_EQ(bag->SetIntegerProperty(1, 1), S_OK);
    for (Enumerate enumerate : {Enumerate{&IkcSysPropertyBag3::EnumChangedTags},
                                Enumerate{&IkcSysPropertyBag3::EnumProperties}}) {
        // The set, its node, the enumerator object.
        for (int nth = 1; nth <= 3; ++nth) {
            IkcSysEnumPropertyTag* tags = reinterpret_cast<IkcSysEnumPropertyTag*>(this);
            AllocationFailure failure(AllocationFailure::k_operatorNew, nth);
            EXPECT_EQ((bag->*enumerate)(&tags), E_OUTOFMEMORY) << "allocation " << nth;
            EXPECT_TRUE(failure.Failed());
            EXPECT_EQ(tags, nullptr);
        }
    }
}

TEST_F(ChangeTracking, A_clone_is_a_deep_copy_with_no_changed_tags) {
    const _GUID guid = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    const kcSysAttrTimestampUTC stamp = MakeTimestampUTC(0, 1, 2, 3);
    ASSERT_EQ(bag->SetBooleanProperty(1, 9), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(2, -2), S_OK);
    ASSERT_EQ(bag->SetUnsignedIntegerProperty(3, 3), S_OK);
    ASSERT_EQ(bag->SetDoubleProperty(4, 4.5), S_OK);
    ASSERT_EQ(bag->SetGuidProperty(5, guid), S_OK);
    ASSERT_EQ(bag->SetStringProperty(6, u"six"), S_OK);
    ASSERT_EQ(bag->SetStringProperty(7, nullptr), S_OK);
    ASSERT_EQ(bag->SetTimestampPropertyUTC(8, &stamp), S_OK);
    IkcSysPropertyBag3* copy = CloneOf(bag);
    ASSERT_NE(copy, nullptr);
    std::swap(bag, copy);
    EXPECT_EQ(Changed(), Tags{});
    EXPECT_EQ(Properties(), (Tags{1, 2, 3, 4, 5, 6, 7, 8}));
    int flag = 0;
    std::uint32_t unsignedValue = 0;
    double real = 0;
    _GUID guidRead{};
    kcSysAttrTimestampUTC stampRead{};
    EXPECT_EQ(bag->GetBooleanProperty(1, &flag), S_OK);
    EXPECT_EQ(IntegerOf(2), -2);
    EXPECT_EQ(bag->GetUnsignedIntegerProperty(3, &unsignedValue), S_OK);
    EXPECT_EQ(bag->GetDoubleProperty(4, &real), S_OK);
    EXPECT_EQ(bag->GetGuidProperty(5, &guidRead), S_OK);
    EXPECT_EQ(bag->GetTimestampPropertyUTC(8, &stampRead), S_OK);
    EXPECT_EQ(flag + unsignedValue + real, 8.5);
    EXPECT_EQ(guidRead, guid);
    EXPECT_EQ(0, std::memcmp(&stamp, &stampRead, sizeof stamp));
    EXPECT_EQ(StringOf(6), u"six");
    EXPECT_EQ(StringOf(7), u"<null>");
    // Changing the copy leaves the source's values and marks alone.
    ASSERT_EQ(bag->SetStringProperty(6, u"changed"), S_OK);
    std::swap(bag, copy);
    EXPECT_EQ(copy->Release(), 0);
    EXPECT_EQ(StringOf(6), u"six");
    EXPECT_EQ(Changed(), (Tags{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(ChangeTracking, Null_out_pointers_are_refused_and_an_empty_bag_clones_to_an_empty_bag) {
    EXPECT_EQ(bag->EnumProperties(nullptr), E_POINTER);
    EXPECT_EQ(bag->EnumChangedTags(nullptr), E_POINTER);
    EXPECT_EQ(bag->Clone(nullptr), E_POINTER);
    IkcSysPropertyBag3* copy = CloneOf(bag);
    ASSERT_NE(copy, nullptr);
    std::swap(bag, copy);
    EXPECT_EQ(Properties(), Tags{});
    std::swap(bag, copy);
    EXPECT_EQ(copy->Release(), 0);
}

TEST_F(ChangeTracking, A_clone_that_runs_out_of_memory_fails_and_leaves_nothing_behind) {
    ASSERT_EQ(bag->SetStringProperty(1, u"one"), S_OK);
    ASSERT_EQ(bag->SetIntegerProperty(2, 2), S_OK);
    // The copy's string: a clone never holds a null string where its source holds text.
    {
        IkcSysPropertyBag* copy = reinterpret_cast<IkcSysPropertyBag*>(this);
        AllocationFailure failure(AllocationFailure::k_malloc, 1);
        EXPECT_EQ(bag->Clone(&copy), E_OUTOFMEMORY);
        EXPECT_TRUE(failure.Failed());
        EXPECT_EQ(copy, nullptr);
    }
    // Every object allocation in turn, until the clone needs no more.
    for (int nth = 1;; ++nth) {
        IkcSysPropertyBag* copy = reinterpret_cast<IkcSysPropertyBag*>(this);
        AllocationFailure failure(AllocationFailure::k_operatorNew, nth);
        const HRESULT result = bag->Clone(&copy);
        if (!failure.Failed()) {
            EXPECT_EQ(result, S_OK);
            EXPECT_EQ(copy->Release(), 0);
            break;
        }
        // A kernel semaphore that cannot be made goes unnoticed; every other failure fails.
        if (result == S_OK) {
            EXPECT_EQ(copy->Release(), 0);
            continue;
        }
        EXPECT_EQ(result, E_OUTOFMEMORY) << "allocation " << nth;
        EXPECT_EQ(copy, nullptr);
    }
    EXPECT_EQ(Changed(), (Tags{1, 2}));
}

TEST_F(ChangeTracking, Batch_locks_nest_and_each_needs_its_release) {
    const CqxRecursiveMutex& lock = m_object->CriticalSectionForTesting().Mutex();
    EXPECT_EQ(bag->ReleaseBatchLock(), E_FAIL);
    ASSERT_EQ(bag->AcquireBatchLock(), S_OK);
    ASSERT_EQ(bag->AcquireBatchLock(), S_OK);
    EXPECT_EQ(m_object->BatchLockCountForTesting(), 2);
    EXPECT_EQ(lock.Depth(), 2);
    // The holder's own calls, a clone included, re-enter the lock.
    ASSERT_EQ(bag->SetIntegerProperty(1, 1), S_OK);
    IkcSysPropertyBag3* copy = CloneOf(bag);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Release(), 0);
    EXPECT_EQ(lock.Depth(), 2);
    EXPECT_EQ(bag->ReleaseBatchLock(), S_OK);
    EXPECT_EQ(bag->ReleaseBatchLock(), S_OK);
    EXPECT_EQ(bag->ReleaseBatchLock(), E_FAIL);
    EXPECT_EQ(lock.Depth(), 0);
    EXPECT_EQ(lock.OwnerTask(), 0);
}

TEST(DynamicPropertyBagLifetime, A_bag_destroyed_under_its_batch_lock_gives_the_lock_back) {
    IkcSysPropertyBag3* bag = MakeComObject<CkcDynamicPropertyBag>().detach();
    ASSERT_EQ(bag->SetStringProperty(1, u"kept"), S_OK);
    ASSERT_EQ(bag->AcquireBatchLock(), S_OK);
    ASSERT_EQ(bag->AcquireBatchLock(), S_OK);
    EXPECT_EQ(bag->Release(), 0);
}

} // namespace
