// The options of every kernel semaphore the module's locks create: waiters queue by priority,
// a holder cannot be deleted, and a holder inherits the priority of a task that waits for it.
#ifndef QX_COM_SEMAPHORE_OPTIONS_H
#define QX_COM_SEMAPHORE_OPTIONS_H

#include <semLib.h>

constexpr int k_semaphoreOptions = SEM_Q_PRIORITY | SEM_DELETE_SAFE | SEM_INVERSION_SAFE;
static_assert(k_semaphoreOptions == 0x0D, "the options the target's kernel is given");

#endif
