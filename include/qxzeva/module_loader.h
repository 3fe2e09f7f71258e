/** @file module_loader.h
    Loading the module as the target's loader does: after the module is mapped, its static
    constructors run in the order of its null-terminated table _ctors; before it is unmapped,
    its static destructors run in the order of _dtors. A host links this library (qxzeva::loader,
    or pkg-config's qxzeva) and never links the module itself. */
#ifndef QX_LOADER_MODULE_LOADER_H
#define QX_LOADER_MODULE_LOADER_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/results.h"

#include <stddef.h>

/** @cond QX_INTERNAL */
/* The expert as qxCreateExpert hands it out: the C view's (qxzeva/qxzeva_c.h), whose struct is
   qxzeva::c::IkcSysExpert2 in C++. */
#ifdef __cplusplus
namespace qxzeva::c {
struct IkcSysExpert2;
}
#define QX_LOADER_EXPERT qxzeva::c::IkcSysExpert2
#else
struct IkcSysExpert2;
#define QX_LOADER_EXPERT struct IkcSysExpert2
#endif
/** @endcond */

#ifdef __cplusplus
extern "C" {
#endif

/** @defgroup qxzeva_loader Loading the module
    Finding, loading and unloading the module. Any task may call these functions; loading a
    module that is loaded already runs no constructor again, and the destructors run at the
    last unload.
    @{ */

/** The environment variable that, when set and not empty, names the module
    qxInstalledModulePath gives. */
#define QX_MODULE_ENVIRONMENT "QXZEVA_MODULE"
/** The module's file name. */
#define QX_MODULE_FILE_NAME "qxzevaSysapiExpert.so"
/** The folder, beside the loader library, the module is installed in. */
#define QX_MODULE_FOLDER "qxzeva"

/** A loaded module; only the loader's functions look inside it. */
typedef struct qx_module qx_module;

/** Why qxLoadModule failed. */
typedef enum qx_load_status {
    QX_LOAD_OK = 0,           /**< loaded, its constructors run */
    QX_LOAD_NOT_FOUND = 1,    /**< no file at that path */
    QX_LOAD_NOT_LOADABLE = 2, /**< the dynamic linker refused it */
    QX_LOAD_NO_TABLES = 3,    /**< _ctors or _dtors is missing */
    QX_LOAD_NO_MEMORY = 4     /**< out of memory */
} qx_load_status;

/** Writes the path of the installed module into path, with no path compiled into the host:
    the value of QXZEVA_MODULE when it is set and not empty; else the module in the folder
    QX_MODULE_FOLDER beside this loader library (the installed layout), or beside the loader
    when only that exists (a build folder). The file need not exist: qxLoadModule says so.
    @param path receives the zero-terminated path
    @param size the bytes path holds
    @return the path's length, or -1 when it does not fit (path is then empty when size > 0)
            or the loader's own file is unknown. */
int qxInstalledModulePath(char* path, size_t size);

/** Loads the module at path and runs its constructors.
    @param path the module's file
    @param status receives QX_LOAD_OK or the reason of a failure; may be null
    @param error receives a one-line reason on failure, an empty text on success; always
           terminated when size > 0; may be null
    @param size the bytes error holds
    @return the module, which the caller gives back with qxUnloadModule; null on failure. */
qx_module* qxLoadModule(const char* path, qx_load_status* status, char* error, size_t size);

/** The address of an exported symbol of a loaded module.
    @param module a module from qxLoadModule
    @param name the symbol's name, for instance QX_FACTORY_SYMBOL
    @return its address, or null when the module does not export it or an argument is null. */
void* qxModuleSymbol(qx_module* module, const char* name);

/** A function of a module, to be called through a pointer of its own type. */
typedef void (*qx_function)(void);

/** The address of an exported function of a loaded module, as a function pointer: convert it
    to the function's own type to call it (qxzeva::ModuleFunction does so in C++).
    @param module a module from qxLoadModule
    @param name the function's name, for instance QX_FACTORY_SYMBOL
    @return its address, or null when the module does not export it or an argument is null. */
qx_function qxModuleFunction(qx_module* module, const char* name);

/** Creates the expert through the module's factory (the export QX_FACTORY_SYMBOL), with no
    cast: `IkcSysExpert2* expert; qxCreateExpert(module, &expert);`. C++ hosts of either view
    call qxzeva::CreateExpert (qxzeva/qxzeva_host.h) instead.
    @param module a module from qxLoadModule
    @param expert receives the expert, carrying one reference the caller gives back with
           Release; null on failure
    @return S_OK; E_POINTER when module or expert is null; E_FAIL when the module exports no
            factory; otherwise the factory's own failure (E_OUTOFMEMORY). */
HRESULT qxCreateExpert(qx_module* module, QX_LOADER_EXPERT** expert);

/** Runs the destructors (at the last unload of the file) and unmaps the module.
    @param module a module from qxLoadModule; null is ignored
    @return 0, or -1 when the dynamic linker could not unmap it. The module is gone either way. */
int qxUnloadModule(qx_module* module);

/** What a status of qxLoadModule means, in a few words ("module not found", ...).
    @param status a status qxLoadModule gave
    @return a static text, or null for a value that is no status. */
const char* qxLoadStatusText(qx_load_status status);

/** The version of the loader library the host runs with, "major.minor.patch": compare it with
    QXZEVA_VERSION_STRING, the version the host was built against.
    @return a static text. */
const char* qxLoaderVersion(void);

/** @} */

#ifdef __cplusplus
}
#endif
#undef QX_LOADER_EXPERT

#endif
