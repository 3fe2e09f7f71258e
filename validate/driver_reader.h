// What the image driver itself answers, asked through its reading functions alone (nothing
// that claims, activates or deploys), so that a module's reports can be compared with it. The
// functions are looked up by name in the module's own imports, as the module finds them, so
// this works against any driver the module is linked with.
#ifndef QX_VALIDATE_DRIVER_READER_H
#define QX_VALIDATE_DRIVER_READER_H

#include "qxzeva/module_loader.h"

#include <cstdint>
#include <string>
#include <vector>

struct DriverBoard {
    std::uint32_t serialNumber = 0;
    bool hasActiveFile = false; // false ends discovery at this board
    std::string activeFile;     // 8-bit, as the driver wrote it
    bool locationRead = false;  // false ends discovery at this board too
    std::uint32_t pciBus = 0;
    std::uint32_t pciDevice = 0;
    std::uint32_t pciFunction = 0;
    std::uint32_t pciId = 0;
    std::string boardName; // 8-bit, as the driver wrote it
};

struct DriverAnswers {
    bool reachable = false;  // the module imports the reading functions
    std::int32_t status = 0; // the first failing status of the version or the count, else 0
    std::string failedCall;  // the call that gave it
    std::uint32_t driverVersion = 0;
    std::uint32_t boardCount = 0;
    std::vector<DriverBoard> boards; // every board, in the driver's order
};

// Asks the driver the module imports; counting only, or every board's fields too.
DriverAnswers AskDriver(qx_module* module, bool everyBoard);

// The boards a discovery keeps: those before the first one without an active interface file
// or whose PCI location cannot be read.
std::vector<DriverBoard> DiscoveredBoards(const DriverAnswers& answers);

// The item name of an interface file: without its last four characters when the name is
// longer than ".zid" and holds it anywhere, as discovery strips it.
std::string ItemNameOf(const std::string& fileName);

// Why the simulated driver refused its board description, when the module imports it and it
// did; empty otherwise.
std::string DescriptionError(qx_module* module);

#endif
