/** @file module_exports.h
    The module's exports, with plain symbol names, as the module declares them (C++). A host
    finds them with qxModuleSymbol by the names QX_FACTORY_SYMBOL and QX_VERSION_SYMBOL of the
    C view and calls them through qxCreateExpertFunction and qxVersionArrayFunction. */
#ifndef QX_EXPERT_MODULE_EXPORTS_H
#define QX_EXPERT_MODULE_EXPORTS_H

#include "com/hresult.h"

/** Marks a symbol the module exports. */
#define QX_MODULE_EXPORT __attribute__((visibility("default")))

extern "C" {

/** A static constructor or destructor of the module. */
using QxStaticFunction = void (*)();

/** Creates the expert. *expert receives an IkcSysExpert2 pointer (the C view's IkcSysExpert2,
    the same object as the C++ IkcSysExpert2) carrying one reference, which the caller gives
    back with Release. S_OK; E_POINTER when expert is null; E_OUTOFMEMORY with *expert null.
    Any task, several at once. */
QX_MODULE_EXPORT HRESULT createZEVASysapiExpert(void** expert) noexcept;

/** The module's version record: nine "key=value" strings, then a null pointer. Static: the
    caller neither frees nor changes it. Any task, at any time while the module is loaded. */
QX_MODULE_EXPORT const char* const*
nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray() noexcept;

/** Null-terminated table of the module's static constructors, in the order the loader runs
    them. Every entry may run more than once. */
QX_MODULE_EXPORT extern const QxStaticFunction _ctors[];
/** Null-terminated table of the module's static destructors, in the order the loader runs
    them. Every entry may run more than once. */
QX_MODULE_EXPORT extern const QxStaticFunction _dtors[];
}

#endif
