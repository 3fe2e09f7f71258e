// The kernel calls on the lock paths of the bag's lock and the global counting lock, as the
// kernel's headers declare them. Where the compiler can, each is called through the module's
// global offset table instead of a procedure linkage table stub: one jump fewer per call, four
// on each lock and unlock. The three are then bound when the module is loaded instead of at
// their first call; every kernel the module loads on has them.
#ifndef QX_COM_KERNEL_CALLS_H
#define QX_COM_KERNEL_CALLS_H

#include <semLib.h>
#include <taskLib.h>

#if defined(__has_attribute)
#if __has_attribute(noplt)
extern "C" {
STATUS semTake(SEM_ID semaphore, int timeout) __attribute__((noplt));
STATUS semGive(SEM_ID semaphore) __attribute__((noplt));
int taskIdSelf(void) __attribute__((noplt));
}
#endif
#endif

#endif
