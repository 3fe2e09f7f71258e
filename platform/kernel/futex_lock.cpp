#include "futex_lock.h"

#include <cerrno>
#include <ctime>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace {

// The futex calls take the C library's timespec; a library built with a wider time than the
// kernel's call would pass a record of the wrong shape.
static_assert(sizeof(time_t) == sizeof(long), "futex time-outs need the call's own timespec");

constexpr std::uint32_t k_waiters = FUTEX_WAITERS;

long Futex(std::atomic<std::uint32_t>* word, int operation, std::uint32_t value,
           const timespec* timeout, std::uint32_t bitset) {
    return syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(word), operation, value, timeout,
                   nullptr, bitset);
}

timespec DeadlineOn(clockid_t clock, int milliseconds) {
    timespec deadline{};
    clock_gettime(clock, &deadline);
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    return deadline;
}

} // namespace

FutexLock::FutexLock(bool inheritPriority)
#if defined(__powerpc__)
    : m_inheritPriority(false) {
    (void)inheritPriority;
}
#else
    : m_inheritPriority(inheritPriority) {
}
#endif

bool FutexLock::Acquire(std::uint32_t threadId, int milliseconds) {
    return m_inheritPriority ? AcquireInheriting(milliseconds)
                             : AcquirePlain(threadId, milliseconds);
}

// The kernel writes the holder's id into the word and keeps the queue by priority, raising
// the holder to the highest waiter's priority while it holds the word.
bool FutexLock::AcquireInheriting(int milliseconds) {
    // This call measures its limit on the realtime clock.
    const timespec deadline = DeadlineOn(CLOCK_REALTIME, milliseconds < 0 ? 0 : milliseconds);
    for (;;) {
        if (Futex(&m_word, FUTEX_LOCK_PI_PRIVATE, 0, milliseconds < 0 ? nullptr : &deadline, 0) ==
            0) {
#if defined(__SANITIZE_THREAD__)
            // The kernel handed the word over: the previous holder released it in ReleaseToWaiter.
            __tsan_acquire(&m_word);
#endif
            return true;
        }
        if (errno != EINTR && errno != EAGAIN)
            return false; // ETIMEDOUT, or a holder that ended without giving the word back
    }
}

// The word of a held lock that a task may wait on carries k_waiters, so that its holder's
// release wakes one. A task that takes the word from a wake keeps the flag: others may wait.
bool FutexLock::AcquirePlain(std::uint32_t threadId, int milliseconds) {
    const timespec deadline = DeadlineOn(CLOCK_MONOTONIC, milliseconds < 0 ? 0 : milliseconds);
    for (;;) {
        std::uint32_t word = m_word.load(std::memory_order_relaxed);
        if (word == 0) {
            if (m_word.compare_exchange_weak(word, threadId | k_waiters, std::memory_order_acquire,
                                             std::memory_order_relaxed))
                return true;
            continue;
        }
        if ((word & k_waiters) == 0 &&
            !m_word.compare_exchange_weak(word, word | k_waiters, std::memory_order_relaxed,
                                          std::memory_order_relaxed))
            continue;
        // Waits on a monotonic deadline; returns at once if the word changed meanwhile.
        if (Futex(&m_word, FUTEX_WAIT_BITSET_PRIVATE, word | k_waiters,
                  milliseconds < 0 ? nullptr : &deadline, FUTEX_BITSET_MATCH_ANY) != 0 &&
            errno == ETIMEDOUT)
            return false;
    }
}

void FutexLock::ReleaseToWaiter() {
    if (m_inheritPriority) {
#if defined(__SANITIZE_THREAD__)
        __tsan_release(&m_word);
#endif
        Futex(&m_word, FUTEX_UNLOCK_PI_PRIVATE, 0, nullptr, 0);
        return;
    }
    m_word.store(0, std::memory_order_release);
    Futex(&m_word, FUTEX_WAKE_PRIVATE, 1, nullptr, 0);
}
