// The simulator's record of calls and its scripted failures, one entry per driver function.
#ifndef ZEVADRIVER_CALL_CONTROL_H
#define ZEVADRIVER_CALL_CONTROL_H

#include "record_size.h"
#include "zevadriver_control.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace zevadriver {

// How many functions the driver has: from their one list, not from an installed type.
inline constexpr std::size_t k_functionCount = std::size(k_zevadriverFunctions);

// Each layout of zevadriverCall in libzevadriver.so.19, oldest first (record_size.h).
inline constexpr std::uint32_t k_callRecordSizes[] = {
    RecordSizeEndingAt(offsetof(zevadriverCall, status) + sizeof(std::int32_t)),
};
inline constexpr RecordSizes k_callRecordLayouts = {k_callRecordSizes,
                                                    std::size(k_callRecordSizes)};

// Which calls fail, and with what status. Not locked: the simulator's lock covers it.
class FailurePlan {
public:
    void FailAlways(zevadriverFunction function, std::int32_t status);
    void FailOnCall(zevadriverFunction function, std::uint32_t nthCall, std::int32_t status);
    void Clear();

    // Counts one call of `function`; the status it must fail with, or 0.
    std::int32_t NextCall(zevadriverFunction function);

private:
    struct Plan {
        std::int32_t alwaysStatus = 0;
        std::uint32_t callsUntilOnce = 0; // 0: nothing armed
        std::int32_t onceStatus = 0;
    };
    std::array<Plan, k_functionCount> m_plans{};
};

// Calls in the order they were made. Its room is reserved up front, so that logging never
// allocates inside a driver call: a test that makes allocations fail sees only the caller's.
class CallLog {
public:
    static constexpr std::size_t k_capacity = 4096;

    CallLog() { m_calls.reserve(k_capacity); }

    void Append(zevadriverFunction function, std::uint32_t serialNumber, std::int32_t status);
    // Into the host's array of records of `recordSize` bytes each (a size it knows).
    std::size_t Read(zevadriverCall* calls, std::size_t capacity, std::uint32_t recordSize) const;
    void Clear() { m_calls.clear(); }

private:
    struct Entry {
        zevadriverFunction function;
        std::uint32_t serialNumber;
        std::int32_t status;
    };
    std::vector<Entry> m_calls;
};

} // namespace zevadriver

#endif
