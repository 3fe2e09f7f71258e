#include "com/qxmutex.h"

#include "com/kernel_calls.h"
#include "com/semaphore_options.h"

#include <cassert>
#include <cstdint>
#include <limits>

namespace {

class InterLockedSection {
public:
    InterLockedSection() { g_InterLockedIncDec->Lock(); }
    ~InterLockedSection() { g_InterLockedIncDec->Unlock(); }
    InterLockedSection(const InterLockedSection&) = delete;
    InterLockedSection& operator=(const InterLockedSection&) = delete;
};
} // namespace

ModuleStatic<CQXMutex> g_InterLockedIncDec;

void ConstructInterLockedIncDec() {
    g_InterLockedIncDec.Construct();
}
void DestroyInterLockedIncDec() {
    g_InterLockedIncDec.Destroy();
}

bool InterLockedIncDecIsUsable() {
    return g_InterLockedIncDec.IsBuilt() && g_InterLockedIncDec->IsUsable();
}

// The state record is held inline: the global counting lock is built by a static constructor
// entry, which has no way to report a failure to the loader, so building it allocates nothing
// that could run out.
CQXMutex::CQXMutex() : m_state{0, 0, semMCreate(k_semaphoreOptions)} {}

CQXMutex::~CQXMutex() {
    semDelete(m_state.m_semaphore);
}

void CQXMutex::Lock() {
    semTake(m_state.m_semaphore, WAIT_FOREVER);
    assert(m_state.m_locked == 0 && "CQXMutex is not recursive");
    m_state.m_ownerTask = taskIdSelf();
    m_state.m_locked = 1;
}

void CQXMutex::Unlock() {
    // Both fields are cleared while the semaphore is still held.
    m_state.m_locked = 0;
    m_state.m_ownerTask = 0;
    semGive(m_state.m_semaphore);
}

std::int32_t InterLockedIncrement(std::int32_t* value) {
    InterLockedSection section;
    const std::int32_t stored = static_cast<std::int32_t>(static_cast<std::uint32_t>(*value) + 1u);
    *value = stored;
    return stored;
}

std::int32_t InterLockedDecrement(std::int32_t* value) {
    InterLockedSection section;
    const std::int32_t stored = static_cast<std::int32_t>(static_cast<std::uint32_t>(*value) - 1u);
    *value = stored;
    return stored;
}

std::int32_t InterLockedIncrementCount(std::int32_t* count, bool* changed) {
    InterLockedSection section;
    const std::int32_t current = *count;
    *changed = current != -1 && current != std::numeric_limits<std::int32_t>::max();
    if (*changed)
        *count = current + 1;
    return *count;
}

std::int32_t InterLockedDecrementCount(std::int32_t* count, bool* changed) {
    InterLockedSection section;
    const std::int32_t current = *count;
    *changed = current > 0;
    if (*changed)
        *count = current - 1;
    return *count;
}
