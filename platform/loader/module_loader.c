#define _GNU_SOURCE /* dladdr */
/* The library's API, as its header declares it, is what it exports: the library is built
   with hidden visibility, and its version script names the same functions. */
#pragma GCC visibility push(default)
#include "qxzeva/module_loader.h"
#pragma GCC visibility pop
#include "qxzeva/qxzeva_c.h"
#include "qxzeva/qxzeva_version.h"

#include <dlfcn.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

typedef void (*qx_static_function)(void);

struct qx_module {
    void* handle;
    qx_static_function* destructors;
};

/* dlopen hands out one mapping per file however often it is opened, while the target's
   loader loads a separate copy each time: the tables run on the first load and the last
   unload of a mapping, so one load never tears down what another still uses. */
typedef struct qx_mapping {
    void* handle;
    int loads;
    struct qx_mapping* next;
} qx_mapping;

static qx_mapping* g_mappings = NULL;
static pthread_mutex_t g_mappingsLock = PTHREAD_MUTEX_INITIALIZER;

/* Counts a load of handle; returns the count after it, or 0 when out of memory. */
static int CountLoad(void* handle) {
    pthread_mutex_lock(&g_mappingsLock);
    qx_mapping* mapping = g_mappings;
    while (mapping != NULL && mapping->handle != handle)
        mapping = mapping->next;
    if (mapping == NULL) {
        mapping = malloc(sizeof *mapping);
        if (mapping != NULL) {
            mapping->handle = handle;
            mapping->loads = 0;
            mapping->next = g_mappings;
            g_mappings = mapping;
        }
    }
    const int loads = mapping != NULL ? ++mapping->loads : 0;
    pthread_mutex_unlock(&g_mappingsLock);
    return loads;
}

/* Counts an unload of handle; returns the loads left. */
static int CountUnload(void* handle) {
    pthread_mutex_lock(&g_mappingsLock);
    qx_mapping** link = &g_mappings;
    while (*link != NULL && (*link)->handle != handle)
        link = &(*link)->next;
    int loads = 0;
    if (*link != NULL) {
        loads = --(*link)->loads;
        if (loads == 0) {
            qx_mapping* gone = *link;
            *link = gone->next;
            free(gone);
        }
    }
    pthread_mutex_unlock(&g_mappingsLock);
    return loads;
}

static void RunTable(qx_static_function* table) {
    for (; *table != NULL; ++table)
        (*table)();
}

/* The text of each status, in the order of their values; a failure's message starts with it. */
static const char* const k_statusTexts[] = {
    "module loaded", "module not found", "module not loadable",
    "module does not export _ctors and _dtors", "out of memory"};

const char* qxLoadStatusText(qx_load_status status) {
    const size_t index = (size_t)status;
    return index < sizeof k_statusTexts / sizeof k_statusTexts[0] ? k_statusTexts[index] : NULL;
}

const char* qxLoaderVersion(void) {
    return QXZEVA_VERSION_STRING;
}

static qx_module* Fail(qx_load_status* status, qx_load_status code, char* error, size_t size,
                       const char* detail) {
    if (status != NULL)
        *status = code;
    if (error != NULL && size > 0)
        snprintf(error, size, "%s%s%s", qxLoadStatusText(code), detail != NULL ? ": " : "",
                 detail != NULL ? detail : "");
    return NULL;
}

qx_module* qxLoadModule(const char* path, qx_load_status* status, char* error, size_t size) {
    struct stat info;
    if (path == NULL || stat(path, &info) != 0)
        return Fail(status, QX_LOAD_NOT_FOUND, error, size, path != NULL ? path : "(null)");
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (handle == NULL)
        return Fail(status, QX_LOAD_NOT_LOADABLE, error, size,
                    dlerror()); // NOLINT(concurrency-mt-unsafe): its state is per thread
    qx_static_function* constructors = (qx_static_function*)dlsym(handle, "_ctors");
    qx_static_function* destructors = (qx_static_function*)dlsym(handle, "_dtors");
    if (constructors == NULL || destructors == NULL) {
        dlclose(handle);
        return Fail(status, QX_LOAD_NO_TABLES, error, size, path);
    }
    qx_module* module = malloc(sizeof *module);
    const int loads = module != NULL ? CountLoad(handle) : 0;
    if (loads == 0) {
        free(module);
        dlclose(handle);
        return Fail(status, QX_LOAD_NO_MEMORY, error, size, NULL);
    }
    module->handle = handle;
    module->destructors = destructors;
    if (loads == 1)
        RunTable(constructors);
    if (status != NULL)
        *status = QX_LOAD_OK;
    if (error != NULL && size > 0)
        error[0] = '\0';
    return module;
}

