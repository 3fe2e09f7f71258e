// Test-only allocation failures: while an AllocationFailure is alive, the n-th allocation of
// its kind (counted from 1) fails: operator new throws std::bad_alloc (nothrow forms return
// null), malloc and realloc return null and leave the old block alone. k_any counts every
// operator new, malloc and realloc of the module's code alike. The unit-test binary replaces
// the global operator new and links with --wrap for malloc, realloc and free; nothing of it
// reaches the module.
//
// The binary also keeps a count of the blocks it holds, so a test can see that an operation
// that failed half-way gave back everything it took. The image driver's own allocations are
// no business of the module: the module's calls into the driver are wrapped so that what the
// driver allocates inside them is neither counted nor failed.
#ifndef QX_TESTS_ALLOC_FAILURE_H
#define QX_TESTS_ALLOC_FAILURE_H

class AllocationFailure {
public:
    enum Kind { k_operatorNew, k_malloc, k_any };

    AllocationFailure(Kind kind, long nth);
    ~AllocationFailure();
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;

    // Whether the chosen allocation was reached and failed.
    bool Failed() const;
    // How many allocations of its kind this one has seen so far, the failed one included.
    long Seen() const;

private:
    long m_nth;
};

// Blocks taken from operator new, malloc and realloc and not yet given back (outside the
// driver's calls).
long LiveAllocations();

// While alive on a thread, that thread's allocations are neither counted nor failed nor
// tallied as live. Nests.
class AllocationPause {
public:
    AllocationPause();
    ~AllocationPause();
    AllocationPause(const AllocationPause&) = delete;
    AllocationPause& operator=(const AllocationPause&) = delete;
};

#endif
