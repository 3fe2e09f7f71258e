// HRESULT: the signed 32-bit result of every interface operation; negative is failure. The
// codes are the shared ones of com/qxzeva_abi.h.
#ifndef QX_COM_HRESULT_H
#define QX_COM_HRESULT_H

#include "com/qxzeva_abi.h"

constexpr bool SUCCEEDED(HRESULT result) {
    return result >= 0;
}
constexpr bool FAILED(HRESULT result) {
    return result < 0;
}

#endif
