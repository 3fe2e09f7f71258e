#include "com/qxcs.h"

#include "com/kernel_calls.h"
#include "com/semaphore_options.h"

#include <new>

CqxRecursiveMutex::CqxRecursiveMutex() : m_state{semMCreate(k_semaphoreOptions), {0}, 0} {
    // A section without its semaphore would serialise nothing: report it as the memory
    // failure it is instead of handing out an unguarded object.
    if (m_state.m_semaphore == nullptr)
        throw std::bad_alloc();
}

CqxRecursiveMutex::~CqxRecursiveMutex() {
    // The kernel deletes a semaphore that is still held, so an outstanding batch lock on a
    // destroyed bag is no undefined behaviour.
    semDelete(m_state.m_semaphore);
}

void CqxRecursiveMutex::Lock() {
    // The kernel's mutual-exclusion semaphore lets its holder take it again.
    semTake(m_state.m_semaphore, WAIT_FOREVER);
    m_state.m_depth = m_state.m_depth + 1;
    m_state.m_ownerTask.store(taskIdSelf(), std::memory_order_relaxed);
}

STATUS CqxRecursiveMutex::Unlock() {
    // Only the holder may unlock; anyone else would corrupt the depth. Relaxed is enough for
    // this test: a task finds its own id in the field only if it stored it there itself, and
    // its own later store of 0 is never hidden from it, so a non-holder's comparison fails
    // whichever other value it reads. The semaphore orders everything else the holder does.
    if (m_state.m_ownerTask.load(std::memory_order_relaxed) != taskIdSelf())
        return ERROR;
    m_state.m_depth = m_state.m_depth - 1;
    if (m_state.m_depth == 0)
        m_state.m_ownerTask.store(0, std::memory_order_relaxed);
    return semGive(m_state.m_semaphore);
}

namespace Tessaly {

CqxCS::CqxCS() = default;

CqxCS::~CqxCS() = default;

std::int32_t CqxCS::Lock(std::int32_t) {
    m_mutex.Lock();
    return 1;
}

std::int32_t CqxCS::Unlock() {
    return m_mutex.Unlock();
}

} // namespace Tessaly
