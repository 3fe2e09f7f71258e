/** @file cxx_standard.h
    The C++ standard every installed header needs when a C++ file includes it: C++17 (inline
    variables, nested namespaces, std::is_convertible_v), for the C view as for the C++ view
    and the helpers. Checked here once, first, so that an older standard stops the compiler
    with one message that names the standard rather than an error deep inside a header. */
#ifndef QXZEVA_CXX_STANDARD_H
#define QXZEVA_CXX_STANDARD_H

#if defined(__cplusplus) && __cplusplus < 201703L && !(defined(_MSVC_LANG) && _MSVC_LANG >= 201703L)
#error "qxzeva's headers need C++17 or later in C++: compile with -std=c++17 (or gnu++17)"
/* A missing header is fatal, an #error is not: stop here, before the errors it would cause. */
#include "qxzeva/stop: C++17 is needed"
#endif

#endif
