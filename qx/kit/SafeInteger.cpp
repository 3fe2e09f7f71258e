#include "qx/kit/SafeInteger.h"

#include "qx/kit/Exception.h"

namespace qx {
namespace kit {

SafeInteger SafeInteger::operator+(SafeInteger other) const {
    std::uint32_t sum = 0;
    if (__builtin_add_overflow(m_value, other.m_value, &sum))
        throw exception::OutOfRange(raise_site::k_safeAddition);
    return SafeInteger(sum);
}

SafeInteger SafeInteger::doubled(DoublingSite site) const {
    if (m_value >= 0x80000000u) {
        throw exception::OutOfRange(site == DoublingSite::StringCode
                                        ? raise_site::k_stringCodeDoubling
                                        : raise_site::k_boundaryStringDoubling);
    }
    return SafeInteger(m_value * 2u);
}

} // namespace kit
} // namespace qx
