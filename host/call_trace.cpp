#include "host/call_trace.h"

#include "cli/terminal_text.h"
#include "host/pci_slot.h"

#include <zevadriver_control.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <utility>

namespace {

const char* const k_ellipsis = "\xe2\x80\xa6"; // U+2026

// A driver text (ISO 8859-1, a byte a character) as the trace shows it: quoted, in UTF-8,
// escaped as every text the programs show; "…" and the length after a text the log cut.
std::string DriverText(const zevadriverCall& call) {
    const std::size_t kept = strnlen(call.text, sizeof call.text);
    std::string utf8;
    for (std::size_t i = 0; i < kept; ++i) {
        const auto byte = static_cast<unsigned char>(call.text[i]);
        if (byte < 0x80) {
            utf8 += static_cast<char>(byte);
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    std::string text = "\"" + TerminalText(utf8) + "\"";
    if (call.textLength > kept)
        text += k_ellipsis + (" (" + std::to_string(call.textLength) + " bytes)");
    return text;
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, value);
    return text;
}

// What the call wrote, in the order of its parameters: "03:00.0" for a PCI location, the
// serial numbers and their count for the list, the text for a name; empty for none.
std::string WrittenText(const zevadriverCall& call) {
    const std::uint32_t values = std::min<std::uint32_t>(call.valueCount, ZEVADRIVER_CALL_VALUES);
    std::string text;
    switch (call.function) {
    case ZEVADRIVER_GET_SERIAL_NUMBER: {
        // The count is written whenever serial numbers are, and alone for a null array.
        if (values == 0)
            return "";
        if (call.serialCount == 0)
            return std::to_string(call.values[0]);
        const std::uint32_t shown =
            std::min<std::uint32_t>(call.serialCount, ZEVADRIVER_CALL_SERIALS);
        text = "[";
        for (std::uint32_t i = 0; i < shown; ++i)
            text += (i == 0 ? "" : ", ") + Hex(call.serials[i]);
        if (call.serialCount > shown)
            text += std::string(", ") + k_ellipsis + " " +
                    std::to_string(call.serialCount - shown) + " more";
        return text + "], " + std::to_string(call.values[0]);
    }
    case ZEVADRIVER_GET_BOARD_PCI_LOCATION:
        if (values == 3)
            return PciSlotText(call.values[0], call.values[1], call.values[2]);
        break;
    case ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE:
    case ZEVADRIVER_CLAIM_NEW_INTERFACE_FILE:
    case ZEVADRIVER_GET_BOARD_NAME:
        if (call.textLength > 0 || call.status == 0)
            return DriverText(call);
        return "";
    default:
        break;
    }
    for (std::uint32_t i = 0; i < values; ++i)
        text += (i == 0 ? "" : ", ") + Hex(call.values[i]);
    return text;
}

} // namespace

std::string DriverCallText(const zevadriverCall& call) {
    const char* name = zevadriverFunctionName(call.function);
    std::string text =
        "driver " +
        (name != nullptr ? std::string(name) : "function " + std::to_string(call.function)) + "(";
    if (call.serialNumber != 0)
        text += Hex(call.serialNumber);
    if (call.function == ZEVADRIVER_SET_ACTIVE_INTERFACE_FILE)
        text += (call.serialNumber != 0 ? ", " : "") + DriverText(call);
    text += ") = " + std::to_string(call.status);
    if (const char* status = zevadriverStatusName(call.status); status != nullptr)
        text += std::string(" (") + status + ")";
    if (const std::string written = WrittenText(call); !written.empty())
        text += " -> " + written;
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
    for (const zevadriverCall& call : calls) {
        if (call.status != 0)
            m_failed.push_back({call.function, call.serialNumber, call.status});
        Write(m_open.size(), DriverCallText(call));
    }
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
