// Initialize: learning from the image driver which interfaces there are, making sure each
// has an active interface file, and keeping one record per interface.
#include "expert/kcsyszeva.h"

#include "expert/interface_file_name.h"

#include <imagedriver.h>

#include <memory>
#include <utility>

namespace {

// The array's size in bytes is checked in the target's 32-bit width on every build, so a
// count the target cannot hold is refused alike by the native build. Null when the array
// cannot be had.
std::unique_ptr<std::uint32_t[]> AllocateSerialNumbers(std::uint32_t count) noexcept {
    constexpr std::uint32_t k_mostEntries = 0xFFFFFFFFu / sizeof(std::uint32_t);
    if (count > k_mostEntries)
        return nullptr;
    try {
        return std::make_unique<std::uint32_t[]>(count); // all zero
    } catch (...) {
        return nullptr;
    }
}

} // namespace

// Out of memory while a record was built or appended: the records appended before it stay,
// the half-built one is gone with the stack.
HRESULT CkcSysZeva::Initialize() noexcept {
    return Locked([&] { return DiscoverInterfaces(); });
}

HRESULT CkcSysZeva::DiscoverInterfaces() {
    qxzevauStatus status = qxzevauGetDriverVersion(&m_driverVersion);
    if (status == 0)
        status = qxzevauDeployInterfaceFiles();
    std::uint32_t count = 0;
    if (status == 0)
        status = qxzevauGetSerialNumber(nullptr, &count);
    if (status != 0)
        return S_FALSE;
    if (count == 0)
        return S_OK;
    const std::unique_ptr<std::uint32_t[]> serialNumbers = AllocateSerialNumbers(count);
    if (!serialNumbers)
        return S_FALSE;
    // The second call may change the count; only the entries allocated are visited.
    const std::uint32_t allocated = count;
    if (qxzevauGetSerialNumber(serialNumbers.get(), &count) != 0)
        return S_FALSE;
    for (std::uint32_t index = 0; index < allocated; ++index) {
        std::optional<InterfaceRecord> record = DiscoverInterface(serialNumbers[index]);
        if (!record)
            break; // this interface and the ones after it get no record
        m_interfaces.push_back(std::move(*record));
    }
    return S_OK;
}

std::optional<InterfaceRecord> CkcSysZeva::DiscoverInterface(std::uint32_t serialNumber) {
    // The driver is given 256 bytes; the byte after them stays zero, so the name handed back
    // to the driver after a claim is terminated even if the claim filled the whole buffer.
    char fileName[QXZEVAU_INTERFACE_FILE_BUFFER + 1] = {};
    qxzevauStatus status = qxzevauGetActiveInterfaceFile(serialNumber, fileName);
    if (status != 0) {
        status = qxzevauClaimNewInterfaceFile(serialNumber, fileName);
        if (status == 0)
            status = qxzevauSetActiveInterfaceFile(serialNumber, fileName);
    }
    std::uint32_t bus = 0;
    std::uint32_t device = 0;
    std::uint32_t function = 0;
    if (status == 0)
        status = qxzevauGetBoardPCILocation(serialNumber, &bus, &device, &function);
    if (status != 0)
        return std::nullopt;

    InterfaceRecord record;
    record.interfaceFileName =
        StripInterfaceExtension(TextInDriverBuffer(fileName, QXZEVAU_INTERFACE_FILE_BUFFER));
    record.serialNumber = serialNumber;
    record.pciBus = bus;
    record.pciDevice = device;
    record.pciFunction = function;
    // Neither status is looked at: a failed call leaves the identifier 0 and the name empty.
    imgGetBoardPCIID(serialNumber, &record.pciId);
    char boardName[QXZEVAU_BOARD_NAME_BUFFER] = {};
    qxzevauGetBoardName(serialNumber, boardName);
    record.boardName = TextInDriverBuffer(boardName, sizeof boardName);
    return record;
}
