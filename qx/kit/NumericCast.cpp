#include "qx/kit/NumericCast.h"

#include "qx/kit/Exception.h"

namespace qx {
namespace kit {

void RaiseNumericCastOutOfRange() {
    throw exception::OutOfRange(raise_site::k_numericCast);
}

} // namespace kit
} // namespace qx
