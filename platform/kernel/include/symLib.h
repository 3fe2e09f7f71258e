/** @file symLib.h
    Symbol-table look-up. The system table finds a name in the process's global scope.
    @ingroup qxzeva_kernel */
#ifndef QX_KERNEL_SYMLIB_H
#define QX_KERNEL_SYMLIB_H

#include "vxWorks.h"

#ifdef __cplusplus
extern "C" {
#endif

/** @addtogroup qxzeva_kernel
    @{ */

/** A symbol table; sysSymTbl is the system's. */
typedef struct qx_symtab* SYMTAB_ID;
/** The kind of a symbol: SYM_GLOBAL, SYM_TEXT. */
typedef unsigned char SYM_TYPE;

#define SYM_GLOBAL 0x1 /**< a global symbol */
#define SYM_TEXT 0x4   /**< a symbol in code */

/** Looks name up in the table: OK with the address in *pValue and its kind in *pType when
    found; ERROR, with nothing written, otherwise. Any task. */
STATUS symFindByName(SYMTAB_ID symTblId, const char* name, char** pValue, SYM_TYPE* pType);

/** @} */

#ifdef __cplusplus
}
#endif

#endif
