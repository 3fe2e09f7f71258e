// The kernel stand-in as seen by one task: recursion, ownership, deletion, symbols.
#include <semLib.h>
#include <symLib.h>
#include <sysSymTbl.h>
#include <taskLib.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <future>
#include <pthread.h>
#include <sched.h>
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

namespace {

// Starts the task at a real-time priority on the one given processor; pthread_create's error.
int StartRealTimeTask(pthread_t* thread, int cpu, int priority, std::function<void()>* body) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setinheritsched(&attributes, PTHREAD_EXPLICIT_SCHED);
    pthread_attr_setschedpolicy(&attributes, SCHED_FIFO);
    sched_param parameters{};
    parameters.sched_priority = priority;
    pthread_attr_setschedparam(&attributes, &parameters);
    cpu_set_t cpus;
    CPU_ZERO(&cpus);
    CPU_SET(cpu, &cpus);
    pthread_attr_setaffinity_np(&attributes, sizeof cpus, &cpus);
    const int error = pthread_create(
        thread, &attributes,
        [](void* task) -> void* {
            (*static_cast<std::function<void()>*>(task))();
            return nullptr;
        },
        body);
    pthread_attr_destroy(&attributes);
    return error;
}

} // namespace

// On one processor a low task holds the semaphore, a high one waits for it and a middle one
// spins. Only if the waiting high task lends the low one its priority does the low one run
// before the spinner stops, and give. Every real-time task here ends by itself within about
// two seconds: the spinner stops when the high task has the semaphore or at the deadline.
TEST(KernelSemaphore, Waiting_high_task_raises_the_holder_above_a_spinning_middle_one) {
#if defined(__powerpc__)
    GTEST_SKIP() << "inversion-safe semaphores inherit priority natively only";
#endif
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    int cpu = 0;
    while (!CPU_ISSET(cpu, &allowed))
        ++cpu;
    SEM_ID semaphore = semMCreate(SEM_Q_PRIORITY | SEM_DELETE_SAFE | SEM_INVERSION_SAFE);
    ASSERT_NE(semaphore, nullptr);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(2);
    std::atomic<bool> highHasIt{false};
    STATUS highTake = ERROR;
    Clock::duration highWaited{};
    pthread_t low{}, middle{}, high{};
    int middleStarted = -1, highStarted = -1;
    std::function<void()> spin = [&] {
        while (!highHasIt.load() && Clock::now() < deadline) {
        }
    };
    std::function<void()> wait = [&] {
        middleStarted = StartRealTimeTask(&middle, cpu, 20, &spin);
        const Clock::time_point start = Clock::now();
        highTake = semTake(semaphore, 2000);
        highWaited = Clock::now() - start;
        highHasIt = true;
        if (highTake == OK)
            semGive(semaphore);
    };
    // The high task preempts the low one as it starts, starts the spinner and waits.
    std::function<void()> hold = [&] {
        semTake(semaphore, WAIT_FOREVER);
        highStarted = StartRealTimeTask(&high, cpu, 30, &wait);
        semGive(semaphore);
    };
    const int lowStarted = StartRealTimeTask(&low, cpu, 10, &hold);
    if (lowStarted == EPERM) {
        semDelete(semaphore);
        GTEST_SKIP() << "this machine refuses real-time priorities (SCHED_FIFO: EPERM)";
    }
    ASSERT_EQ(lowStarted, 0);
    pthread_join(low, nullptr);
    if (highStarted == 0)
        pthread_join(high, nullptr);
    if (middleStarted == 0)
        pthread_join(middle, nullptr);
    EXPECT_EQ(semDelete(semaphore), OK);
    ASSERT_EQ(highStarted, 0);
    ASSERT_EQ(middleStarted, 0);
    EXPECT_EQ(highTake, OK);
    EXPECT_LT(highWaited, std::chrono::milliseconds(200))
        << "the low task ran only after the spinner stopped";
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
