/** @file taskLib.h
    Task identity: a stable, non-zero id per thread. @ingroup qxzeva_kernel */
#ifndef QX_KERNEL_TASKLIB_H
#define QX_KERNEL_TASKLIB_H

#ifdef __cplusplus
extern "C" {
#endif

/** The calling task's id: stable for the thread's life, never 0. @ingroup qxzeva_kernel */
int taskIdSelf(void);

#ifdef __cplusplus
}
#endif

#endif
