// The module's exports, with plain symbol names.
#ifndef QX_EXPERT_MODULE_EXPORTS_H
#define QX_EXPERT_MODULE_EXPORTS_H

#include "com/hresult.h"

#define QX_MODULE_EXPORT __attribute__((visibility("default")))

extern "C" {

using QxStaticFunction = void (*)();

// Creates the expert; *expert receives its primary interface pointer with one reference.
QX_MODULE_EXPORT HRESULT createZEVASysapiExpert(void** expert) noexcept;

// Nine "key=value" strings, then a null pointer. Static: the caller neither frees nor
// changes it.
QX_MODULE_EXPORT const char* const*
nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray() noexcept;

// Null-terminated tables of the module's static constructors and destructors, in the
// order the loader runs them. Every entry may run more than once.
QX_MODULE_EXPORT extern const QxStaticFunction _ctors[];
QX_MODULE_EXPORT extern const QxStaticFunction _dtors[];
}

#endif
