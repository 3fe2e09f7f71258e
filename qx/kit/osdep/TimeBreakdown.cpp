#include "qx/kit/osdep/TimeBreakdown.h"

#include "qx/kit/Exception.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace qx {
namespace kit {
namespace osdep {

namespace {

// Whole seconds since 1970 of t as the 32-bit time value. Out of the signed 32-bit range
// (also after the bias or the rounding wrapped in 128 bits, which lands far outside it) the
// time is refused rather than wrapped into another date.
std::time_t ToTime_T(const AbsTime& t, int rounding) {
    AbsTime since1970 = t - *k_1970_TO_1904_BIAS;
    since1970.Round(rounding == k_roundSecondsToEven ? AbsTime::k_roundNearestEven
                                                     : AbsTime::k_roundTowardZero);
    const std::int64_t seconds = since1970.IntegerPart64();
    if (seconds < std::numeric_limits<std::int32_t>::min() ||
        seconds > std::numeric_limits<std::int32_t>::max())
        throw exception::OutOfRange(raise_site::k_timeOutOfRange);
    // Signed 32 bits first, so that a date before 1970 stays before 1970 where time_t is
    // 64 bits wide.
    return static_cast<std::time_t>(static_cast<std::int32_t>(since1970.IntegerPart32()));
}

} // namespace

void LocalTm(std::time_t t, std::tm* out) {
    if (localtime_r(&t, out) == nullptr)
        throw exception::OutOfRange(raise_site::k_localtimeRefused);
}

void UtcTm(std::time_t t, std::tm* out) {
    if (gmtime_r(&t, out) == nullptr)
        throw exception::OutOfRange(raise_site::k_gmtimeRefused);
}

std::tm* ToLocalTm(std::tm* out, const AbsTime& t, int rounding) {
    LocalTm(ToTime_T(t, rounding), out);
    return out;
}

std::tm* ToUtcTm(std::tm* out, const AbsTime& t, int rounding) {
    UtcTm(ToTime_T(t, rounding), out);
    return out;
}

void ToLocalTimestamp(const kcSysAttrTimestampUTC* in, kcSysAttrTimestamp* out, double offset) {
    std::memset(out, 0xFF, sizeof *out);
    const AbsTime stored = AbsTime::FromWords(in->words);
    if (stored.IsZero())
        return;
    try {
        std::tm local{};
        ToLocalTm(&local, stored + AbsTime(offset), k_roundSecondsToEven);
        out->year = local.tm_year + 1900;
        out->month = local.tm_mon + 1;
        out->day = local.tm_mday;
        out->hour = local.tm_hour;
        out->minute = local.tm_min;
        out->second = local.tm_sec;
    } catch (const exception::Exception&) {
        // A time that cannot be broken down leaves every field -1.
    }
}

} // namespace osdep
} // namespace kit
} // namespace qx
