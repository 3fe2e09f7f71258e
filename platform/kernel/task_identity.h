// The calling thread's identities, read from thread-local storage after its first call: the
// task id the kernel's interfaces hand out, and the thread id a semaphore's lock word holds.
#ifndef QX_KERNEL_TASK_IDENTITY_H
#define QX_KERNEL_TASK_IDENTITY_H

#include <cstdint>

struct TaskIdentity {
    int taskId; // 0 until the thread first asks
    std::uint32_t threadId;
};

// Initial-exec: one read at a fixed offset from the thread pointer instead of a call that
// looks the block up. The few bytes come from the space the C library keeps for libraries
// loaded later, so the module may still bring this library in when it is loaded.
extern __thread TaskIdentity t_taskIdentity __attribute__((tls_model("initial-exec")));

// Fills in the calling thread's identities; returns its task id. Once per thread, so kept
// out of line: inlined (the library's hidden visibility lets the compiler), its system call
// made taskIdSelf save a register on every call, two instructions more on each lock and unlock.
[[gnu::noinline, gnu::cold]] int AssignTaskIdentity();

inline const TaskIdentity& CurrentTask() {
    if (__builtin_expect(t_taskIdentity.taskId == 0, 0))
        AssignTaskIdentity();
    return t_taskIdentity;
}

#endif
