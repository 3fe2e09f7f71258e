// The counted pointer: every way a reference moves into and out of a holder, each checked
// against the object's exact count.
#include "com/comptr.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace {

// Counts as a component does and notes every time its count reaches 0, which would have
// destroyed a real one.
class Counted {
public:
    explicit Counted(std::int32_t count = 1) : m_count(count) {}
    std::int32_t AddRef() { return ++m_count; }
    std::int32_t Release() {
        if (--m_count == 0)
            ++m_destroyed;
        return m_count;
    }
    std::int32_t m_count;
    int m_destroyed = 0;
};

class Derived : public Counted {};

using Holder = CQXComPtr<Counted>;

// An operation that hands out a new reference through an out-parameter.
void HandOut(Counted* object, Counted** out) {
    object->AddRef();
    *out = object;
}

} // namespace

TEST(CQXComPtr, Construction_and_copy_each_take_a_reference_and_destruction_gives_it_back) {
    Counted object;
    {
        const Holder first(&object);
        const Holder copy(first);
        EXPECT_EQ(object.m_count, 3);
        EXPECT_EQ(copy.get(), &object);
        const Holder none;
        EXPECT_FALSE(Holder(none)) << "a copy of an empty holder counts nothing";
    }
    EXPECT_EQ(object.m_count, 1);
}

TEST(CQXComPtr, Move_hands_the_reference_over_without_counting) {
    Counted object;
    Derived derived;
    {
        Holder from(&object);
        Holder to(std::move(from));
        EXPECT_EQ(object.m_count, 2);
        EXPECT_EQ(from.get(), nullptr);
        Holder assigned;
        assigned = std::move(to);
        EXPECT_EQ(object.m_count, 2);
        EXPECT_EQ(to.get(), nullptr);
        EXPECT_EQ(assigned.get(), &object);
        // A holder of a derived class becomes one of its base.
        CQXComPtr<Derived> made(&derived);
        const Holder asBase(std::move(made));
        EXPECT_EQ(derived.m_count, 2);
        EXPECT_EQ(made.get(), nullptr);
        EXPECT_EQ(asBase.get(), &derived);
    }
    EXPECT_EQ(object.m_count, 1);
    EXPECT_EQ(derived.m_count, 1);
}

TEST(CQXComPtr, Assignment_takes_the_new_reference_first_so_self_assignment_is_safe) {
    Counted first;
    Counted second;
    Holder holder(&first);
    const Holder other(&second);
    holder = other;
    EXPECT_EQ(first.m_count, 1);
    EXPECT_EQ(second.m_count, 3);
    // The holder's reference the only one left: giving it back first would destroy.
    Counted only(0);
    Holder sole;
    sole.attach((only.AddRef(), &only));
    Holder& alias = sole;
    sole = alias;
    EXPECT_EQ(only.m_count, 1);
    sole = std::move(alias);
    EXPECT_EQ(only.m_count, 1);
    EXPECT_EQ(sole.get(), &only);
    EXPECT_EQ(only.m_destroyed, 0);
    sole.reset();
    EXPECT_EQ(only.m_destroyed, 1);
}

TEST(CQXComPtr, Attach_adopts_a_reference_and_gives_back_the_one_already_held) {
    Counted first;
    Counted second;
    Holder holder;
    holder.attach(&first); // the test's reference goes to the holder
    EXPECT_EQ(first.m_count, 1);
    holder.attach(&second);
    EXPECT_EQ(first.m_count, 0);
    EXPECT_EQ(first.m_destroyed, 1);
    EXPECT_EQ(second.m_count, 1);
    // Another reference to the object it holds: the holder keeps exactly one.
    second.AddRef();
    holder.attach(&second);
    EXPECT_EQ(second.m_count, 1);
    EXPECT_EQ(second.m_destroyed, 0);
    holder.attach(nullptr);
    EXPECT_EQ(second.m_destroyed, 1);
}

TEST(CQXComPtr, Detach_and_put_move_a_reference_out_and_in_without_counting) {
    Counted object;
    Holder holder(&object);
    Counted* out = holder.detach();
    EXPECT_EQ(out, &object);
    EXPECT_FALSE(holder);
    EXPECT_EQ(object.m_count, 2) << "the detached reference is the caller's";
    holder.attach(out);
    holder.reset();
    HandOut(&object, holder.put());
    EXPECT_EQ(holder.get(), &object);
    EXPECT_EQ(object.m_count, 2);
    holder.reset();
    EXPECT_EQ(object.m_count, 1);
}

TEST(CQXComPtr, Put_on_a_holder_that_still_holds_a_reference_stops_a_debug_build) {
    Counted object;
    Holder holder(&object);
    EXPECT_DEBUG_DEATH(HandOut(&object, holder.put()), "reset\\(\\) it first");
#ifdef NDEBUG
    // The reference held is given back, not overwritten and lost.
    EXPECT_EQ(object.m_count, 2);
    holder.reset();
    EXPECT_EQ(object.m_count, 1);
#else
    EXPECT_EQ(object.m_count, 2); // the child process died; this one is untouched
#endif
}
