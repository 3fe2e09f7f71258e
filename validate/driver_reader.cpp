#include "validate/driver_reader.h"

#include <cstring>

namespace {

using GetVersion = std::int32_t (*)(std::uint32_t*);
using GetSerials = std::int32_t (*)(std::uint32_t*, std::uint32_t*);
using GetText = std::int32_t (*)(std::uint32_t, char*);
using GetLocation = std::int32_t (*)(std::uint32_t, std::uint32_t*, std::uint32_t*, std::uint32_t*);
using GetPciId = std::int32_t (*)(std::uint32_t, std::uint32_t*);
using LastError = const char* (*)();

template <class F>
F Lookup(qx_module* module, const char* name) {
    return reinterpret_cast<F>(qxModuleFunction(module, name));
}

// A text the driver wrote into a zero-filled buffer, up to its first zero; the buffers are
// the sizes the driver's contract gives, with a zero kept beyond them.
std::string Text(const char* buffer, std::size_t size) {
    return std::string(buffer, strnlen(buffer, size));
}

} // namespace

DriverAnswers AskDriver(qx_module* module, bool everyBoard) {
    DriverAnswers answers;
    const auto version = Lookup<GetVersion>(module, "qxzevauGetDriverVersion");
    const auto serials = Lookup<GetSerials>(module, "qxzevauGetSerialNumber");
    const auto active = Lookup<GetText>(module, "qxzevauGetActiveInterfaceFile");
    const auto location = Lookup<GetLocation>(module, "qxzevauGetBoardPCILocation");
    const auto pciId = Lookup<GetPciId>(module, "imgGetBoardPCIID");
    const auto name = Lookup<GetText>(module, "qxzevauGetBoardName");
    answers.reachable = version != nullptr && serials != nullptr && active != nullptr &&
                        location != nullptr && pciId != nullptr && name != nullptr;
    if (!answers.reachable)
        return answers;
    answers.status = version(&answers.driverVersion);
    answers.failedCall = "qxzevauGetDriverVersion(&version)";
    if (answers.status == 0) {
        answers.status = serials(nullptr, &answers.boardCount);
        answers.failedCall = "qxzevauGetSerialNumber(null, &count)";
    }
    if (answers.status != 0 || !everyBoard || answers.boardCount == 0)
        return answers;
    std::vector<std::uint32_t> numbers(answers.boardCount);
    std::uint32_t count = answers.boardCount;
    answers.status = serials(numbers.data(), &count);
    answers.failedCall = "qxzevauGetSerialNumber(serials, &count)";
    if (answers.status != 0)
        return answers;
    answers.failedCall.clear();
    numbers.resize(count < numbers.size() ? count : numbers.size());
    for (const std::uint32_t serial : numbers) {
        DriverBoard board;
        board.serialNumber = serial;
        char file[513] = {};
        board.hasActiveFile = active(serial, file) == 0;
        board.activeFile = Text(file, 512);
        board.locationRead =
            location(serial, &board.pciBus, &board.pciDevice, &board.pciFunction) == 0;
        pciId(serial, &board.pciId);
        char boardName[51] = {};
        name(serial, boardName);
        board.boardName = Text(boardName, 50);
        answers.boards.push_back(board);
    }
    return answers;
}

std::vector<DriverBoard> DiscoveredBoards(const DriverAnswers& answers) {
    std::vector<DriverBoard> kept;
    for (const DriverBoard& board : answers.boards) {
        if (!board.hasActiveFile || !board.locationRead)
            break;
        kept.push_back(board);
    }
    return kept;
}

std::string ItemNameOf(const std::string& fileName) {
    const std::string extension = ".zid";
    if (fileName.size() <= extension.size() || fileName.find(extension) == std::string::npos)
        return fileName;
    return fileName.substr(0, fileName.size() - extension.size());
}

std::string DescriptionError(qx_module* module) {
    const auto error = Lookup<LastError>(module, "zevadriverLastDescriptionError");
    const char* text = error != nullptr ? error() : nullptr;
    return text != nullptr ? text : "";
}
