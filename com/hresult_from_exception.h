// The one translation from an exception in flight to the HRESULT an interface operation
// returns. No exception ever crosses an interface operation or an export.
#ifndef QX_COM_HRESULT_FROM_EXCEPTION_H
#define QX_COM_HRESULT_FROM_EXCEPTION_H

#include "com/hresult.h"

// Call only inside a catch block: E_OUTOFMEMORY for std::bad_alloc, a thrown HRESULT as
// itself, a library exception's negative error code as itself, E_FAIL for anything else.
HRESULT HResultFromCurrentException() noexcept;

// Runs an interface operation's work: its result, or the translation of what it throws.
template <class Work>
HRESULT HResultOf(Work&& work) noexcept {
    try {
        return work();
    } catch (...) {
        return HResultFromCurrentException();
    }
}

#endif
