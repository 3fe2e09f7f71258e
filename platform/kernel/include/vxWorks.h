/* Basic kernel types and status values of the target, as the module sees them. */
#ifndef QX_KERNEL_VXWORKS_H
#define QX_KERNEL_VXWORKS_H

#ifdef __cplusplus
extern "C" {
#endif

typedef int STATUS;

#define OK 0
#define ERROR (-1)

#define WAIT_FOREVER (-1)
#define NO_WAIT 0

#ifdef __cplusplus
}
#endif

#endif
