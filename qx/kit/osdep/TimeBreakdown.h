// Breaking absolute times down into calendar fields with the runtime's re-entrant
// breakdowns. The 32-bit time value is the range: a time whose whole seconds relative to
// 1970 do not fit a signed 32-bit count is refused, on every target.
#ifndef QX_KIT_OSDEP_TIMEBREAKDOWN_H
#define QX_KIT_OSDEP_TIMEBREAKDOWN_H

#include "qx/kit/AbsTime.h"
#include "qxzeva/types.h"

#include <ctime>

namespace qx {
namespace kit {
namespace osdep {

// localtime_r / gmtime_r into the caller's out; a refusal throws exception::OutOfRange.
void LocalTm(std::time_t t, std::tm* out);
void UtcTm(std::time_t t, std::tm* out);

// Rounding of the sub-second part before the breakdown.
enum TimeRounding : int { k_truncateSeconds = 0, k_roundSecondsToEven = 1 };

// Local calendar time of t; throws exception::OutOfRange for a time out of range.
std::tm* ToLocalTm(std::tm* out, const AbsTime& t, int rounding);
// The same in UTC.
std::tm* ToUtcTm(std::tm* out, const AbsTime& t, int rounding);

// The local calendar fields of in + offset seconds, rounded to the nearest second (ties to
// even). An all-zero in, or a time that cannot be broken down, gives every field -1.
void ToLocalTimestamp(const kcSysAttrTimestampUTC* in, kcSysAttrTimestamp* out, double offset);

} // namespace osdep
} // namespace kit
} // namespace qx

#endif
