// Eight tasks share two bags, an expert and a family of enumerators, and mix every bag
// operation with batch locks held across calls, clones, enumerations and reference-count
// churn. Each task owns a disjoint range of tags and keeps a serial model of it, so at any
// moment, and at the end, its range must read exactly as the model says; a few shared tags
// are written only in pairs under the batch lock, so no reader may ever see a pair torn.
// Afterwards every count is exact and every object the test made is destroyed exactly once.
#include "com/kcsysenum.h"
#include "expert/kcsyszeva.h"
#include "propertybag/dynamic_property_bag.h"
#include "stress_task.h"

#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int k_tasks = 8;

std::atomic<int> g_bagsDestroyed{0};

// A bag whose destruction the test can count.
class CountedBag : public CkcDynamicPropertyBag {
protected:
    ~CountedBag() override { ++g_bagsDestroyed; }
};
using CountedBagObject = CQXComObject<CountedBag>;

} // namespace

TEST(StressThreads, Eight_tasks_share_bags_enumerators_and_the_expert_without_losing_anything) {
    g_bagsDestroyed = 0;
    IkcSysPropertyBag3* bags[2] = {MakeComObject<CountedBag>().detach(),
                                   MakeComObject<CountedBag>().detach()};
    zevadriverReset();
    IkcSysExpert2* expert = MakeComObject<CkcSysZeva>().detach();
    ASSERT_EQ(expert->Initialize(), S_OK);
    IkcSysEnumStringList* sharedNames = nullptr;
    ASSERT_EQ(expert->SearchForItemNames(&sharedNames), S_OK);
    auto container = std::make_unique<PropertyTagSet>();
    for (std::uint32_t tag = 0; tag < 64; ++tag)
        container->insert(tag);
    IkcSysEnumPropertyTag* shared =
        MakeEnumerator<CkcSysEnumPropertyTags>(std::move(container)).detach();

    std::vector<std::unique_ptr<stress::Task>> tasks;
    for (int i = 0; i < k_tasks; ++i) {
        IkcSysEnumPropertyTag* own = nullptr;
        IkcSysEnumStringList* ownNames = nullptr;
        ASSERT_EQ(shared->Clone(&own), S_OK);
        ASSERT_EQ(sharedNames->Clone(&ownNames), S_OK);
        tasks.push_back(std::make_unique<stress::Task>(i, bags, expert, own, ownNames));
    }
    // The sources go first: the clones keep the containers alive.
    EXPECT_EQ(shared->Release(), k_tasks);
    EXPECT_EQ(sharedNames->Release(), k_tasks);

    std::vector<std::thread> threads;
    for (auto& task : tasks)
        threads.emplace_back([&task] { task->Run(); });
    for (std::thread& thread : threads)
        thread.join();

    long operations = 0;
    for (auto& task : tasks) {
        task->CheckFinal();
        EXPECT_EQ(task->ReleaseEnumerators(), 0);
        for (const std::string& error : task->m_errors)
            ADD_FAILURE() << error;
        operations += task->m_operations;
    }
    std::printf("thread stress: %d threads, %ld operations\n", k_tasks, operations);

    // Exact counts: one reference each is left, the test's own.
    EXPECT_EQ(expert->AddRef(), 2);
    EXPECT_EQ(expert->Release(), 1);
    EXPECT_EQ(expert->Release(), 0);
    for (IkcSysPropertyBag3* bag : bags) {
        EXPECT_EQ(bag->ReleaseBatchLock(), E_FAIL) << "no batch lock left behind";
        EXPECT_EQ(bag->Release(), 0);
    }
    EXPECT_EQ(g_bagsDestroyed.load(), 2);
    zevadriverReset();
}
