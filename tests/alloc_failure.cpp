#include "alloc_failure.h"

#include <imagedriver.h>
#include <zevadriver_control.h>

#include <execinfo.h>
#include <unistd.h>

#include <atomic>
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

// Allocations left before the failing one; 0 when disarmed.
std::atomic<long> g_newCountdown{0};
std::atomic<long> g_mallocCountdown{0};
std::atomic<long> g_anyCountdown{0};
std::atomic<long> g_seen{0};
std::atomic<bool> g_failed{false};
std::atomic<long> g_live{0};
thread_local int t_paused = 0;

// Counts one allocation against countdown; true for the one that must fail.
bool Tick(std::atomic<long>& countdown) {
    long left = countdown.load();
    while (left > 0 && !countdown.compare_exchange_weak(left, left - 1)) {
    }
    if (left <= 0)
        return false;
    ++g_seen;
    if (left != 1)
        return false;
    g_failed = true;
    // QX_ALLOC_TRACE=1 shows where the failing allocation was asked for.
    static const bool trace = std::getenv("QX_ALLOC_TRACE") != nullptr;
    if (trace) {
        void* frames[24];
        const int depth = backtrace(frames, 24);
        backtrace_symbols_fd(frames, depth, STDERR_FILENO);
        // A separator lost to a failed write only makes the trace harder to read.
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, "----\n", 5);
    }
    return true;
}

bool FailNew() {
    if (t_paused > 0)
        return false;
    const bool byKind = Tick(g_newCountdown);
    return Tick(g_anyCountdown) || byKind;
}

bool FailMalloc() {
    if (t_paused > 0)
        return false;
    const bool byKind = Tick(g_mallocCountdown);
    return Tick(g_anyCountdown) || byKind;
}

void Tally(long blocks) {
    if (t_paused == 0)
        g_live += blocks;
}

void* AllocateOrThrow(std::size_t size) {
    if (FailNew())
        throw std::bad_alloc();
    void* block = __real_malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    Tally(1);
    return block;
}

} // namespace

AllocationFailure::AllocationFailure(Kind kind, long nth) : m_nth(nth) {
    g_failed = false;
    g_seen = 0;
    (kind == k_operatorNew ? g_newCountdown
     : kind == k_malloc    ? g_mallocCountdown
                           : g_anyCountdown) = nth;
}

AllocationFailure::~AllocationFailure() {
    g_newCountdown = 0;
    g_mallocCountdown = 0;
    g_anyCountdown = 0;
}

bool AllocationFailure::Failed() const {
    return g_failed;
}

long AllocationFailure::Seen() const {
    return g_seen;
}

long LiveAllocations() {
    return g_live;
}

AllocationPause::AllocationPause() {
    ++t_paused;
}
AllocationPause::~AllocationPause() {
    --t_paused;
}

extern "C" void* __wrap_malloc(std::size_t size) {
    if (FailMalloc())
        return nullptr;
    void* block = __real_malloc(size);
    if (block != nullptr)
        Tally(1);
    return block;
}

extern "C" void* __wrap_realloc(void* block, std::size_t size) {
    if (FailMalloc())
        return nullptr; // the old block stays valid, as after a real failure
    void* resized = __real_realloc(block, size);
    if (block == nullptr && resized != nullptr)
        Tally(1);
    return resized;
}

extern "C" void __wrap_free(void* block) {
    if (block != nullptr)
        Tally(-1);
    __real_free(block);
}

// The module's calls into the image driver: whatever the driver allocates is its own. Each
// function of the driver's list is wrapped (the build gives the linker the same list).
#define QX_PAUSED_DRIVER_CALL(enumerator, name, parameters, arguments)                             \
    extern "C" qxzevauStatus __real_##name parameters;                                             \
    extern "C" qxzevauStatus __wrap_##name parameters {                                            \
        AllocationPause pause;                                                                     \
        return __real_##name arguments;                                                            \
    }
ZEVADRIVER_FUNCTIONS(QX_PAUSED_DRIVER_CALL)
#undef QX_PAUSED_DRIVER_CALL

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
