// Mutual-exclusion semaphores on the kernel's futexes.
//
// The holder of a semaphore holds its lock word (futex_lock.h) for as long as it owns the
// semaphore, so a task that waits for an inversion-safe semaphore waits in the kernel on the
// very word the holder holds, and lends it its priority. The holder may take the semaphore
// again (a depth count kept beside the word); only the holder gives it. Taking and giving a
// free semaphore is one atomic instruction on the word and one on the count of users below,
// no system call.
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
#include "semLib.h"
#include "task_identity.h"

#include <atomic>
#include <new>

struct qx_semaphore {
    explicit qx_semaphore(bool inheritPriority) : lock(inheritPriority) {}

    FutexLock lock;
    // Task id of the holder, 0 when free. Relaxed everywhere: a task finds its own id here
    // only if it stored it itself (its own store is never hidden from it), so a comparison
    // with the caller's id is exact whatever other value a non-holder reads; everything
    // else the holder touches is ordered by the lock word.
    std::atomic<int> owner{0};
    int depth = 0; // touched by the holder only
    std::atomic<int> users{1};
    std::atomic<bool> deleted{false};
};

namespace {

void Leave(qx_semaphore* semaphore) {
    // Acquire-release: every other user's last access happens before the memory goes.
    if (semaphore->users.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete semaphore;
}

// Gives the word up and drops the holder's use; the semaphore may be gone afterwards.
void Release(qx_semaphore* semaphore, std::uint32_t threadId) {
    semaphore->depth = 0;
    semaphore->owner.store(0, std::memory_order_relaxed);
    semaphore->lock.Release(threadId);
    Leave(semaphore);
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
    const TaskIdentity& self = CurrentTask();
    if (semaphore->owner.load(std::memory_order_relaxed) == self.taskId) {
        ++semaphore->depth;
        return semaphore->deleted.load(std::memory_order_relaxed) ? ERROR : OK;
    }
    // Relaxed: a task that can reach the semaphore keeps it alive already.
    semaphore->users.fetch_add(1, std::memory_order_relaxed);
    const bool taken = semaphore->lock.TryAcquire(self.threadId) ||
                       (timeout != NO_WAIT && timeout >= WAIT_FOREVER &&
                        semaphore->lock.Acquire(self.threadId, timeout));
    if (!taken) {
        Leave(semaphore);
        return ERROR;
    }
    semaphore->owner.store(self.taskId, std::memory_order_relaxed);
    semaphore->depth = 1;
    // Acquire: a deleting holder marked the semaphore before it gave the word up.
    if (semaphore->deleted.load(std::memory_order_acquire)) {
        Release(semaphore, self.threadId);
        return ERROR;
    }
    return OK;
}

extern "C" STATUS semGive(SEM_ID semaphore) {
    if (semaphore == nullptr)
        return ERROR;
    const TaskIdentity& self = CurrentTask();
    if (semaphore->owner.load(std::memory_order_relaxed) != self.taskId)
        return ERROR;
    const STATUS status = semaphore->deleted.load(std::memory_order_relaxed) ? ERROR : OK;
    if (--semaphore->depth == 0)
        Release(semaphore, self.threadId);
    return status;
}

extern "C" STATUS semDelete(SEM_ID semaphore) {
    if (semaphore == nullptr)
        return ERROR;
    if (semaphore->deleted.exchange(true, std::memory_order_acq_rel))
        return ERROR;
    const TaskIdentity& self = CurrentTask();
    if (semaphore->owner.load(std::memory_order_relaxed) == self.taskId)
        Release(semaphore, self.threadId);
    Leave(semaphore);
    return OK;
}
