// Asking the image driver, through its own functions, which boards it knows.
#include "host/unreported_boards.h"

#include <imagedriver.h>
#include <zevadriver_control.h>

#include <algorithm>
#include <vector>

namespace {

std::string StatusText(const char* step, qxzevauStatus status) {
    const char* name = zevadriverStatusName(status);
    return std::string(step) + " (" +
           (name != nullptr ? std::string(name) : "status " + std::to_string(status)) + ")";
}

// What the driver answered the module for this board's step of discovery that failed, as
// the driver's call log holds it or, before that, the calls a trace took from it; empty
// when neither holds it (the log keeps the first calls after it was cleared).
std::string LoggedFailure(std::uint32_t serialNumber, const std::vector<FailedDriverCall>& traced) {
    std::vector<FailedDriverCall> failed = traced;
    std::size_t count = 0;
    zevadriverReadLog(nullptr, 0, &count);
    if (count != 0) {
        std::vector<zevadriverCall> calls(count);
        calls[0].size = ZEVADRIVER_CALL_SIZE;
        if (zevadriverReadLog(calls.data(), calls.size(), &count) == 0) {
            calls.resize(std::min(calls.size(), count));
            for (const zevadriverCall& call : calls)
                if (call.status != 0)
                    failed.push_back({call.function, call.serialNumber, call.status});
        }
    }
    for (auto call = failed.rbegin(); call != failed.rend(); ++call) {
        if (call->serialNumber != serialNumber)
            continue;
        switch (call->function) {
        case ZEVADRIVER_CLAIM_NEW_INTERFACE_FILE:
            return StatusText("claim refused", call->status);
        case ZEVADRIVER_SET_ACTIVE_INTERFACE_FILE:
            return StatusText("activation refused", call->status);
        case ZEVADRIVER_GET_BOARD_PCI_LOCATION:
            return StatusText("no PCI location", call->status);
        default:
            break;
        }
    }
    return {};
}

// Why discovery stopped at this board, from what the driver answers to reads alone: a board
// without an active interface file had its claim or its activation refused; one with a file
// had no PCI location.
std::string ReadOnlyFailure(std::uint32_t serialNumber,
                            const std::vector<FailedDriverCall>& traced) {
    if (std::string logged = LoggedFailure(serialNumber, traced); !logged.empty())
        return logged;
    char fileName[QXZEVAU_INTERFACE_FILE_BUFFER + 1] = {};
    if (const qxzevauStatus status = qxzevauGetActiveInterfaceFile(serialNumber, fileName))
        return StatusText("no active interface file", status) +
               ", so its claim or activation was refused (--probe claims one to learn which)";
    std::uint32_t bus = 0, device = 0, function = 0;
    if (const qxzevauStatus status =
            qxzevauGetBoardPCILocation(serialNumber, &bus, &device, &function))
        return StatusText("no PCI location", status);
    return "the driver answers for it when asked again";
}

// The module's discovery step for one board, made again to learn where it fails: it may
// claim and activate an interface file.
std::string ProbedFailure(std::uint32_t serialNumber) {
    char fileName[QXZEVAU_INTERFACE_FILE_BUFFER + 1] = {};
    if (qxzevauGetActiveInterfaceFile(serialNumber, fileName) != 0) {
        if (const qxzevauStatus status = qxzevauClaimNewInterfaceFile(serialNumber, fileName))
            return StatusText("claim refused", status);
        if (const qxzevauStatus status = qxzevauSetActiveInterfaceFile(serialNumber, fileName))
            return StatusText("activation refused", status);
    }
    std::uint32_t bus = 0, device = 0, function = 0;
    if (const qxzevauStatus status =
            qxzevauGetBoardPCILocation(serialNumber, &bus, &device, &function))
        return StatusText("no PCI location", status);
    return "the driver answers for it when asked again";
}

} // namespace

UnreportedBoards FindUnreportedBoards(std::size_t reported, CensusMode mode,
                                      const std::vector<FailedDriverCall>& traced) {
    UnreportedBoards found;
    std::uint32_t count = 0;
    if (qxzevauGetSerialNumber(nullptr, &count) != 0 || count <= reported)
        return found;
    std::vector<std::uint32_t> serials(count);
    if (qxzevauGetSerialNumber(serials.data(), &count) != 0)
        return found;
    serials.resize(std::min<std::size_t>(serials.size(), count));
    found.driverCount = serials.size();
    for (std::size_t index = reported; index < serials.size(); ++index) {
        UnreportedBoard board;
        board.serialNumber = serials[index];
        std::uint32_t bus = 0, device = 0, function = 0;
        if (qxzevauGetBoardPCILocation(board.serialNumber, &bus, &device, &function) == 0) {
            board.bus = bus;
            board.device = device;
            board.function = function;
        }
        if (std::uint32_t pciId = 0; imgGetBoardPCIID(board.serialNumber, &pciId) == 0)
            board.pciId = pciId;
        found.boards.push_back(board);
    }
    if (!found.boards.empty()) {
        const std::uint32_t first = found.boards.front().serialNumber;
        found.reason =
            mode == CensusMode::probe ? ProbedFailure(first) : ReadOnlyFailure(first, traced);
    }
    return found;
}