void* qxModuleSymbol(qx_module* module, const char* name) {
    if (module == NULL || name == NULL)
        return NULL;
    return dlsym(module->handle, name);
}

qx_function qxModuleFunction(qx_module* module, const char* name) {
    /* dlsym gives an object pointer; POSIX makes it hold a function's address too. */
    void* symbol = qxModuleSymbol(module, name);
    qx_function function = NULL;
    _Static_assert(sizeof function == sizeof symbol, "a function's address fits an object pointer");
    if (symbol != NULL)
        memcpy(&function, &symbol, sizeof function);
    return function;
}

HRESULT qxCreateExpert(qx_module* module, IkcSysExpert2** expert) {
    qxCreateExpertFunction create = NULL;
    qx_function function;
    void* created = NULL;
    HRESULT result;
    if (expert == NULL)
        return E_POINTER;
    *expert = NULL;
    if (module == NULL)
        return E_POINTER;
    function = qxModuleFunction(module, QX_FACTORY_SYMBOL);
    if (function == NULL)
        return E_FAIL;
    /* One function pointer type to another and back is exact. */
    create = (qxCreateExpertFunction)function;
    result = create(&created);
    *expert = QX_SUCCEEDED(result) ? (IkcSysExpert2*)created : NULL;
    return result;
}

int qxUnloadModule(qx_module* module) {
    if (module == NULL)
        return 0;
    if (CountUnload(module->handle) == 0)
        RunTable(module->destructors);
    const int status = dlclose(module->handle);
    free(module);
    return status == 0 ? 0 : -1;
}

static int FileExists(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

/* Copies text into path when it fits with its terminator; else leaves path empty. */
static int CopyPath(char* path, size_t size, const char* text) {
    const size_t length = strlen(text);
    if (path == NULL || length >= size) {
        if (path != NULL && size > 0)
            path[0] = '\0';
        return -1;
    }
    memcpy(path, text, length + 1);
    return (int)length;
}

int qxInstalledModulePath(char* path, size_t size) {
    /* NOLINTNEXTLINE(concurrency-mt-unsafe): read only; a host sets it before loading */
    const char* chosen = getenv(QX_MODULE_ENVIRONMENT);
    if (chosen != NULL && chosen[0] != '\0')
        return CopyPath(path, size, chosen);
    /* The folder of this library, from the file the dynamic linker mapped it from. */
    Dl_info self;
    if (dladdr((void*)&qxInstalledModulePath, &self) == 0 || self.dli_fname == NULL)
        return CopyPath(path, size, "");
    const char* slash = strrchr(self.dli_fname, '/');
    const char* folder = slash != NULL ? self.dli_fname : ".";
    const int length = slash != NULL ? (int)(slash - self.dli_fname) : 1;
    /* Installed, in the package's own folder; else beside the loader, as in a build folder.
       When neither exists, the installed place, so that loading it says what is missing. */
    char installed[4096];
    char beside[4096];
    const int installedLength = snprintf(installed, sizeof installed, "%.*s/%s/%s", length, folder,
                                         QX_MODULE_FOLDER, QX_MODULE_FILE_NAME);
    const int besideLength =
        snprintf(beside, sizeof beside, "%.*s/%s", length, folder, QX_MODULE_FILE_NAME);
    if (installedLength < 0 || (size_t)installedLength >= sizeof installed || besideLength < 0 ||
        (size_t)besideLength >= sizeof beside)
        return CopyPath(path, size, "");
    if (!FileExists(installed) && FileExists(beside))
        return CopyPath(path, size, beside);
    return CopyPath(path, size, installed);
}
