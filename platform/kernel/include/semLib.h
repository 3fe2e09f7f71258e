/* Mutual-exclusion semaphores. A semaphore may be taken again by the task that holds it
   and must then be given as often; a task that does not hold it cannot give it. */
#ifndef QX_KERNEL_SEMLIB_H
#define QX_KERNEL_SEMLIB_H

#include "vxWorks.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct qx_semaphore* SEM_ID;

#define SEM_Q_FIFO 0x0
#define SEM_Q_PRIORITY 0x1
#define SEM_DELETE_SAFE 0x4
#define SEM_INVERSION_SAFE 0x8

/* Null when the options are invalid or no memory is left. */
SEM_ID semMCreate(int options);
/* timeout: WAIT_FOREVER, NO_WAIT or a number of clock ticks (milliseconds here). */
STATUS semTake(SEM_ID semaphore, int timeout);
STATUS semGive(SEM_ID semaphore);
/* In any state. Tasks waiting on it get ERROR once it is given up: at once when the deleting
   task holds it, at its holder's last give otherwise (semaphore.cpp tells the whole scheme). */
STATUS semDelete(SEM_ID semaphore);

#ifdef __cplusplus
}
#endif

#endif
