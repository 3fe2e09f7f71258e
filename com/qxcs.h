// The recursive critical section behind the abstract lock interface. The property bag holds
// one to guard its store and to let a caller keep it across calls (the batch lock).
#ifndef QX_COM_QXCS_H
#define QX_COM_QXCS_H

#include "com/kernel_calls.h"

#include <semLib.h>

#include <atomic>
#include <cstdint>

struct CqxRecursiveMutexState {
    SEM_ID m_semaphore;
    // The holder's task id, 0 when free. Written by the holder, read by any task that asks
    // whether it holds the lock; see CqxRecursiveMutex::Unlock for the order.
    std::atomic<std::int32_t> m_ownerTask;
    std::int32_t m_depth; // locks by the holder not yet undone
};

class CqxRecursiveMutex {
public:
    CqxRecursiveMutex();
    ~CqxRecursiveMutex();
    CqxRecursiveMutex(const CqxRecursiveMutex&) = delete;
    CqxRecursiveMutex& operator=(const CqxRecursiveMutex&) = delete;

    // Defined here, not out of line: every bag operation takes and gives the section once,
    // and a call of its own around each would cost more than the depth and owner it keeps.
    void Lock() {
        // The kernel's mutual-exclusion semaphore lets its holder take it again.
        semTake(m_state.m_semaphore, WAIT_FOREVER);
        m_state.m_depth = m_state.m_depth + 1;
        m_state.m_ownerTask.store(taskIdSelf(), std::memory_order_relaxed);
    }

    STATUS Unlock() {
        // Only the holder may unlock; anyone else would corrupt the depth. Relaxed is enough
        // for this test: a task finds its own id in the field only if it stored it there
        // itself, and its own later store of 0 is never hidden from it, so a non-holder's
        // comparison fails whichever other value it reads. The semaphore orders everything
        // else the holder does.
        if (m_state.m_ownerTask.load(std::memory_order_relaxed) != taskIdSelf())
            return ERROR;
        m_state.m_depth = m_state.m_depth - 1;
        if (m_state.m_depth == 0)
            m_state.m_ownerTask.store(0, std::memory_order_relaxed);
        return semGive(m_state.m_semaphore);
    }

    // For tests and assertions: read while holding the lock, or when no task can change it.
    std::int32_t OwnerTask() const { return m_state.m_ownerTask.load(std::memory_order_relaxed); }
    std::int32_t Depth() const { return m_state.m_depth; }

private:
    // Held in place, as the section holds the mutex: neither is shared or outlives its owner,
    // so the kernel's semaphore is the one heap block a lock takes.
    CqxRecursiveMutexState m_state;
};

namespace Tessaly {

class CqxSyncObject {
public:
    CqxSyncObject() = default;
    virtual ~CqxSyncObject() = default;
    CqxSyncObject(const CqxSyncObject&) = delete;
    CqxSyncObject& operator=(const CqxSyncObject&) = delete;

    // GCOVR_EXCL_START: kept for the layout; the module never pumps messages
    virtual void SetPumpMsgs(bool pump) { m_pumpMsgs = pump; }
    // GCOVR_EXCL_STOP
    virtual std::int32_t Lock(std::int32_t timeout) = 0;
    virtual std::int32_t Unlock() = 0;

protected:
    bool m_pumpMsgs = false; // kept for the interface; nothing reads it
};

// Final, so that a lock held through the section itself (as the bag holds it) is called
// directly and inline rather than through the table.
class CqxCS final : public CqxSyncObject {
public:
    CqxCS();
    ~CqxCS() override;

    // Waits without limit whatever the time-out, and returns 1.
    std::int32_t Lock(std::int32_t) override {
        m_mutex.Lock();
        return 1;
    }
    // Releases one level; returns the semaphore give's status (0 on success).
    std::int32_t Unlock() override { return m_mutex.Unlock(); }

    const CqxRecursiveMutex& Mutex() const { return m_mutex; }

private:
    CqxRecursiveMutex m_mutex;
};

} // namespace Tessaly

#endif
