#include "com/qxmutex.h"

#include "com/semaphore_options.h"

#include <cstdint>

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
