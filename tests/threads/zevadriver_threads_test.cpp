// The simulated image driver used from several threads at once: whole answers, a complete
// log, and experts discovering side by side.
#include "expert/kcsyszeva.h"
#include "simulated_driver.h"

#include <imagedriver.h>
#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int k_readers = 4;
constexpr int k_reads = 200;

template <class Body>
void RunThreads(int count, Body body) {
    std::vector<std::thread> threads;
    for (int index = 0; index < count; ++index)
        threads.emplace_back(body, index);
    for (std::thread& thread : threads)
        thread.join();
}

class SimulatedDriverThreads : public ::testing::Test {
protected:
    void SetUp() override { zevadriverReset(); }
    void TearDown() override { zevadriverReset(); }
};

} // namespace

TEST_F(SimulatedDriverThreads, Readers_see_whole_names_while_the_active_file_switches) {
    zevadriverClearBoards();
    AddBoard(TestBoard().Serial(1).Active("first.zid"));
    RunThreads(k_readers + 1, [](int index) {
        for (int round = 0; round < k_reads; ++round) {
            if (index == k_readers) {
                zevadriverSetActiveFile(1, round % 2 == 0 ? "second-file.zid" : "first.zid");
                continue;
            }
            char name[QXZEVAU_INTERFACE_FILE_BUFFER] = {};
            EXPECT_EQ(qxzevauGetActiveInterfaceFile(1, name), 0);
            EXPECT_TRUE(std::strcmp(name, "first.zid") == 0 ||
                        std::strcmp(name, "second-file.zid") == 0)
                << name;
        }
    });
    std::size_t count = 0;
    EXPECT_EQ(zevadriverReadLog(nullptr, 0, &count), 0);
    EXPECT_EQ(count, static_cast<size_t>(k_readers * k_reads));
}

TEST_F(SimulatedDriverThreads, Experts_discovering_at_once_each_find_every_interface) {
    zevadriverClearLog();
    std::vector<std::size_t> found(k_readers, 0);
    RunThreads(k_readers, [&found](int index) {
        CQXComObject<CkcSysZeva>* expert = MakeComObject<CkcSysZeva>().detach();
        EXPECT_EQ(expert->Initialize(), S_OK);
        found[index] = expert->InterfacesForTesting().size();
        expert->Release();
    });
    // The built-in boards: four, one of them claimed by the first expert to get there.
    EXPECT_EQ(found, std::vector<std::size_t>(k_readers, 4));
}
