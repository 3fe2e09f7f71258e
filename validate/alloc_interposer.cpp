#include "validate/alloc_interposer.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QX_VALIDATE_NO_INTERPOSER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QX_VALIDATE_NO_INTERPOSER 1
#endif
#endif

#ifdef QX_VALIDATE_NO_INTERPOSER

bool AllocatorInterposed() {
    return false;
}
void FailNthAllocation(long) {}
bool SetAllocationGate(bool) {
    return false;
}
bool AllocationFailureReached() {
    return false;
}
long LiveBlocks() {
    return 0;
}
long BlocksTaken() {
    return 0;
}
long GatedAllocations() {
    return 0;
}

#else

#include <atomic>
#include <cerrno>
#include <cstddef>

// glibc's own allocator, under the names it exports for exactly this use.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace {

// Relaxed throughout: the counts are read after the threads that change them are joined, and
// the countdown needs only that each allocation takes one distinct value.
std::atomic<long> g_countdown{0};
std::atomic<bool> g_gate{false};
std::atomic<bool> g_reached{false};
std::atomic<long> g_live{0};
std::atomic<long> g_taken{0};
std::atomic<long> g_gated{0};

bool FailThisOne() {
    if (!g_gate.load(std::memory_order_relaxed))
        return false;
    g_gated.fetch_add(1, std::memory_order_relaxed);
    long left = g_countdown.load(std::memory_order_relaxed);
    while (left > 0 &&
           !g_countdown.compare_exchange_weak(left, left - 1, std::memory_order_relaxed)) {
    }
    if (left != 1)
        return false;
    g_reached.store(true, std::memory_order_relaxed);
    return true;
}

void* Counted(void* block) {
    if (block != nullptr) {
        g_live.fetch_add(1, std::memory_order_relaxed);
        g_taken.fetch_add(1, std::memory_order_relaxed);
    }
    return block;
}

} // namespace

bool AllocatorInterposed() {
    return true;
}

long GatedAllocations() {
    return g_gated.load(std::memory_order_relaxed);
}
void FailNthAllocation(long nth) {
    g_reached.store(false, std::memory_order_relaxed);
    g_countdown.store(nth, std::memory_order_relaxed);
}
bool SetAllocationGate(bool open) {
    return g_gate.exchange(open, std::memory_order_relaxed);
}
bool AllocationFailureReached() {
    return g_reached.load(std::memory_order_relaxed);
}
long LiveBlocks() {
    return g_live.load(std::memory_order_relaxed);
}
long BlocksTaken() {
    return g_taken.load(std::memory_order_relaxed);
}

extern "C" {

void free(void* block);

void* malloc(std::size_t size) {
    if (FailThisOne()) {
        errno = ENOMEM;
        return nullptr;
    }
    return Counted(__libc_malloc(size));
}

void* calloc(std::size_t count, std::size_t size) {
    if (FailThisOne()) {
        errno = ENOMEM;
        return nullptr;
    }
    return Counted(__libc_calloc(count, size));
}

void* realloc(void* block, std::size_t size) {
    if (block == nullptr)
        return malloc(size);
    if (size == 0) {
        free(block);
        return nullptr;
    }
    if (FailThisOne()) {
        errno = ENOMEM;
        return nullptr;
    }
    return __libc_realloc(block, size);
}

void free(void* block) {
    if (block == nullptr)
        return;
    g_live.fetch_sub(1, std::memory_order_relaxed);
    __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size) {
    if (FailThisOne()) {
        errno = ENOMEM;
        return nullptr;
    }
    return Counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
    return memalign(alignment, size);
}

int posix_memalign(void** block, std::size_t alignment, std::size_t size) {
    void* got = memalign(alignment, size);
    if (got == nullptr)
        return ENOMEM;
    *block = got;
    return 0;
}

} // extern "C"

#endif
