#include "com/hresult_from_exception.h"

#include <new>

HRESULT HResultFromCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (HRESULT result) {
        return result;
    } catch (...) {
        return E_FAIL;
    }
}
