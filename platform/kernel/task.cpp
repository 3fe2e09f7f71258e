// Task ids: every thread gets a small, stable, non-zero number the first time it asks.
#include "taskLib.h"
#include "task_identity.h"

#include <atomic>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::atomic<int> g_lastTaskId{0};
} // namespace

__thread TaskIdentity t_taskIdentity;

const TaskIdentity& AssignTaskIdentity() {
    t_taskIdentity.threadId = static_cast<std::uint32_t>(syscall(SYS_gettid));
    t_taskIdentity.taskId = g_lastTaskId.fetch_add(1, std::memory_order_relaxed) + 1;
    return t_taskIdentity;
}

extern "C" int taskIdSelf(void) {
    return CurrentTask().taskId;
}
