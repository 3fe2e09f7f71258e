// Reading a board description: a TOML file that replaces the simulated driver's built-in
// boards. The format, with every key of a board:
//
//   driver_version = 0x15030000
//
//   [[board]]
//   serial_number = 0x01C4A2F0
//   active_file = "img0.zid"   # optional: without it the board has no active file
//   claim_file = "img7.zid"    # optional: the file a claim creates (else the next free imgN)
//   claim_fails = false        # optional: true makes every claim for the board fail
//   pci_bus = 3                # 0..255
//   pci_device = 0             # 0..31
//   pci_function = 0           # 0..7
//   pci_id = 0x74C11F0A
//   board_name = "ZEVA PCIe-4C"
//
// File names end in ".zid" and fit the driver's 256-byte buffer, board names its 50-byte one.
#ifndef ZEVADRIVER_BOARD_DESCRIPTION_H
#define ZEVADRIVER_BOARD_DESCRIPTION_H

#include "board.h"

#include <stdexcept>
#include <string>

namespace zevadriver {

// what() is "file:line:column: problem", or "file: problem" when the file cannot be read.
class DescriptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

BoardSet ReadBoardDescription(const std::string& path);

} // namespace zevadriver

#endif
