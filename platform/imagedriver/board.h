// What the simulated driver knows about the boards it serves.
#ifndef ZEVADRIVER_BOARD_H
#define ZEVADRIVER_BOARD_H

#include "zevadriver_control.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zevadriver {

// The driver cannot tell a 256-byte file-name buffer from a 512-byte one, so it writes file
// names into the smaller size; board names go into 50 bytes.
constexpr std::size_t k_fileNameBuffer = ZEVADRIVER_MAX_FILE_NAME + 1;
constexpr std::size_t k_boardNameBuffer = ZEVADRIVER_MAX_BOARD_NAME + 1;
constexpr char k_interfaceExtension[] = ".zid";

struct Board {
    std::uint32_t serialNumber = 0;
    std::string activeFile;       // empty: the board has no active interface file
    std::string claimFile;        // the file the next claim creates; empty: the driver picks
    std::int32_t claimStatus = 0; // non-zero: every claim fails with it
    std::uint32_t pciBus = 0;
    std::uint32_t pciDevice = 0;
    std::uint32_t pciFunction = 0;
    std::uint32_t pciId = 0;
    std::string boardName;
};

struct BoardSet {
    std::uint32_t driverVersion = 0;
    std::vector<Board> boards;
};

// A few boards of invented, plausible values, so a fresh machine shows something real; the
// last one has no active interface file yet, so discovery claims one for it.
BoardSet DefaultBoardSet();

} // namespace zevadriver

#endif
