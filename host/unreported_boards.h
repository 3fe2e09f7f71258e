// The boards the image driver knows but the module did not report. The module stops
// discovering at the first board whose interface file cannot be claimed or activated or
// whose PCI location cannot be read, and still succeeds; the host program asks the driver
// itself, so that a person learns which boards are missing and why, changing nothing.
#ifndef QX_HOST_UNREPORTED_BOARDS_H
#define QX_HOST_UNREPORTED_BOARDS_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct UnreportedBoard {
    std::uint32_t serialNumber = 0;
    // Where the driver places it; empty when the driver cannot say.
    std::optional<std::uint32_t> bus, device, function;
    std::optional<std::uint32_t> pciId; // device in the upper half, vendor in the lower
};

struct UnreportedBoards {
    std::size_t driverCount = 0;         // the boards the driver lists
    std::vector<UnreportedBoard> boards; // in the driver's order; the first stopped discovery
    std::string reason;                  // why discovery stopped at the first of them
};

// A driver call that failed, as a trace saw it go by: the trace empties the driver's log as
// it writes it, so it hands the census these, which the log no longer holds.
struct FailedDriverCall {
    int function; // a zevadriverFunction
    std::uint32_t serialNumber;
    std::int32_t status;
};

// How the reason is learnt: from reads alone (what the driver answers and the module's own
// failed call where the driver's log holds it), or by making the first missing board's step
// of discovery once more as the module makes it, which may claim and activate an interface
// file (--probe).
enum class CensusMode { readOnly, probe };

// The driver's boards after the first `reported` ones, which the module discovers in the
// driver's order, and why discovery stopped at the first of them. Empty when the driver
// cannot list its boards. `traced`: the failed calls a trace took from the log, in order.
UnreportedBoards FindUnreportedBoards(std::size_t reported, CensusMode mode = CensusMode::readOnly,
                                      const std::vector<FailedDriverCall>& traced = {});

// "00000002" as the listing writes serial numbers.
std::string SerialText(std::uint32_t serialNumber);

// The one-line account of what is missing: which serial numbers, at which board discovery
// stopped and why, and that this is how the module discovers.
std::string UnreportedText(const UnreportedBoards& unreported);

// "a, b, c and 4 more": at most eight entries of a list, for messages of bounded length.
std::string BoundedList(const std::vector<std::string>& entries);

#endif
