// Minimal simulated driver: two boards, no control yet.
#include "imagedriver.h"

#include <cstdint>
#include <cstring>

namespace {
struct Board {
    std::uint32_t serial;
    const char* file;
    std::uint32_t bus, device, function, pciId;
    const char* name;
};
const Board k_boards[] = {{0x01A2B3C4, "img0.zid", 2, 0, 0, 0x10937A91, "ZEVA PCIe-1433"},
                          {0x01A2B3C5, "img1.zid", 3, 0, 0, 0x10937A92, "ZEVA PCIe-1437"}};
const Board* Find(std::uint32_t serial) {
    for (const Board& board : k_boards)
        if (board.serial == serial)
            return &board;
    return nullptr;
}
void Copy(char* out, const char* text, std::size_t size) {
    std::strncpy(out, text, size - 1);
    out[size - 1] = '\0';
}
} // namespace

extern "C" {
qxzevauStatus qxzevauGetDriverVersion(uint32_t* version) {
    *version = 0x12050000;
    return 0;
}
qxzevauStatus qxzevauDeployInterfaceFiles(void) { return 0; }
qxzevauStatus qxzevauGetSerialNumber(uint32_t* serials, uint32_t* count) {
    if (serials == nullptr) {
        *count = 2;
        return 0;
    }
    for (uint32_t i = 0; i < *count && i < 2; ++i)
        serials[i] = k_boards[i].serial;
    return 0;
}
qxzevauStatus qxzevauGetActiveInterfaceFile(uint32_t serial, char* file) {
    const Board* board = Find(serial);
    if (board == nullptr)
        return -1;
    Copy(file, board->file, QXZEVAU_INTERFACE_FILE_BUFFER);
    return 0;
}
qxzevauStatus qxzevauClaimNewInterfaceFile(uint32_t, char*) { return -1; }
qxzevauStatus qxzevauSetActiveInterfaceFile(uint32_t, const char*) { return -1; }
qxzevauStatus qxzevauGetBoardPCILocation(uint32_t serial, uint32_t* bus, uint32_t* device,
                                         uint32_t* function) {
    const Board* board = Find(serial);
    if (board == nullptr)
        return -1;
    *bus = board->bus;
    *device = board->device;
    *function = board->function;
    return 0;
}
qxzevauStatus imgGetBoardPCIID(uint32_t serial, uint32_t* pciId) {
    const Board* board = Find(serial);
    if (board == nullptr)
        return -1;
    *pciId = board->pciId;
    return 0;
}
qxzevauStatus qxzevauGetBoardName(uint32_t serial, char* name) {
    const Board* board = Find(serial);
    if (board == nullptr)
        return -1;
    Copy(name, board->name, QXZEVAU_BOARD_NAME_BUFFER);
    return 0;
}
}
