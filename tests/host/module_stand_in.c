/* A module stand-in for the host program's tests: the loader's tables and the version
 * export, and a factory that creates no expert but returns the result named by
 * QX_STAND_IN_FACTORY_RESULT (hexadecimal; S_OK when unset). Built a second time without the
 * factory, as a module that lacks it. */
#include <stdint.h>
#include <stdlib.h>

typedef void (*StaticFunction)(void);
StaticFunction _ctors[] = {0};
StaticFunction _dtors[] = {0};

const char* const* nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray(void);
const char* const* nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray(void) {
    static const char* const k_versions[] = {"nQXVersion_ProductVersion=0", 0};
    return k_versions;
}

#ifndef QX_STAND_IN_WITHOUT_FACTORY
int32_t createZEVASysapiExpert(void** expert);
int32_t createZEVASysapiExpert(void** expert) {
    /* NOLINTNEXTLINE(concurrency-mt-unsafe): the host calls it once, from one task */
    const char* result = getenv("QX_STAND_IN_FACTORY_RESULT");
    *expert = 0;
    return result != 0 ? (int32_t)strtoul(result, 0, 16) : 0;
}
#endif
