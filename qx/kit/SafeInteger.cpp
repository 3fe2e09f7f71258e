#include "qx/kit/SafeInteger.h"

#include "qx/kit/Exception.h"

namespace qx {
namespace kit {

SafeInteger SafeInteger::operator+(SafeInteger other) const {
    std::uint32_t sum = 0;
    if (__builtin_add_overflow(m_value, other.m_value, &sum))
        throw exception::OutOfRange(k_file, k_additionLine);
    return SafeInteger(sum);
}

SafeInteger SafeInteger::doubled(DoublingSite site) const {
    if (m_value >= 0x80000000u) {
        throw exception::OutOfRange(k_file, site == DoublingSite::StringCode
                                                ? k_stringDoublingLine
                                                : k_boundaryDoublingLine);
    }
    return SafeInteger(m_value * 2u);
}

} // namespace kit
} // namespace qx
