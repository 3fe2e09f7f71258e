/* Symbol-table look-up. The system table finds a name in the process's global scope. */
#ifndef QX_KERNEL_SYMLIB_H
#define QX_KERNEL_SYMLIB_H

#include "vxWorks.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct qx_symtab* SYMTAB_ID;
typedef unsigned char SYM_TYPE;

#define SYM_GLOBAL 0x1
#define SYM_TEXT 0x4

/* OK with the address in *pValue when found; ERROR, with nothing written, otherwise. */
STATUS symFindByName(SYMTAB_ID symTblId, const char* name, char** pValue, SYM_TYPE* pType);

#ifdef __cplusplus
}
#endif

#endif
