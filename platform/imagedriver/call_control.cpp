#include "call_control.h"

#include <algorithm>

namespace zevadriver {

void FailurePlan::FailAlways(zevadriverFunction function, std::int32_t status) {
    m_plans.at(function).alwaysStatus = status;
}

void FailurePlan::FailOnCall(zevadriverFunction function, std::uint32_t nthCall,
                             std::int32_t status) {
    Plan& plan = m_plans.at(function);
    plan.callsUntilOnce = nthCall;
    plan.onceStatus = status;
}

void FailurePlan::Clear() {
    m_plans.fill(Plan{});
}

std::int32_t FailurePlan::NextCall(zevadriverFunction function) {
    Plan& plan = m_plans.at(function);
    if (plan.callsUntilOnce != 0 && --plan.callsUntilOnce == 0 && plan.onceStatus != 0)
        return plan.onceStatus;
    return plan.alwaysStatus;
}

void CallLog::Append(zevadriverFunction function, std::uint32_t serialNumber, std::int32_t status) {
    if (m_calls.size() < k_capacity)
        m_calls.push_back({function, serialNumber, status});
}

std::size_t CallLog::Read(zevadriverCall* calls, std::size_t capacity) const {
    if (calls != nullptr)
        std::copy_n(m_calls.begin(), std::min(capacity, m_calls.size()), calls);
    return m_calls.size();
}

} // namespace zevadriver
