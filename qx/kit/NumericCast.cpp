#include "qx/kit/NumericCast.h"

#include "qx/kit/Exception.h"

namespace qx {
namespace kit {

void RaiseNumericCastOutOfRange() {
    throw exception::OutOfRange("./qx/kit/NumericCast", 92);
}

} // namespace kit
} // namespace qx
