#include "alloc_failure.h"

#include <atomic>
#include <cstdlib>
#include <new>

extern "C" void* __real_malloc(std::size_t size);
extern "C" void* __wrap_malloc(std::size_t size);

namespace {

// Allocations left before the failing one; 0 when disarmed.
std::atomic<int> g_newCountdown{0};
std::atomic<int> g_mallocCountdown{0};
std::atomic<bool> g_failed{false};

bool FailThisOne(std::atomic<int>& countdown) {
    int left = countdown.load();
    while (left > 0 && !countdown.compare_exchange_weak(left, left - 1)) {
    }
    if (left != 1)
        return false;
    g_failed = true;
    return true;
}

void* AllocateOrThrow(std::size_t size) {
    if (FailThisOne(g_newCountdown))
        throw std::bad_alloc();
    void* block = __real_malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

} // namespace

AllocationFailure::AllocationFailure(Kind kind, int nth) {
    g_failed = false;
    (kind == k_operatorNew ? g_newCountdown : g_mallocCountdown) = nth;
}

AllocationFailure::~AllocationFailure() {
    g_newCountdown = 0;
    g_mallocCountdown = 0;
}

bool AllocationFailure::Failed() const {
    return g_failed;
}

extern "C" void* __wrap_malloc(std::size_t size) {
    return FailThisOne(g_mallocCountdown) ? nullptr : __real_malloc(size);
}

// Every form the binary may use, so that each block is freed by the matching function.
void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return AllocateOrThrow(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
