// The kernel stand-in as seen by one task: recursion, ownership, deletion, symbols.
#include <semLib.h>
#include <symLib.h>
#include <sysSymTbl.h>
#include <taskLib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

extern "C" __attribute__((visibility("default"))) int qxKernelTestExportedSymbol() {
    return 42;
}

TEST(KernelSemaphore, Holder_takes_again_and_gives_as_often) {
    SEM_ID semaphore = semMCreate(SEM_Q_PRIORITY | SEM_DELETE_SAFE | SEM_INVERSION_SAFE);
    ASSERT_NE(semaphore, nullptr);
    EXPECT_EQ(semTake(semaphore, WAIT_FOREVER), OK);
    EXPECT_EQ(semTake(semaphore, WAIT_FOREVER), OK);
    EXPECT_EQ(semGive(semaphore), OK);
    EXPECT_EQ(semGive(semaphore), OK);
    EXPECT_EQ(semGive(semaphore), ERROR) << "a free semaphore cannot be given";
    EXPECT_EQ(semDelete(semaphore), OK);
}

TEST(KernelSemaphore, Options_without_priority_queue_cannot_inherit) {
    EXPECT_EQ(semMCreate(SEM_INVERSION_SAFE), nullptr);
    EXPECT_EQ(semMCreate(0x100), nullptr);
    SEM_ID fifo = semMCreate(SEM_Q_FIFO);
    ASSERT_NE(fifo, nullptr);
    EXPECT_EQ(semDelete(fifo), OK);
}

TEST(KernelSemaphore, Deleting_a_held_semaphore_is_allowed) {
    SEM_ID semaphore = semMCreate(0x0D);
    ASSERT_NE(semaphore, nullptr);
    ASSERT_EQ(semTake(semaphore, WAIT_FOREVER), OK);
    ASSERT_EQ(semTake(semaphore, WAIT_FOREVER), OK);
    EXPECT_EQ(semDelete(semaphore), OK); // ASan reports a leak or misuse if this is unsound
}

// The free semaphore is taken without reading the clock; a take that has to wait with a
// limit still gives up once the limit has passed.
TEST(KernelSemaphore, A_limited_take_gives_up_on_a_semaphore_another_task_holds) {
    SEM_ID semaphore = semMCreate(0x0D);
    ASSERT_NE(semaphore, nullptr);
    std::promise<void> taken;
    std::promise<void> done;
    std::thread holder([&] {
        semTake(semaphore, WAIT_FOREVER);
        taken.set_value();
        done.get_future().wait();
        semGive(semaphore);
    });
    taken.get_future().wait();
    EXPECT_EQ(semTake(semaphore, NO_WAIT), ERROR);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(semTake(semaphore, 30), ERROR);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    done.set_value();
    holder.join();
    EXPECT_EQ(semTake(semaphore, 30), OK) << "given back: taken at once";
    EXPECT_EQ(semGive(semaphore), OK);
    EXPECT_EQ(semDelete(semaphore), OK);
}

TEST(KernelSemaphore, Null_ids_are_errors) {
    EXPECT_EQ(semTake(nullptr, WAIT_FOREVER), ERROR);
    EXPECT_EQ(semGive(nullptr), ERROR);
    EXPECT_EQ(semDelete(nullptr), ERROR);
}

TEST(KernelTask, Id_is_stable_and_not_zero) {
    const int id = taskIdSelf();
    EXPECT_NE(id, 0);
    EXPECT_EQ(taskIdSelf(), id);
}

TEST(KernelSymbols, Finds_exported_names_of_the_process_and_only_those) {
    char* value = nullptr;
    SYM_TYPE type = 0;
    ASSERT_EQ(symFindByName(sysSymTbl, "qxKernelTestExportedSymbol", &value, &type), OK);
    EXPECT_EQ(reinterpret_cast<int (*)()>(value)(), 42);
    value = reinterpret_cast<char*>(0x1);
    EXPECT_EQ(symFindByName(sysSymTbl, "qxNoSuchSymbolAnywhere", &value, &type), ERROR);
    EXPECT_EQ(value, reinterpret_cast<char*>(0x1)) << "nothing is written when not found";
    EXPECT_EQ(symFindByName(nullptr, "qxKernelTestExportedSymbol", &value, &type), ERROR);
}
