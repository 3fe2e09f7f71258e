/* Task identity: a stable, non-zero id per thread. */
#ifndef QX_KERNEL_TASKLIB_H
#define QX_KERNEL_TASKLIB_H

#ifdef __cplusplus
extern "C" {
#endif

int taskIdSelf(void);

#ifdef __cplusplus
}
#endif

#endif
