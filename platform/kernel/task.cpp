// Task ids: every thread gets a small, stable, non-zero number the first time it asks.
#include "taskLib.h"

#include <atomic>

namespace {
std::atomic<int> g_lastTaskId{0};
thread_local int t_taskId = 0;
} // namespace

extern "C" int taskIdSelf(void) {
    if (t_taskId == 0)
        t_taskId = g_lastTaskId.fetch_add(1, std::memory_order_relaxed) + 1;
    return t_taskId;
}
