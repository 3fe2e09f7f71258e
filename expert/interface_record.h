// What discovery learns about one image-acquisition interface.
#ifndef QX_EXPERT_INTERFACE_RECORD_H
#define QX_EXPERT_INTERFACE_RECORD_H

#include <cstdint>
#include <string>

struct InterfaceRecord {
    std::string interfaceFileName; // the item name: active interface file without ".zid"
    std::uint32_t serialNumber = 0;
    std::uint32_t pciId = 0;
    std::string boardName;
    std::uint32_t pciBus = 0;
    std::uint32_t pciDevice = 0;
    std::uint32_t pciFunction = 0;
};

#endif
