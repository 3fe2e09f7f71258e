// Mutual-exclusion semaphores on the kernel's futexes.
//
// The holder of a semaphore holds its lock word (futex_lock.h), which carries its thread id,
// for as long as it owns the semaphore, so a task that waits for an inversion-safe semaphore waits
// in the kernel on the very word the holder holds, and lends it its priority. The holder may take
// the semaphore again (a depth count kept beside the word); only the holder gives it. Taking and
// giving a free semaphore is one atomic instruction on the word and one on the count of users
// below, no system call.
//
// Deletion. A semaphore counts its users: one for being alive, one for each task inside
// semTake (waiting or not) and one for its holder. semDelete marks it deleted and drops the
// first; the memory goes with the last, so no task is ever inside a call on freed memory.
// - Deleting a free semaphore frees it at once.
// - Deleting a semaphore the deleting task holds gives it up whatever its depth: the tasks
//   waiting for it then take the word one after the other, see the mark, give the word on
//   and return ERROR; the last of them frees it.
// - Deleting a semaphore another task holds leaves it to its holder, whose takes and gives
//   go on counting (and report ERROR) until its last give; the tasks waiting for it then
//   leave with ERROR as above. A holder that never gives keeps the semaphore, as it would
//   keep the tasks waiting for it.
// Calls that start after semDelete has returned use a dead id, as on the target.
#include "futex_lock.h"
// The library's API, as its header declares it, is what it exports: the library is built
// with hidden visibility, and its version script names the same functions.
#pragma GCC visibility push(default)
#include "semLib.h"
#pragma GCC visibility pop
#include "task_identity.h"

#include <atomic>
#include <new>

struct qx_semaphore {
    explicit qx_semaphore(bool inheritPriority) : lock(inheritPriority) {}

    FutexLock lock; // its word names the holder
    int depth = 0;  // touched by the holder only
    std::atomic<int> users{1};
    std::atomic<bool> deleted{false};
};

// The free paths of semTake and semGive below make no call but tail calls into the functions
// kept out of line here, so that they need no frame of their own.
namespace {

[[gnu::noinline]] STATUS Free(qx_semaphore* semaphore, STATUS status) {
    delete semaphore;
    return status;
}

STATUS Leave(qx_semaphore* semaphore, STATUS status) {
    // Acquire-release: every other user's last access happens before the memory goes.
    if (semaphore->users.fetch_sub(1, std::memory_order_acq_rel) == 1)
        return Free(semaphore, status);
    return status;
}

[[gnu::noinline]] STATUS GiveToWaiter(qx_semaphore* semaphore, STATUS status) {
    semaphore->lock.ReleaseToWaiter();
    return Leave(semaphore, status);
}

// Gives the word up whatever the depth and drops the holder's use; the semaphore may be gone.
STATUS GiveUp(qx_semaphore* semaphore, std::uint32_t thread, STATUS status) {
    semaphore->depth = 0;
    if (!semaphore->lock.TryRelease(thread))
        return GiveToWaiter(semaphore, status);
    return Leave(semaphore, status);
}

[[gnu::noinline]] STATUS GiveUpDeleted(qx_semaphore* semaphore, std::uint32_t thread) {
    return GiveUp(semaphore, thread, ERROR);
}

STATUS Taken(qx_semaphore* semaphore, std::uint32_t thread) {
    semaphore->depth = 1;
    // Acquire: a deleting holder marked the semaphore before it gave the word up.
    if (semaphore->deleted.load(std::memory_order_acquire))
        return GiveUpDeleted(semaphore, thread);
    return OK;
}

[[gnu::noinline]] STATUS TakeHeld(qx_semaphore* semaphore, std::uint32_t thread, int timeout) {
    if (semaphore->lock.HeldBy(thread)) {
        semaphore->users.fetch_sub(1, std::memory_order_relaxed); // the holder's use stays
        ++semaphore->depth;
        return semaphore->deleted.load(std::memory_order_relaxed) ? ERROR : OK;
    }
    if (timeout == NO_WAIT || timeout < WAIT_FOREVER || !semaphore->lock.Acquire(thread, timeout))
        return Leave(semaphore, ERROR);
    return Taken(semaphore, thread);
}

[[gnu::noinline]] STATUS TakeAsNewTask(qx_semaphore* semaphore, int timeout) {
    AssignTaskIdentity();
    return semTake(semaphore, timeout);
}

} // namespace

extern "C" SEM_ID semMCreate(int options) {
    const int known = SEM_Q_PRIORITY | SEM_DELETE_SAFE | SEM_INVERSION_SAFE;
    if ((options & ~known) != 0)
        return nullptr;
    // Priority inheritance only makes sense with a priority-ordered queue.
    if ((options & SEM_INVERSION_SAFE) != 0 && (options & SEM_Q_PRIORITY) == 0)
        return nullptr;
    return new (std::nothrow) qx_semaphore((options & SEM_INVERSION_SAFE) != 0);
}

extern "C" STATUS semTake(SEM_ID semaphore, int timeout) {
    if (semaphore == nullptr)
        return ERROR;
    const std::uint32_t thread = t_taskIdentity.threadId;
    if (__builtin_expect(thread == 0, 0))
        return TakeAsNewTask(semaphore, timeout);
    // Relaxed: a task that can reach the semaphore keeps it alive already.
    semaphore->users.fetch_add(1, std::memory_order_relaxed);
    if (__builtin_expect(!semaphore->lock.TryAcquire(thread), 0))
        return TakeHeld(semaphore, thread, timeout);
    return Taken(semaphore, thread);
}

extern "C" STATUS semGive(SEM_ID semaphore) {
    if (semaphore == nullptr)
        return ERROR;
    // A task without a thread id yet has never taken anything.
    const std::uint32_t thread = t_taskIdentity.threadId;
    if (thread == 0 || !semaphore->lock.HeldBy(thread))
        return ERROR;
    const STATUS status = semaphore->deleted.load(std::memory_order_relaxed) ? ERROR : OK;
    if (--semaphore->depth != 0)
        return status;
    return GiveUp(semaphore, thread, status);
}

extern "C" STATUS semDelete(SEM_ID semaphore) {
    if (semaphore == nullptr)
        return ERROR;
    if (semaphore->deleted.exchange(true, std::memory_order_acq_rel))
        return ERROR;
    const std::uint32_t thread = CurrentTask().threadId;
    if (semaphore->lock.HeldBy(thread))
        GiveUp(semaphore, thread, OK);
    // GiveUp dropped the holder's use alone; the creator's keeps the semaphore until here.
    return Leave(semaphore, OK); // NOLINT(clang-analyzer-cplusplus.NewDelete)
}
