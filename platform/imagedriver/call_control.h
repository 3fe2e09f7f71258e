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
    RecordSizeEndingAt(offsetof(zevadriverCall, text) + sizeof(zevadriverCall::text)),
};
static_assert(k_callRecordSizes[std::size(k_callRecordSizes) - 1] == ZEVADRIVER_CALL_SIZE,
              "the newest layout is the header's record");
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

// What one call wrote through its pointers, as zevadriverCall gives it; bounded, so that the
// log's room is reserved up front.
struct CallOutput {
    std::uint32_t valueCount = 0;
    std::array<std::uint32_t, ZEVADRIVER_CALL_VALUES> values{};
    std::uint32_t serialCount = 0;
    std::array<std::uint32_t, ZEVADRIVER_CALL_SERIALS> serials{};
    std::uint32_t textLength = 0;
    std::array<char, ZEVADRIVER_MAX_FILE_NAME + 1> text{};

    void Value(std::uint32_t value) {
        if (valueCount < values.size())
            values[valueCount++] = value;
    }
    void Serial(std::uint32_t serialNumber) {
        if (serialCount < serials.size())
            serials[serialCount] = serialNumber;
        ++serialCount;
    }
    // The `length` bytes at `bytes`, of which the first ZEVADRIVER_MAX_FILE_NAME are kept.
    void Text(const char* bytes, std::size_t length);
};

// Calls in the order they were made. Its room is reserved up front, so that logging never
// allocates inside a driver call: a test that makes allocations fail sees only the caller's.
class CallLog {
public:
    static constexpr std::size_t k_capacity = 4096;

    CallLog() { m_calls.reserve(k_capacity); }

    void Append(zevadriverFunction function, std::uint32_t serialNumber, std::int32_t status,
                const CallOutput& output);
    // Into the host's array of records of `recordSize` bytes each (a size it knows).
    std::size_t Read(zevadriverCall* calls, std::size_t capacity, std::uint32_t recordSize) const;
    void Clear() { m_calls.clear(); }

private:
    struct Entry {
        zevadriverFunction function;
        std::uint32_t serialNumber;
        std::int32_t status;
        CallOutput output;
    };
    std::vector<Entry> m_calls;
};

} // namespace zevadriver

#endif
