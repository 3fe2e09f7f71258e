// The lock beneath a mutual-exclusion semaphore: one 32-bit word that holds the holder's
// thread id, taken and given with one atomic instruction when nobody waits, and handed over
// by the kernel's futex calls when somebody does.
//
// Natively an inversion-safe semaphore's word is a priority-inheriting futex: a task waiting
// for it lends its priority to the holder until the holder gives it. Under qemu-ppc the
// emulator's priority-inheriting futex calls break under contention, so there every word is
// a plain futex, waited on and woken without the protocol; the free path is the same.
#ifndef QX_KERNEL_FUTEX_LOCK_H
#define QX_KERNEL_FUTEX_LOCK_H

#include <atomic>
#include <cstdint>

class FutexLock {
public:
    explicit FutexLock(bool inheritPriority);
    FutexLock(const FutexLock&) = delete;
    FutexLock& operator=(const FutexLock&) = delete;

    // The free path: no system call.
    bool TryAcquire(std::uint32_t threadId) {
        std::uint32_t expected = 0;
        return m_word.compare_exchange_strong(expected, threadId, std::memory_order_acquire,
                                              std::memory_order_relaxed);
    }
    // Waits until the lock is free, or at most the given milliseconds (negative: without
    // limit). False when the time ran out first.
    bool Acquire(std::uint32_t threadId, int milliseconds);
    // The free path of giving: false when a task may wait, and ReleaseToWaiter must give.
    bool TryRelease(std::uint32_t threadId) {
        return m_word.compare_exchange_strong(threadId, 0, std::memory_order_release,
                                              std::memory_order_relaxed);
    }
    void ReleaseToWaiter();
    // For a thread id that is not 0. Relaxed: a thread finds its own id in the word only if
    // its own take put it there, and it never misses its own give taking it out again.
    bool HeldBy(std::uint32_t threadId) const {
        return (m_word.load(std::memory_order_relaxed) & k_threadIdBits) == threadId;
    }

    static constexpr std::uint32_t k_threadIdBits = 0x3FFFFFFF; // the kernel's flags above

private:
    bool AcquireInheriting(int milliseconds);
    bool AcquirePlain(std::uint32_t threadId, int milliseconds);

    std::atomic<std::uint32_t> m_word{0}; // holder's thread id; high bit: a task may wait
    const bool m_inheritPriority;
};

#endif
