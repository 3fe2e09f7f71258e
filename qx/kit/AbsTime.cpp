#include "qx/kit/AbsTime.h"

namespace qx {
namespace kit {

namespace {
constexpr std::uint32_t k_seconds1904To1970 = 2082844800u; // 24107 days * 86400
constexpr std::uint32_t k_seconds1904To2038 = k_seconds1904To1970 + 0x7FFFFFFFu;
} // namespace

ModuleStatic<AbsTime> AbsTime::max;
ModuleStatic<AbsTime> AbsTime::min;
ModuleStatic<AbsTime> k_1970_TO_1904_BIAS;

void ConstructAbsTimeConstants() {
    k_1970_TO_1904_BIAS.Construct(AbsTime(0, k_seconds1904To1970, 0, 0));
}

void DestroyAbsTimeConstants() {
    k_1970_TO_1904_BIAS.Destroy();
}

void ConstructAbsTimeLimits() {
    AbsTime::max.Construct(AbsTime::Largest());
    AbsTime::min.Construct(AbsTime::Smallest());
}

void DestroyAbsTimeLimits() {
    AbsTime::max.Destroy();
    AbsTime::min.Destroy();
}

AbsTime GetMinTime_T() {
    static const AbsTime k_JAN_1_1970(0, k_seconds1904To1970, 0, 0);
    return k_JAN_1_1970;
}

AbsTime GetMaxTime_T() {
    static const AbsTime k_JAN_18_2038(0, k_seconds1904To2038, 0, 0);
    return k_JAN_18_2038;
}

} // namespace kit
} // namespace qx
