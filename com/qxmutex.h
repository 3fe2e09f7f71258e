// The module's plain lock, and the one global instance that makes reference counting atomic.
#ifndef QX_COM_QXMUTEX_H
#define QX_COM_QXMUTEX_H

#include "qx/kit/ModuleStatic.h"

#include <semLib.h>

#include <cstdint>

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

    void Lock();
    void Unlock();
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

// Reference-count forms: a count at -1 is never incremented, one at 0 or below never
// decremented, and none wraps. *changed tells whether the count moved.
std::int32_t InterLockedIncrementCount(std::int32_t* count, bool* changed);
std::int32_t InterLockedDecrementCount(std::int32_t* count, bool* changed);

#endif
