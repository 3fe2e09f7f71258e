// A board's PCI location as the PCI tools write it.
#ifndef QX_HOST_PCI_SLOT_H
#define QX_HOST_PCI_SLOT_H

#include <cstdint>
#include <string>

// Bus, device and function in hexadecimal, two, two and one digits, in the upper case of every
// other hexadecimal number the program shows: "03:00.0", "1A:1F.7". Numbers out of their PCI
// range are written whole rather than cut, so a wrong value shows as wrong.
std::string PciSlotText(std::uint32_t bus, std::uint32_t device, std::uint32_t function);

#endif
