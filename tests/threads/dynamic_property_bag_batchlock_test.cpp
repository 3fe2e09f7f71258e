// The bag's batch lock held across calls while other tasks store and read.
#include "propertybag/dynamic_property_bag.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

class BatchLock : public ::testing::Test {
protected:
    void SetUp() override { bag = MakeComObject<CkcDynamicPropertyBag>().detach(); }
    void TearDown() override { EXPECT_EQ(bag->Release(), 0); }

    IkcSysPropertyBag3* bag = nullptr;
};

void WaitUntil(const std::atomic<bool>& flag) {
    while (!flag.load())
        std::this_thread::yield();
}

TEST_F(BatchLock, Another_tasks_call_completes_only_after_the_holders_last_release) {
    ASSERT_EQ(bag->AcquireBatchLock(), S_OK);
    ASSERT_EQ(bag->AcquireBatchLock(), S_OK);
    std::atomic<bool> started{false};
    std::atomic<bool> answered{false};
    std::atomic<bool> lastReleaseBegun{false};
    bool releasedBeforeAnswer = false;
    HRESULT answer = E_FAIL;
    std::thread other([&] {
        started = true;
        answer = bag->HasProperty(2);
        releasedBeforeAnswer = lastReleaseBegun.load();
        answered = true;
    });
    WaitUntil(started);
    // The holder goes on using the bag: its own calls re-enter the lock.
    EXPECT_EQ(bag->SetIntegerProperty(1, 1), S_OK);
    EXPECT_EQ(bag->ReleaseBatchLock(), S_OK);
    EXPECT_EQ(bag->SetIntegerProperty(2, 2), S_OK);
    EXPECT_FALSE(answered.load()) << "answered while one batch lock was still held";
    lastReleaseBegun = true;
    EXPECT_EQ(bag->ReleaseBatchLock(), S_OK);
    other.join();
    EXPECT_TRUE(releasedBeforeAnswer);
    // Stored before the release, so the waiting call saw it.
    EXPECT_EQ(answer, S_OK);
}

TEST_F(BatchLock, Only_the_holder_can_release_it) {
    ASSERT_EQ(bag->AcquireBatchLock(), S_OK);
    std::atomic<bool> started{false};
    std::atomic<bool> holderReleased{false};
    bool releasedBeforeAnswer = false;
    HRESULT answer = S_OK;
    std::thread other([&] {
        started = true;
        answer = bag->ReleaseBatchLock();
        releasedBeforeAnswer = holderReleased.load();
    });
    WaitUntil(started);
    holderReleased = true;
    EXPECT_EQ(bag->ReleaseBatchLock(), S_OK);
    other.join();
    // The other task waited for the lock, then found no batch lock left to release.
    EXPECT_TRUE(releasedBeforeAnswer);
    EXPECT_EQ(answer, E_FAIL);
}

TEST_F(BatchLock, Concurrent_stores_and_reads_lose_nothing) {
    constexpr std::uint32_t k_tasks = 4;
    constexpr std::uint32_t k_tagsPerTask = 200;
    std::vector<std::thread> tasks;
    for (std::uint32_t task = 0; task < k_tasks; ++task) {
        tasks.emplace_back([this, task] {
            for (std::uint32_t i = 0; i < k_tagsPerTask; ++i) {
                const std::uint32_t tag = task * k_tagsPerTask + i;
                EXPECT_EQ(bag->SetUnsignedIntegerProperty(tag, tag), S_OK);
                std::uint32_t value = 0;
                EXPECT_EQ(bag->GetUnsignedIntegerProperty(tag, &value), S_OK);
                EXPECT_EQ(value, tag);
                EXPECT_EQ(bag->SetStringProperty(0xFFFFFFFFu, u"shared"), S_OK);
            }
        });
    }
    for (std::thread& task : tasks)
        task.join();
    for (std::uint32_t tag = 0; tag < k_tasks * k_tagsPerTask; ++tag)
        EXPECT_EQ(bag->HasProperty(tag), S_OK);
}

} // namespace
