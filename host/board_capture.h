// What the image driver answers about its boards, asked through its reading functions only,
// so that a capture changes nothing and works against any driver: the simulated one, or the
// real one on the target.
#ifndef QX_HOST_BOARD_CAPTURE_H
#define QX_HOST_BOARD_CAPTURE_H

#include "host/unreported_boards.h"

#include <cstdint>
#include <string>
#include <vector>

// Each answer with the status the driver gave; a value is meaningful only where its status
// is 0. Texts are the driver's bytes (ISO 8859-1), cut at its buffer's end.
struct CapturedBoard {
    std::uint32_t serialNumber = 0;
    std::int32_t activeStatus = 0;
    std::string activeFile;
    std::int32_t locationStatus = 0;
    std::uint32_t bus = 0, device = 0, function = 0;
    std::int32_t idStatus = 0;
    std::uint32_t pciId = 0;
    std::int32_t nameStatus = 0;
    std::string boardName;
    // Discovery stopped here: why, and whether the board had no active interface file, so
    // that the replay refuses its claim as the driver refused the module's.
    std::string stoppedBecause;
    bool refusesClaims = false;
    bool reported = true; // false from the board discovery stopped at onwards
};

struct BoardCapture {
    std::int32_t versionStatus = 0;
    std::uint32_t driverVersion = 0;
    std::int32_t listStatus = 0;
    std::vector<CapturedBoard> boards; // in the driver's order
};

// The driver's answers now; `unreported` (the census after the module's discovery) says
// where discovery stopped and why.
BoardCapture CaptureBoards(const UnreportedBoards& unreported);

#endif
