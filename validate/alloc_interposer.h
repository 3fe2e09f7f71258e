// The validator's own allocator front: the executable defines malloc, calloc, realloc, free
// and the aligned forms, so every allocation of the module (and of the C++ runtime's operator
// new beneath it) passes through here, where a check can count blocks and make the n-th
// allocation fail. Under AddressSanitizer or ThreadSanitizer, whose runtimes own the
// allocator, nothing is replaced: the counts stay 0 and the failure checks are skipped.
#ifndef QX_VALIDATE_ALLOC_INTERPOSER_H
#define QX_VALIDATE_ALLOC_INTERPOSER_H

// Whether this build replaces the allocator.
bool AllocatorInterposed();
// From the next allocation made while the gate is open on any task, the nth (from 1) fails
// and every later one succeeds; 0 disarms.
void FailNthAllocation(long nth);
// Opens or closes the gate (closed at first) through which allocations count towards the
// failure: a check opens it around the module's calls alone; returns how it was.
bool SetAllocationGate(bool open);
// Whether the armed failure was reached since FailNthAllocation.
bool AllocationFailureReached();
// Blocks allocated and not yet freed, by anyone in the process.
long LiveBlocks();
// Blocks allocated so far.
long BlocksTaken();
// Allocations made so far with the gate open: the failure points a sweep can choose.
long GatedAllocations();

// Blocks allocated, and the change in live blocks, since it was made.
class AllocationCount {
public:
    AllocationCount() : m_taken(BlocksTaken()), m_live(LiveBlocks()) {}
    long Taken() const { return BlocksTaken() - m_taken; }
    long Kept() const { return LiveBlocks() - m_live; }

private:
    long m_taken;
    long m_live;
};

#endif
