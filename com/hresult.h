// HRESULT: the signed 32-bit result of every interface operation; negative is failure. The
// codes are the shared ones of qxzeva/results.h.
#ifndef QX_COM_HRESULT_H
#define QX_COM_HRESULT_H

#include "qxzeva/results.h"

constexpr bool SUCCEEDED(HRESULT result) {
    return result >= 0;
}
constexpr bool FAILED(HRESULT result) {
    return result < 0;
}

#endif
