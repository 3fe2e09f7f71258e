// Test-only allocation failures: while an AllocationFailure is alive, the n-th operator new
// (counted from 1) throws std::bad_alloc, or the n-th malloc returns null. The unit-test
// binary replaces the global operator new and links with --wrap=malloc for this; nothing of
// it reaches the module.
#ifndef QX_TESTS_ALLOC_FAILURE_H
#define QX_TESTS_ALLOC_FAILURE_H

class AllocationFailure {
public:
    enum Kind { k_operatorNew, k_malloc };

    AllocationFailure(Kind kind, int nth);
    ~AllocationFailure();
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;

    // Whether the chosen allocation was reached and failed.
    bool Failed() const;
};

#endif
