#include "host/call_trace.h"

#include <zevadriver_control.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <utility>

std::string DriverCallText(const zevadriverCall& call) {
    char line[160];
    const char* name = zevadriverFunctionName(call.function);
    const char* status = zevadriverStatusName(call.status);
    if (call.serialNumber != 0)
        std::snprintf(line, sizeof line, "driver %s(0x%08" PRIX32 ") = %" PRId32, name,
                      call.serialNumber, call.status);
    else
        std::snprintf(line, sizeof line, "driver %s() = %" PRId32, name, call.status);
    std::string text = line;
    if (status != nullptr)
        text += std::string(" (") + status + ")";
    return text;
}

CallTrace::CallTrace(std::FILE* out) : m_out(out) {
    zevadriverClearLog(); // calls made before the trace began are not the trace's
}

void CallTrace::Enter(std::string call, const char* operation) {
    if (m_stopped)
        return;
    WriteDriverCalls();
    OpenInnermost();
    m_open.push_back({std::move(call), operation, false});
}

void CallTrace::Leave(const std::string& outcome) {
    if (m_stopped || m_open.empty())
        return;
    WriteDriverCalls();
    const OpenCall call = std::move(m_open.back());
    m_open.pop_back();
    if (call.opened)
        Write(m_open.size(), std::string("} ") + call.operation + " " + outcome);
    else
        Write(m_open.size(), call.line + " " + outcome);
}

void CallTrace::Stop() {
    m_stopped = true;
    std::fputs("trace stopped: out of memory\n", m_out);
}

void CallTrace::WriteDriverCalls() {
    // Read whole and cleared, so the log never fills however long the trace runs.
    std::size_t count = 0;
    zevadriverReadLog(nullptr, 0, &count);
    if (count == 0)
        return;
    std::vector<zevadriverCall> calls(count);
    calls[0].size = ZEVADRIVER_CALL_SIZE;
    if (zevadriverReadLog(calls.data(), calls.size(), &count) != 0)
        return;
    calls.resize(std::min(calls.size(), count));
    zevadriverClearLog();
    OpenInnermost();
    for (const zevadriverCall& call : calls)
        Write(m_open.size(), DriverCallText(call));
}

void CallTrace::OpenInnermost() {
    if (m_open.empty() || m_open.back().opened)
        return;
    m_open.back().opened = true;
    Write(m_open.size() - 1, m_open.back().line + " {");
}

void CallTrace::Write(std::size_t depth, const std::string& text) {
    if (std::fprintf(m_out, "%*s%s\n", static_cast<int>(depth * 2), "", text.c_str()) < 0 ||
        std::fflush(m_out) != 0) {
        m_writeError = errno != 0 ? errno : EIO;
        m_stopped = true;
    }
}
