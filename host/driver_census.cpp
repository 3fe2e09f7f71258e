// Asking the image driver, through its own functions, which boards it knows.
#include "host/unreported_boards.h"

#include <imagedriver.h>
#include <zevadriver_control.h>

#include <algorithm>

namespace {

std::string StatusText(const char* step, qxzevauStatus status) {
    const char* name = zevadriverStatusName(status);
    return std::string(step) + " (" +
           (name != nullptr ? std::string(name) : "status " + std::to_string(status)) + ")";
}

// The module's discovery step for one board, made again to learn where it fails.
std::string DiscoveryFailure(std::uint32_t serialNumber) {
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

UnreportedBoards FindUnreportedBoards(std::size_t reported) {
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
        found.boards.push_back(board);
    }
    if (!found.boards.empty())
        found.reason = DiscoveryFailure(found.boards.front().serialNumber);
    return found;
}
