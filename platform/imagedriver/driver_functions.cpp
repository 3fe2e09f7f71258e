// The nine functions of the image driver's user library, as the simulation provides them.
// Nothing is thrown past them: a failure inside the simulation becomes a status.

// The library's API, as its header declares it, is what it exports: the library is built
// with hidden visibility, and its version script names the same functions.
#pragma GCC visibility push(default)
#include <imagedriver.h>
#pragma GCC visibility pop
#include "simulator.h"

using zevadriver::Simulator;

namespace {

template <class Work>
qxzevauStatus Guarded(Work work) noexcept {
    try {
        return work(Simulator::Instance());
    } catch (...) {
        return ZEVADRIVER_ERROR_NO_MEMORY;
    }
}

} // namespace

extern "C" {

qxzevauStatus qxzevauGetDriverVersion(uint32_t* version) {
    return Guarded([&](Simulator& driver) { return driver.GetDriverVersion(version); });
}

qxzevauStatus qxzevauDeployInterfaceFiles(void) {
    return Guarded([&](Simulator& driver) { return driver.DeployInterfaceFiles(); });
}

qxzevauStatus qxzevauGetSerialNumber(uint32_t* serialNumbers, uint32_t* count) {
    return Guarded([&](Simulator& driver) { return driver.GetSerialNumber(serialNumbers, count); });
}

qxzevauStatus qxzevauGetActiveInterfaceFile(uint32_t serialNumber, char* fileName) {
    return Guarded(
        [&](Simulator& driver) { return driver.GetActiveInterfaceFile(serialNumber, fileName); });
}

qxzevauStatus qxzevauClaimNewInterfaceFile(uint32_t serialNumber, char* fileName) {
    return Guarded(
        [&](Simulator& driver) { return driver.ClaimNewInterfaceFile(serialNumber, fileName); });
}

qxzevauStatus qxzevauSetActiveInterfaceFile(uint32_t serialNumber, const char* fileName) {
    return Guarded(
        [&](Simulator& driver) { return driver.SetActiveInterfaceFile(serialNumber, fileName); });
}

qxzevauStatus qxzevauGetBoardPCILocation(uint32_t serialNumber, uint32_t* bus, uint32_t* device,
                                         uint32_t* function) {
    return Guarded([&](Simulator& driver) {
        return driver.GetBoardPCILocation(serialNumber, bus, device, function);
    });
}

qxzevauStatus imgGetBoardPCIID(uint32_t serialNumber, uint32_t* pciId) {
    return Guarded([&](Simulator& driver) { return driver.GetBoardPCIID(serialNumber, pciId); });
}

qxzevauStatus qxzevauGetBoardName(uint32_t serialNumber, char* boardName) {
    return Guarded([&](Simulator& driver) { return driver.GetBoardName(serialNumber, boardName); });
}
}
