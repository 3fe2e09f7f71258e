#include "com/qxcs.h"

#include <taskLib.h>

#include <memory>
#include <new>

namespace {
// SEM_Q_PRIORITY | SEM_DELETE_SAFE | SEM_INVERSION_SAFE.
constexpr int k_semaphoreOptions = 0x0D;
} // namespace

CqxRecursiveMutex::CqxRecursiveMutex() : m_state(new CqxRecursiveMutexState{nullptr, 0, 0}) {
    // A section without its semaphore would serialise nothing: report it as the memory
    // failure it is instead of handing out an unguarded object.
    m_state->m_semaphore = semMCreate(k_semaphoreOptions);
    if (m_state->m_semaphore == nullptr) {
        delete m_state;
        throw std::bad_alloc();
    }
}

CqxRecursiveMutex::~CqxRecursiveMutex() {
    // The kernel deletes a semaphore that is still held, so an outstanding batch lock on a
    // destroyed bag is no undefined behaviour.
    semDelete(m_state->m_semaphore);
    delete m_state;
}

void CqxRecursiveMutex::Lock() {
    // The kernel's mutual-exclusion semaphore lets its holder take it again.
    semTake(m_state->m_semaphore, WAIT_FOREVER);
    m_state->m_depth = m_state->m_depth + 1;
    m_state->m_ownerTask = taskIdSelf();
}

STATUS CqxRecursiveMutex::Unlock() {
    // Only the holder may unlock; anyone else would corrupt the depth.
    if (m_state->m_ownerTask != taskIdSelf())
        return ERROR;
    m_state->m_depth = m_state->m_depth - 1;
    if (m_state->m_depth == 0)
        m_state->m_ownerTask = 0;
    return semGive(m_state->m_semaphore);
}

namespace Tessaly {

CqxCS::CqxCS() : m_mutex(new CqxRecursiveMutex) {}

CqxCS::~CqxCS() {
    delete m_mutex;
}

std::int32_t CqxCS::Lock(std::int32_t) {
    m_mutex->Lock();
    return 1;
}

std::int32_t CqxCS::Unlock() {
    return m_mutex->Unlock();
}

} // namespace Tessaly
