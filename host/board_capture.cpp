#include "host/board_capture.h"

#include <imagedriver.h>

#include <cstring>
#include <vector>

namespace {

// A driver text in its buffer: up to its terminating zero or the buffer's end, whichever
// comes first, as a driver that fills the buffer leaves no zero.
std::string TextIn(const char* buffer, std::size_t size) {
    return std::string(buffer, strnlen(buffer, size));
}

CapturedBoard CaptureBoard(std::uint32_t serialNumber) {
    CapturedBoard board;
    board.serialNumber = serialNumber;
    char fileName[QXZEVAU_INTERFACE_FILE_BUFFER + 1] = {};
    board.activeStatus = qxzevauGetActiveInterfaceFile(serialNumber, fileName);
    if (board.activeStatus == 0)
        board.activeFile = TextIn(fileName, QXZEVAU_INTERFACE_FILE_BUFFER);
    board.locationStatus =
        qxzevauGetBoardPCILocation(serialNumber, &board.bus, &board.device, &board.function);
    board.idStatus = imgGetBoardPCIID(serialNumber, &board.pciId);
    char boardName[QXZEVAU_BOARD_NAME_BUFFER + 1] = {};
    board.nameStatus = qxzevauGetBoardName(serialNumber, boardName);
    if (board.nameStatus == 0)
        board.boardName = TextIn(boardName, QXZEVAU_BOARD_NAME_BUFFER);
    return board;
}

} // namespace

BoardCapture CaptureBoards(const UnreportedBoards& unreported) {
    BoardCapture capture;
    capture.versionStatus = qxzevauGetDriverVersion(&capture.driverVersion);
    std::uint32_t count = 0;
    capture.listStatus = qxzevauGetSerialNumber(nullptr, &count);
    if (capture.listStatus != 0)
        return capture;
    std::vector<std::uint32_t> serials(count);
    capture.listStatus = qxzevauGetSerialNumber(serials.data(), &count);
    if (capture.listStatus != 0)
        return capture;
    serials.resize(std::min<std::size_t>(serials.size(), count));
    const std::uint32_t stoppedAt =
        unreported.boards.empty() ? 0 : unreported.boards.front().serialNumber;
    bool reported = true;
    for (const std::uint32_t serial : serials) {
        CapturedBoard board = CaptureBoard(serial);
        if (!unreported.boards.empty() && serial == stoppedAt && reported) {
            reported = false;
            board.stoppedBecause = unreported.reason;
            board.refusesClaims = board.activeStatus != 0;
        }
        board.reported = reported;
        capture.boards.push_back(std::move(board));
    }
    return capture;
}
