// Task ids: every thread gets a small, stable, non-zero number the first time it asks.
// The library's API, as its header declares it, is what it exports: the library is built
// with hidden visibility, and its version script names the same functions.
#pragma GCC visibility push(default)
#include "taskLib.h"
#pragma GCC visibility pop
#include "task_identity.h"

#include <atomic>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::atomic<int> g_lastTaskId{0};
} // namespace

__thread TaskIdentity t_taskIdentity __attribute__((tls_model("initial-exec")));

int AssignTaskIdentity() {
    t_taskIdentity.threadId = static_cast<std::uint32_t>(syscall(SYS_gettid));
    t_taskIdentity.taskId = g_lastTaskId.fetch_add(1, std::memory_order_relaxed) + 1;
    return t_taskIdentity.taskId;
}

extern "C" int taskIdSelf(void) {
    const int id = t_taskIdentity.taskId;
    if (__builtin_expect(id == 0, 0))
        return AssignTaskIdentity();
    return id;
}
