#include "com/hresult_from_exception.h"

#include "qx/kit/Exception.h"

#include <new>

HRESULT HResultFromCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (HRESULT result) {
        return result;
    } catch (const qx::kit::exception::Exception& error) {
        // Only a failure code may leave as one: 0 or a positive code would read as success.
        const std::int32_t code = error.getErrorCode();
        return code < 0 ? code : E_FAIL;
    } catch (...) {
        return E_FAIL;
    }
}
