// Records a host allocates carry their size as their first member. A release of the library
// may add fields at a record's end; the library then meets hosts built against each earlier
// layout, and reads or writes only the fields the host's size covers (docs/abi.md).
#ifndef ZEVADRIVER_RECORD_SIZE_H
#define ZEVADRIVER_RECORD_SIZE_H

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace zevadriver {

// The size a host's compiler gives a record whose last field ends at `end`. A record's
// alignment is that of its pointers and never grows: no field wider than a pointer is added.
constexpr std::uint32_t RecordSizeEndingAt(std::size_t end) {
    constexpr std::size_t alignment = alignof(void*);
    return static_cast<std::uint32_t>((end + alignment - 1) / alignment * alignment);
}

// The sizes of a record's layouts, each layout a release of this SONAME had, oldest first.
struct RecordSizes {
    const std::uint32_t* sizes;
    std::size_t count;

    bool Known(std::uint32_t size) const {
        return std::find(sizes, sizes + count, size) != sizes + count;
    }
};

// Whether a record of `size` bytes holds the field at `offset`, of `bytes` bytes.
constexpr bool Covers(std::uint32_t size, std::size_t offset, std::size_t bytes) {
    return offset + bytes <= size;
}

} // namespace zevadriver

#endif
