#include "alloc_counter.h"

#include <cstdlib>
#include <new>

extern "C" {
void* __real_malloc(std::size_t size);
void* __real_realloc(void* block, std::size_t size);
void __real_free(void* block);
void* __wrap_malloc(std::size_t size);
void* __wrap_realloc(void* block, std::size_t size);
void __wrap_free(void* block);
}

namespace {

// Only the measuring thread counts, so plain thread-local counters are exact and cost the
// measured code nothing but a test of one flag.
thread_local bool t_counting = false;
thread_local AllocationTally t_tally;

void CountBlock(std::size_t size) {
    if (!t_counting)
        return;
    ++t_tally.blocks;
    t_tally.bytes += size;
}

void CountFree(void* block) {
    if (t_counting && block != nullptr)
        ++t_tally.frees;
}

void CountSizedFree(void* block, std::size_t size) {
    if (t_counting && block != nullptr)
        t_tally.sizedFreeBytes += size;
}

void* AllocateOrThrow(std::size_t size) {
    CountBlock(size);
    void* block = __real_malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void Release(void* block) noexcept {
    CountFree(block);
    __real_free(block);
}

} // namespace

AllocationCounter::AllocationCounter() {
    t_tally = AllocationTally();
    t_counting = true;
}

AllocationCounter::~AllocationCounter() {
    t_counting = false;
}

AllocationTally AllocationCounter::Tally() const {
    return t_tally;
}

extern "C" void* __wrap_malloc(std::size_t size) {
    CountBlock(size);
    return __real_malloc(size);
}

// A realloc of an existing block replaces it: counted as a block only when it starts one.
extern "C" void* __wrap_realloc(void* block, std::size_t size) {
    if (block == nullptr)
        CountBlock(size);
    return __real_realloc(block, size);
}

extern "C" void __wrap_free(void* block) {
    CountFree(block);
    __real_free(block);
}

// Every form the binary may use, so that each block is freed by the matching function.
void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    CountBlock(size);
    return __real_malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete[](void* block) noexcept {
    Release(block);
}
void operator delete(void* block, std::size_t size) noexcept {
    CountSizedFree(block, size);
    Release(block);
}
void operator delete[](void* block, std::size_t size) noexcept {
    CountSizedFree(block, size);
    Release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    Release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    Release(block);
}
