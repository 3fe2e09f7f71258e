// The trace of every call across the module's interfaces: one line per call, in order,
// indented two spaces per level of nesting, with the simulated driver's calls in between.
#ifndef QX_HOST_CALL_TRACE_H
#define QX_HOST_CALL_TRACE_H

#include "host/unreported_boards.h"

#include <zevadriver_control.h>

#include <cstdio>
#include <string>
#include <vector>

// One call the driver received, with the status's name after a status the driver names and
// what the call wrote after "->", as its log holds it:
//     driver qxzevauGetBoardPCILocation(0x01C4A2F0) = 0 -> 03:00.0
//     driver qxzevauGetActiveInterfaceFile(0x0203D4C8) = -20003 (ZEVADRIVER_ERROR_NO_ACTIVE_FILE)
//     driver qxzevauGetSerialNumber() = 0 -> [0x01C4A2F0, 0x01C4A2F7], 2
std::string DriverCallText(const zevadriverCall& call);

// A call's line is held until the call returns, and is then written whole:
//     IkcSysEnumStringList#2::Next(1) = S_OK -> ["img0"], 1
// A call during which other calls are made opens with " {" and closes with its operation:
//     IkcSysExpert2#1::Initialize() {
//       driver qxzevauGetDriverVersion() = 0 -> 0x15030000
//     } Initialize = S_OK
// The host program is one task: calls arrive one at a time, nested or in sequence.
class CallTrace {
public:
    explicit CallTrace(std::FILE* out); // not owned; written line by line
    CallTrace(const CallTrace&) = delete;
    CallTrace& operator=(const CallTrace&) = delete;

    // call: "Interface#n::Operation(arguments)"; operation: "Operation".
    void Enter(std::string call, const char* operation);
    // outcome: "= RESULT" and, when there are any, " -> out-values".
    void Leave(const std::string& outcome);

    // Writes the driver calls made since the last call across the interfaces: the host
    // program's own, after the module's calls are over.
    void WriteHostDriverCalls() {
        if (!m_stopped)
            WriteDriverCalls();
    }

    // Out of memory while tracing: says so once and traces nothing more.
    void Stop();
    bool Stopped() const { return m_stopped; }
    // The errno of the first write that failed, after which the trace stops; 0 while none has.
    int WriteError() const { return m_writeError; }

    // The driver calls that failed, of those the trace took from the driver's log.
    const std::vector<FailedDriverCall>& FailedCalls() const { return m_failed; }

    // Numbers the objects the trace shows, in the order the host first sees them.
    int NextObjectNumber() { return ++m_objects; }

private:
    struct OpenCall {
        std::string line;
        const char* operation;
        bool opened; // its line is written, with " {"
    };

    // Writes the driver's calls since the last look, each inside the innermost open call.
    void WriteDriverCalls();
    void OpenInnermost();
    void Write(std::size_t depth, const std::string& text);

    std::FILE* m_out;
    std::vector<OpenCall> m_open;
    std::vector<FailedDriverCall> m_failed;
    int m_objects = 0;
    bool m_stopped = false;
    int m_writeError = 0;
};

#endif
