// HRESULT: the signed 32-bit result of every interface operation; negative is failure.
#ifndef QX_COM_HRESULT_H
#define QX_COM_HRESULT_H

#include <cstdint>

using HRESULT = std::int32_t;
static_assert(sizeof(HRESULT) == 4, "HRESULT is 32 bits on every target");

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
// Interface-specific failures (facility 4) shared with the host framework.
constexpr HRESULT E_PROPERTY_TYPE_MISMATCH = static_cast<HRESULT>(0x80040370u);
constexpr HRESULT E_PROPERTY_NOT_FOUND = static_cast<HRESULT>(0x80040371u);
constexpr HRESULT E_ITEM_NOT_FOUND = static_cast<HRESULT>(0x80040375u);

constexpr bool SUCCEEDED(HRESULT result) {
    return result >= 0;
}
constexpr bool FAILED(HRESULT result) {
    return result < 0;
}

#endif
