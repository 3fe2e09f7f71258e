/* The system symbol table. */
#ifndef QX_KERNEL_SYSSYMTBL_H
#define QX_KERNEL_SYSSYMTBL_H

#include "symLib.h"

#ifdef __cplusplus
extern "C" {
#endif

extern SYMTAB_ID sysSymTbl;

#ifdef __cplusplus
}
#endif

#endif
