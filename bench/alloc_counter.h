// Counts the blocks and bytes that are allocated while a counter is alive: every global
// operator new and every malloc or realloc made by code linked into the benchmark binary,
// the module's objects included. Frees are counted too, so that a measurement can tell
// what an operation keeps from what it only uses for a while.
#ifndef QX_BENCH_ALLOC_COUNTER_H
#define QX_BENCH_ALLOC_COUNTER_H

#include <cstdint>

struct AllocationTally {
    std::uint64_t blocks = 0; // operator new, malloc, and realloc of a null block
    std::uint64_t bytes = 0;  // requested sizes of those blocks
    std::uint64_t frees = 0;  // operator delete and free of a non-null block
    // Sizes of the freed blocks whose size the free is told (sized operator delete, which
    // the standard containers use for their nodes); other frees add nothing here.
    std::uint64_t sizedFreeBytes = 0;
};

// One at a time, on the thread that measures; other threads' allocations are not counted.
class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    AllocationTally Tally() const;
};

#endif
