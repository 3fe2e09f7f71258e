// The module's plain lock, and the one global instance that makes reference counting atomic.
#ifndef QX_COM_QXMUTEX_H
#define QX_COM_QXMUTEX_H

#include "com/kernel_calls.h"
#include "qx/kit/ModuleStatic.h"

#include <semLib.h>

#include <cassert>
#include <cstdint>
#include <limits>

struct CQXMutexState {
    std::int32_t m_locked;    // 1 while a task holds the mutex
    std::int32_t m_ownerTask; // the holder's task id, 0 when free
    SEM_ID m_semaphore;
};

// Not recursive: a task that holds it must not lock it again.
class CQXMutex {
public:
    CQXMutex();
    virtual ~CQXMutex();
    CQXMutex(const CQXMutex&) = delete;
    CQXMutex& operator=(const CQXMutex&) = delete;

    // Defined here: every AddRef and Release takes and gives the lock once, and the count's
    // change between is a few instructions, fewer than a call of its own would cost.
    void Lock() {
        semTake(m_state.m_semaphore, WAIT_FOREVER);
        assert(m_state.m_locked == 0 && "CQXMutex is not recursive");
        m_state.m_ownerTask = taskIdSelf();
        m_state.m_locked = 1;
    }
    void Unlock() {
        // Both fields are cleared while the semaphore is still held.
        m_state.m_locked = 0;
        m_state.m_ownerTask = 0;
        semGive(m_state.m_semaphore);
    }
    // False when the kernel could not create the semaphore: the lock would exclude nobody.
    bool IsUsable() const { return m_state.m_semaphore != nullptr; }

private:
    CQXMutexState m_state;
};

// Serialises every change of every reference count of the module. It is always the
// innermost lock and is held for one read-modify-write only, so it cannot deadlock.
extern ModuleStatic<CQXMutex> g_InterLockedIncDec;

// Whether g_InterLockedIncDec is built and usable. A static constructor cannot report a
// failure to the loader, so the factory asks this before it creates the first counted object.
bool InterLockedIncDecIsUsable();

// Static constructor and destructor entries for g_InterLockedIncDec.
void ConstructInterLockedIncDec();
void DestroyInterLockedIncDec();

// Return the value this call stored, not a later reading.
std::int32_t InterLockedIncrement(std::int32_t* value);
std::int32_t InterLockedDecrement(std::int32_t* value);

// Holds g_InterLockedIncDec for its scope.
class InterLockedSection {
public:
    InterLockedSection() { g_InterLockedIncDec->Lock(); }
    ~InterLockedSection() { g_InterLockedIncDec->Unlock(); }
    InterLockedSection(const InterLockedSection&) = delete;
    InterLockedSection& operator=(const InterLockedSection&) = delete;
};

// Reference-count forms: a count at -1 is never incremented, one at 0 or below never
// decremented, and none wraps. *changed tells whether the count moved. Defined here, so that
// AddRef and Release are each one function around the lock rather than a call into another.
inline std::int32_t InterLockedIncrementCount(std::int32_t* count, bool* changed) {
    InterLockedSection section;
    const std::int32_t current = *count;
    *changed = current != -1 && current != std::numeric_limits<std::int32_t>::max();
    if (*changed)
        *count = current + 1;
    return *count;
}

inline std::int32_t InterLockedDecrementCount(std::int32_t* count, bool* changed) {
    InterLockedSection section;
    const std::int32_t current = *count;
    *changed = current > 0;
    if (*changed)
        *count = current - 1;
    return *count;
}

#endif
