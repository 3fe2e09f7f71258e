#include "call_control.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

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

void CallOutput::Text(const char* bytes, std::size_t length) {
    const std::size_t kept = std::min(length, text.size() - 1);
    std::memcpy(text.data(), bytes, kept);
    text[kept] = '\0';
    textLength = static_cast<std::uint32_t>(std::min<std::size_t>(length, UINT32_MAX));
}

void CallLog::Append(zevadriverFunction function, std::uint32_t serialNumber, std::int32_t status,
                     const CallOutput& output) {
    if (m_calls.size() < k_capacity)
        m_calls.push_back({function, serialNumber, status, output});
}

std::size_t CallLog::Read(zevadriverCall* calls, std::size_t capacity,
                          std::uint32_t recordSize) const {
    const std::size_t count = calls == nullptr ? 0 : std::min(capacity, m_calls.size());
    // The host's records are recordSize bytes apart; each gets the fields that size covers.
    auto* const first = reinterpret_cast<unsigned char*>(calls);
    for (std::size_t index = 0; index < count; ++index) {
        auto* const record = first + index * recordSize;
        const Entry& entry = m_calls[index];
        const auto put = [&](std::size_t offset, const auto& value) {
            if (Covers(recordSize, offset, sizeof value))
                std::memcpy(record + offset, &value, sizeof value);
        };
        put(offsetof(zevadriverCall, size), recordSize);
        put(offsetof(zevadriverCall, function), entry.function);
        put(offsetof(zevadriverCall, serialNumber), entry.serialNumber);
        put(offsetof(zevadriverCall, status), entry.status);
        const CallOutput& output = entry.output;
        put(offsetof(zevadriverCall, valueCount), output.valueCount);
        put(offsetof(zevadriverCall, values), output.values);
        put(offsetof(zevadriverCall, serialCount), output.serialCount);
        put(offsetof(zevadriverCall, serials), output.serials);
        put(offsetof(zevadriverCall, textLength), output.textLength);
        put(offsetof(zevadriverCall, text), output.text);
    }
    return m_calls.size();
}

} // namespace zevadriver
