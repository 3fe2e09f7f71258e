#include "board.h"

namespace zevadriver {

BoardSet DefaultBoardSet() {
    BoardSet set;
    set.driverVersion = 0x15030000;
    // Serial, active file, claim file, claim status, bus, device, function, PCI id, name.
    set.boards = {
        {0x01C4A2F0, "img0.zid", "", 0, 3, 0, 0, 0x74C11F0Au, "ZEVA PCIe-4C"},
        {0x01C4A2F7, "img1.zid", "", 0, 4, 0, 0, 0x72C21F0Au, "ZEVA PCIe-2C"},
        {0x00E93B15, "img2.zid", "", 0, 7, 2, 0, 0x61B01F0Au, "ZEVA PCI-1C"},
        {0x0203D4C8, "", "", 0, 9, 0, 1, 0x7CF41F0Au, "ZEVA PCIe-CL"},
    };
    return set;
}

} // namespace zevadriver
