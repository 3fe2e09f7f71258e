/** @file semLib.h
    Mutual-exclusion semaphores. A semaphore may be taken again by the task that holds it
    and must then be given as often; a task that does not hold it cannot give it.
    @ingroup qxzeva_kernel */
#ifndef QX_KERNEL_SEMLIB_H
#define QX_KERNEL_SEMLIB_H

#include "vxWorks.h"

#ifdef __cplusplus
extern "C" {
#endif

/** @addtogroup qxzeva_kernel
    @{ */

/** A mutual-exclusion semaphore. */
typedef struct qx_semaphore* SEM_ID;

#define SEM_Q_FIFO 0x0         /**< waiting tasks queue in arrival order */
#define SEM_Q_PRIORITY 0x1     /**< waiting tasks queue by priority */
#define SEM_DELETE_SAFE 0x4    /**< accepted; the stand-in deletes no tasks */
#define SEM_INVERSION_SAFE 0x8 /**< the holder inherits a waiter's priority */

/** A new semaphore, free; null when the options are invalid (SEM_INVERSION_SAFE needs
    SEM_Q_PRIORITY) or no memory is left. Any task. */
SEM_ID semMCreate(int options);
/** Takes the semaphore, waiting up to timeout: WAIT_FOREVER, NO_WAIT or a number of clock
    ticks (milliseconds here). OK once held; ERROR on timeout or when it is deleted. */
STATUS semTake(SEM_ID semaphore, int timeout);
/** Gives the semaphore back once; ERROR when the calling task does not hold it. */
STATUS semGive(SEM_ID semaphore);
/** Deletes the semaphore, in any state. Tasks waiting on it get ERROR once it is given up: at
    once when the deleting task holds it, at its holder's last give otherwise. */
STATUS semDelete(SEM_ID semaphore);

/** @} */

#ifdef __cplusplus
}
#endif

#endif
