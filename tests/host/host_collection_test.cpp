// The host's own collection as the module sees it: what it answers and what it keeps.
#include "host/host_collection.h"

#include <gtest/gtest.h>

namespace {

// A bag that only counts; no other slot is called.
struct CountedBag {
    IkcSysPropertyBag3 face;
    std::int32_t count = 1;
};

std::int32_t CountUp(IkcSysPropertyBag3* self) {
    return ++reinterpret_cast<CountedBag*>(self)->count;
}
std::int32_t CountDown(IkcSysPropertyBag3* self) {
    return --reinterpret_cast<CountedBag*>(self)->count;
}
IkcSysPropertyBag3Vtbl CountingTable() {
    IkcSysPropertyBag3Vtbl table{};
    table.AddRef = CountUp;
    table.Release = CountDown;
    return table;
}

} // namespace

TEST(HostCollection, Answers_IUnknown_alone_and_refuses_a_null_identifier) {
    HostCollection collection;
    IkcSysPropertyBagCollection* face = collection.Interface();
    void* object = &collection;
    EXPECT_EQ(face->lpVtbl->QueryInterface(face, nullptr, &object), E_POINTER);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(face->lpVtbl->QueryInterface(face, &IID_IkcSysPropertyBag3, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(face->lpVtbl->QueryInterface(face, &IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, face);
    EXPECT_EQ(face->lpVtbl->Release(face), 1);
}

TEST(HostCollection, Keeps_one_reference_on_each_bag_until_it_goes) {
    const IkcSysPropertyBag3Vtbl table = CountingTable();
    CountedBag bag{{&table}, 1};
    {
        HostCollection collection;
        IkcSysPropertyBagCollection* face = collection.Interface();
        EXPECT_EQ(face->lpVtbl->AddPropertyBag(face, nullptr), E_POINTER);
        ASSERT_EQ(face->lpVtbl->AddPropertyBag(face, &bag.face), S_OK);
        EXPECT_EQ(bag.count, 2);
        ASSERT_EQ(collection.Bags().size(), 1u);
        EXPECT_EQ(collection.Bags()[0].get(), &bag.face);
    }
    EXPECT_EQ(bag.count, 1);
}
