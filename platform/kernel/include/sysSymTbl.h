/** @file sysSymTbl.h
    The system symbol table. @ingroup qxzeva_kernel */
#ifndef QX_KERNEL_SYSSYMTBL_H
#define QX_KERNEL_SYSSYMTBL_H

#include "symLib.h"

#ifdef __cplusplus
extern "C" {
#endif

/** The system symbol table: every global symbol of the process. @ingroup qxzeva_kernel */
extern SYMTAB_ID sysSymTbl;

#ifdef __cplusplus
}
#endif

#endif
