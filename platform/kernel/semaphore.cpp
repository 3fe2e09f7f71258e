// Mutual-exclusion semaphores on POSIX threads.
//
// A semaphore is a mutex and a condition variable guarding its own owner and depth. That
// gives the target's semantics directly: the holder may take it again, only the holder can
// give it, and deleting a held semaphore is well defined (waiters are woken with ERROR
// before the memory goes). qemu-user's priority-inheritance futexes break under contention
// on the big-endian guest, so the inner mutex inherits priority only natively.
#include "semLib.h"
#include "taskLib.h"

#include <cerrno>
#include <ctime>
#include <new>
#include <pthread.h>

struct qx_semaphore {
    pthread_mutex_t guard;
    pthread_cond_t released;
    int owner = 0; // task id of the holder, 0 when free
    int depth = 0;
    int waiters = 0;
    bool deleted = false;
};

namespace {

bool InitGuard(pthread_mutex_t* guard, bool inheritPriority) {
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0)
        return false;
#if !defined(__powerpc__)
    if (inheritPriority)
        pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT);
#else
    (void)inheritPriority;
#endif
    const int status = pthread_mutex_init(guard, &attributes);
    pthread_mutexattr_destroy(&attributes);
    return status == 0;
}

bool InitReleased(pthread_cond_t* cond) {
    pthread_condattr_t attributes;
    if (pthread_condattr_init(&attributes) != 0)
        return false;
    pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
    const int status = pthread_cond_init(cond, &attributes);
    pthread_condattr_destroy(&attributes);
    return status == 0;
}

timespec DeadlineAfter(int milliseconds) {
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

} // namespace

extern "C" SEM_ID semMCreate(int options) {
    const int known = SEM_Q_PRIORITY | SEM_DELETE_SAFE | SEM_INVERSION_SAFE;
    if ((options & ~known) != 0)
        return nullptr;
    // Priority inheritance only makes sense with a priority-ordered queue.
    if ((options & SEM_INVERSION_SAFE) != 0 && (options & SEM_Q_PRIORITY) == 0)
        return nullptr;
    auto* semaphore = new (std::nothrow) qx_semaphore;
    if (semaphore == nullptr)
        return nullptr;
    if (!InitGuard(&semaphore->guard, (options & SEM_INVERSION_SAFE) != 0)) {
        delete semaphore;
        return nullptr;
    }
    if (!InitReleased(&semaphore->released)) {
        pthread_mutex_destroy(&semaphore->guard);
        delete semaphore;
        return nullptr;
    }
    return semaphore;
}

extern "C" STATUS semTake(SEM_ID semaphore, int timeout) {
    if (semaphore == nullptr)
        return ERROR;
    const int self = taskIdSelf();
    pthread_mutex_lock(&semaphore->guard);
    STATUS status = OK;
    if (semaphore->deleted) {
        status = ERROR;
    } else if (semaphore->owner == self) {
        ++semaphore->depth;
    } else {
        // The clock is read only by a take that has to wait with a time limit: the free
        // semaphore, taken on every lock of the module, costs no clock reading.
        timespec deadline{};
        bool deadlineSet = false;
        ++semaphore->waiters;
        while (semaphore->owner != 0 && !semaphore->deleted) {
            if (timeout == NO_WAIT) {
                status = ERROR;
                break;
            }
            if (timeout == WAIT_FOREVER) {
                pthread_cond_wait(&semaphore->released, &semaphore->guard);
                continue;
            }
            if (!deadlineSet) {
                deadline = DeadlineAfter(timeout > 0 ? timeout : 0);
                deadlineSet = true;
            }
            if (pthread_cond_timedwait(&semaphore->released, &semaphore->guard, &deadline) ==
                    ETIMEDOUT &&
                semaphore->owner != 0) {
                status = ERROR;
                break;
            }
        }
        --semaphore->waiters;
        if (semaphore->deleted) {
            status = ERROR;
            // The deleting task waits for the last waiter to leave before freeing.
            if (semaphore->waiters == 0)
                pthread_cond_broadcast(&semaphore->released);
        } else if (status == OK) {
            semaphore->owner = self;
            semaphore->depth = 1;
        }
    }
    pthread_mutex_unlock(&semaphore->guard);
    return status;
}

extern "C" STATUS semGive(SEM_ID semaphore) {
    if (semaphore == nullptr)
        return ERROR;
    pthread_mutex_lock(&semaphore->guard);
    STATUS status = ERROR;
    if (!semaphore->deleted && semaphore->owner == taskIdSelf()) {
        status = OK;
        // Waiters count themselves under the guard before they wait, so with none
        // counted there is nobody to wake.
        if (--semaphore->depth == 0) {
            semaphore->owner = 0;
            if (semaphore->waiters > 0)
                pthread_cond_signal(&semaphore->released);
        }
    }
    pthread_mutex_unlock(&semaphore->guard);
    return status;
}

extern "C" STATUS semDelete(SEM_ID semaphore) {
    if (semaphore == nullptr)
        return ERROR;
    pthread_mutex_lock(&semaphore->guard);
    if (semaphore->deleted) {
        pthread_mutex_unlock(&semaphore->guard);
        return ERROR;
    }
    semaphore->deleted = true;
    pthread_cond_broadcast(&semaphore->released);
    while (semaphore->waiters > 0)
        pthread_cond_wait(&semaphore->released, &semaphore->guard);
    pthread_mutex_unlock(&semaphore->guard);
    pthread_cond_destroy(&semaphore->released);
    pthread_mutex_destroy(&semaphore->guard);
    delete semaphore;
    return OK;
}
