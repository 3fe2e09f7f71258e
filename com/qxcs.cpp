#include "com/qxcs.h"

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

namespace Tessaly {

CqxCS::CqxCS() = default;

CqxCS::~CqxCS() = default;

} // namespace Tessaly
