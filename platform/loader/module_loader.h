/* Loading a module as the target's loader does: after the module is mapped, its static
   constructors run in the order of its null-terminated table _ctors; before it is unmapped,
   its static destructors run in the order of _dtors. */
#ifndef QX_LOADER_MODULE_LOADER_H
#define QX_LOADER_MODULE_LOADER_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct qx_module qx_module;

typedef enum qx_load_status {
    QX_LOAD_OK = 0,
    QX_LOAD_NOT_FOUND = 1,    /* no file at that path */
    QX_LOAD_NOT_LOADABLE = 2, /* the dynamic linker refused it */
    QX_LOAD_NO_TABLES = 3,    /* _ctors or _dtors is missing */
    QX_LOAD_NO_MEMORY = 4
} qx_load_status;

/* Loads the module at path and runs its constructors. On failure returns null, sets
 *status and writes a one-line reason into error (always terminated when size > 0). */
qx_module* qxLoadModule(const char* path, qx_load_status* status, char* error, size_t size);

/* Address of an exported symbol, or null. */
void* qxModuleSymbol(qx_module* module, const char* name);

/* Runs the destructors and unmaps the module; returns 0, or -1 when dlclose failed. */
int qxUnloadModule(qx_module* module);

#ifdef __cplusplus
}
#endif

#endif
