#include "host/pci_slot.h"

#include <cinttypes>
#include <cstdio>

std::string PciSlotText(std::uint32_t bus, std::uint32_t device, std::uint32_t function) {
    char text[32];
    std::snprintf(text, sizeof text, "%02" PRIX32 ":%02" PRIX32 ".%" PRIX32, bus, device, function);
    return text;
}
