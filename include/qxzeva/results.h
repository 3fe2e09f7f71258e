/** @file results.h
    The result codes every operation returns, shared by C and C++ hosts and the module. */
#ifndef QXZEVA_RESULTS_H
#define QXZEVA_RESULTS_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include <stdint.h>

/** @defgroup qxzeva_results Result codes
    Every operation returns a 32-bit HRESULT: zero or positive is success, negative is
    failure. These are all the codes the module returns:

    | Name | Value | Meaning |
    |---|---|---|
    | S_OK | 0x00000000 | done |
    | S_FALSE | 0x00000001 | a success that reports nothing: an empty list, the end |
    | E_NOTIMPL | 0x80004001 | the operation is not offered |
    | E_NOINTERFACE | 0x80004002 | the object has no interface of that identifier |
    | E_POINTER | 0x80004003 | a pointer argument that must not be null was null |
    | E_FAIL | 0x80004005 | an unexpected failure |
    | E_OUTOFMEMORY | 0x8007000E | memory ran out; nothing was handed out |
    | E_PROPERTY_TYPE_MISMATCH | 0x80040370 | the tag holds a value of another type |
    | E_PROPERTY_NOT_FOUND | 0x80040371 | the bag holds no value under the tag |
    | E_ITEM_NOT_FOUND | 0x80040375 | no item has that name |

    Test results with QX_SUCCEEDED and QX_FAILED, in C and C++ alike, never by comparing with
    S_OK alone where S_FALSE may come.
    @{ */

/** The result of every operation; negative is failure. */
typedef int32_t HRESULT;

/** True for a success (S_OK, S_FALSE). */
#define QX_SUCCEEDED(hr) ((HRESULT)(hr) >= 0)
/** True for a failure (any negative code). */
#define QX_FAILED(hr) ((HRESULT)(hr) < 0)

#define S_OK ((HRESULT)0)    /**< done */
#define S_FALSE ((HRESULT)1) /**< a success that reports nothing: an empty list, an absent tag */
#define E_NOTIMPL ((HRESULT)0x80004001u)     /**< the operation is not offered */
#define E_NOINTERFACE ((HRESULT)0x80004002u) /**< no interface of that identifier */
#define E_POINTER ((HRESULT)0x80004003u)     /**< a required pointer argument was null */
#define E_FAIL ((HRESULT)0x80004005u)        /**< an unexpected failure */
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu) /**< memory ran out; nothing was handed out */
/* Interface-specific failures (facility 4) shared with the host framework. */
#define E_PROPERTY_TYPE_MISMATCH ((HRESULT)0x80040370u) /**< the tag holds another type */
#define E_PROPERTY_NOT_FOUND ((HRESULT)0x80040371u)     /**< no value under the tag */
#define E_ITEM_NOT_FOUND ((HRESULT)0x80040375u)         /**< no item has that name */

/** The name of a code the module defines ("S_OK", "E_POINTER", ...), or null for any
    other value. */
static inline const char* qxHResultName(HRESULT result) {
    switch (result) {
    case S_OK:
        return "S_OK";
    case S_FALSE:
        return "S_FALSE";
    case E_NOTIMPL:
        return "E_NOTIMPL";
    case E_NOINTERFACE:
        return "E_NOINTERFACE";
    case E_POINTER:
        return "E_POINTER";
    case E_FAIL:
        return "E_FAIL";
    case E_OUTOFMEMORY:
        return "E_OUTOFMEMORY";
    case E_PROPERTY_TYPE_MISMATCH:
        return "E_PROPERTY_TYPE_MISMATCH";
    case E_PROPERTY_NOT_FOUND:
        return "E_PROPERTY_NOT_FOUND";
    case E_ITEM_NOT_FOUND:
        return "E_ITEM_NOT_FOUND";
    default:
        return 0;
    }
}

/** @} */

#ifdef __cplusplus
static_assert(sizeof(HRESULT) == 4, "HRESULT is 32 bits on every target");
#endif

#endif
