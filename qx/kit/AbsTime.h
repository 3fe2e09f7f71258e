// The library's absolute point in time: signed seconds since 1904-01-01 00:00:00 UTC as a
// 128-bit fixed-point number with 64 fraction bits. Its constants are module statics built
// by the module's static constructors; the limits of the 32-bit time value are built on
// first use.
#ifndef QX_KIT_ABSTIME_H
#define QX_KIT_ABSTIME_H

#include "qx/kit/FixedPoint128.h"
#include "qx/kit/ModuleStatic.h"

namespace qx {
namespace kit {

class AbsTime : public nQXSS100::tFixedPoint128<64, true> {
public:
    using Fixed = nQXSS100::tFixedPoint128<64, true>;
    using Fixed::Fixed;
    constexpr AbsTime() = default;
    constexpr AbsTime(const Fixed& value) : Fixed(value) {}

    // Largest and smallest representable times.
    static ModuleStatic<AbsTime> max;
    static ModuleStatic<AbsTime> min;
};

static_assert(sizeof(AbsTime) == 16, "an absolute time is exactly its 16-byte value");

// Seconds from the 1904 epoch to 1970-01-01 00:00:00 UTC (24107 days).
extern ModuleStatic<AbsTime> k_1970_TO_1904_BIAS;

// Static constructor and destructor entries: the time constants, then the limits.
void ConstructAbsTimeConstants();
void DestroyAbsTimeConstants();
void ConstructAbsTimeLimits();
void DestroyAbsTimeLimits();

// The 32-bit time value's epoch (1970-01-01) and its last second (2038-01-19 03:14:07 UTC).
AbsTime GetMinTime_T();
AbsTime GetMaxTime_T();

} // namespace kit
} // namespace qx

#endif
