#include "board_description.h"

namespace zevadriver {

// Written as a description file would be, so each value stands beside its key.
constexpr char k_defaultBoards[] = R"(driver_version = 0x15030000
[[board]]
serial_number = 0x01C4A2F0
active_file = "img0.zid"
pci_bus = 3
pci_device = 0
pci_function = 0
pci_id = 0x74C11F0A
board_name = "ZEVA PCIe-4C"
[[board]]
serial_number = 0x01C4A2F7
active_file = "img1.zid"
pci_bus = 4
pci_device = 0
pci_function = 0
pci_id = 0x72C21F0A
board_name = "ZEVA PCIe-2C"
[[board]]
serial_number = 0x00E93B15
active_file = "img2.zid"
pci_bus = 7
pci_device = 2
pci_function = 0
pci_id = 0x61B01F0A
board_name = "ZEVA PCI-1C"
[[board]]
serial_number = 0x0203D4C8
pci_bus = 9
pci_device = 0
pci_function = 1
pci_id = 0x7CF41F0A
board_name = "ZEVA PCIe-CL"
)";

BoardSet DefaultBoardSet() {
    return ReadBoardText(k_defaultBoards, "built-in boards");
}

} // namespace zevadriver
