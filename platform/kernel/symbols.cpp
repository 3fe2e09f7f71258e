// The system symbol table: the process's global symbol scope, as dlsym sees it.

// The library's API, as its header declares it, is what it exports: the library is built
// with hidden visibility, and its version script names the same functions.
#pragma GCC visibility push(default)
#include "symLib.h"
#include "sysSymTbl.h"
#pragma GCC visibility pop

#include <dlfcn.h>

namespace {
// Only its identity matters; the table itself is the dynamic linker's.
struct qx_symtab_storage {
    int unused;
} g_systemTable;
} // namespace

extern "C" {

SYMTAB_ID sysSymTbl = reinterpret_cast<SYMTAB_ID>(&g_systemTable);

STATUS symFindByName(SYMTAB_ID symTblId, const char* name, char** pValue, SYM_TYPE* pType) {
    if (symTblId != sysSymTbl || name == nullptr || pValue == nullptr)
        return ERROR;
    // The C library keeps dlerror's state per thread.
    dlerror(); // NOLINT(concurrency-mt-unsafe)
    void* address = dlsym(RTLD_DEFAULT, name);
    if (address == nullptr || dlerror() != nullptr) // NOLINT(concurrency-mt-unsafe)
        return ERROR;
    *pValue = static_cast<char*>(address);
    if (pType != nullptr)
        *pType = SYM_GLOBAL | SYM_TEXT;
    return OK;
}
}
