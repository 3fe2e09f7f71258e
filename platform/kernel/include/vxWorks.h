/** @file vxWorks.h
    Basic kernel types and status values of the target, as the module sees them.
    @ingroup qxzeva_kernel */

/** @defgroup qxzeva_kernel Kernel stand-in
    The calls of the target's kernel the module makes, answered on Linux by the kernel
    stand-in library (qxzeva::kernel, libqxkernel). A host needs to set nothing up: the module
    links the library, and the loader maps it with the module. A host may call these too;
    none of them is needed to use the module.
    @{ */
#ifndef QX_KERNEL_VXWORKS_H
#define QX_KERNEL_VXWORKS_H

#ifdef __cplusplus
extern "C" {
#endif

/** The result of a kernel call: OK or ERROR. */
typedef int STATUS;

#define OK 0       /**< the call succeeded */
#define ERROR (-1) /**< the call failed */

#define WAIT_FOREVER (-1) /**< semTake waits until the semaphore is free */
#define NO_WAIT 0         /**< semTake returns ERROR at once when the semaphore is held */

/** @} */

#ifdef __cplusplus
}
#endif

#endif
