#include "simulator.h"

#include "board_description.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace zevadriver {

Simulator& Simulator::Instance() {
    static Simulator simulator;
    return simulator;
}

// A rejected file leaves no boards rather than the built-in ones: a host that was given a
// file and quietly shown other boards would take them for the boards it asked for.
Simulator::Simulator() {
    // NOLINTNEXTLINE(concurrency-mt-unsafe): nothing here sets the environment
    const char* path = std::getenv("ZEVADRIVER_BOARDS");
    if (path == nullptr || *path == '\0') {
        ReplaceLocked(DefaultBoardSet());
        return;
    }
    try {
        ReplaceLocked(ReadBoardDescription(path));
    } catch (const DescriptionError& error) {
        std::fprintf(stderr, "zevadriver: %s; the driver serves no boards\n", error.what());
        m_refusal = ZEVADRIVER_ERROR_BAD_DESCRIPTION;
        m_descriptionError = error.what();
    }
}

template <class Work>
qxzevauStatus Simulator::Call(zevadriverFunction function, std::uint32_t serialNumber, Work work,
                              const char* givenFileName) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_output = CallOutput{};
    // Never read past the caller's buffer, even when the name in it is not terminated.
    if (givenFileName != nullptr)
        m_output.Text(givenFileName, strnlen(givenFileName, k_fileNameBuffer));
    qxzevauStatus status = m_failures.NextCall(function);
    if (status == 0)
        status = m_refusal;
    if (status == 0) {
        try {
            status = work();
        } catch (const std::bad_alloc&) {
            status = ZEVADRIVER_ERROR_NO_MEMORY;
        }
    }
    m_log.Append(function, serialNumber, status, m_output);
    return status;
}

Board* Simulator::Find(std::uint32_t serialNumber) {
    const auto found = m_boardIndex.find(serialNumber);
    return found == m_boardIndex.end() ? nullptr : &m_set.boards[found->second];
}

void Simulator::IndexBoards() {
    m_boardIndex.clear();
    m_reservedFiles.clear();
    m_locations.clear();
    for (std::size_t index = 0; index < m_set.boards.size(); ++index) {
        const Board& board = m_set.boards[index];
        m_boardIndex.emplace(board.serialNumber, index);
        m_locations.emplace(board.pciBus, board.pciDevice, board.pciFunction);
        if (!board.claimFile.empty())
            m_reservedFiles.insert(board.claimFile);
    }
    m_nextFreeNumber = 0;
}

// The first "imgN.zid" that is neither a file nor the name a board's claim will create.
std::string Simulator::UnusedFileName() {
    for (;; ++m_nextFreeNumber) {
        std::string name = "img" + std::to_string(m_nextFreeNumber) + k_interfaceExtension;
        if (m_files.count(name) == 0 && m_reservedFiles.count(name) == 0)
            return name;
    }
}

void Simulator::WriteText(zevadriverFunction function, char* out, const std::string& text,
                          std::size_t bufferSize) {
    if (m_textBufferSizes[function] != 0)
        bufferSize = m_textBufferSizes[function];
    if ((m_unterminatedTexts & (1u << function)) != 0) {
        const std::size_t length = std::min(text.size(), bufferSize);
        std::memcpy(out, text.data(), length);
        std::memset(out + length, '#', bufferSize - length);
        m_output.Text(out, bufferSize);
        return;
    }
    const std::size_t length = std::min(text.size(), bufferSize - 1);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
    m_output.Text(out, length);
}

qxzevauStatus Simulator::qxzevauGetDriverVersion(std::uint32_t* version) {
    return Call(ZEVADRIVER_GET_DRIVER_VERSION, 0, [&]() -> qxzevauStatus {
        if (version == nullptr)
            return ZEVADRIVER_ERROR_BAD_ARGUMENT;
        *version = m_set.driverVersion;
        m_output.Value(*version);
        return 0;
    });
}

qxzevauStatus Simulator::qxzevauDeployInterfaceFiles() {
    return Call(ZEVADRIVER_DEPLOY_INTERFACE_FILES, 0, [&]() -> qxzevauStatus {
        for (const Board& board : m_set.boards)
            if (!board.activeFile.empty())
                m_files.emplace(board.activeFile, board.serialNumber);
        return 0;
    });
}

qxzevauStatus Simulator::qxzevauGetSerialNumber(std::uint32_t* serialNumbers,
                                                std::uint32_t* count) {
    return Call(ZEVADRIVER_GET_SERIAL_NUMBER, 0, [&]() -> qxzevauStatus {
        if (count == nullptr)
            return ZEVADRIVER_ERROR_BAD_ARGUMENT;
        const auto boards = static_cast<std::uint32_t>(m_set.boards.size());
        if (serialNumbers == nullptr) {
            *count = m_serialCountOverride.value_or(boards);
            m_serialCountOverride.reset();
            m_output.Value(*count);
            return 0;
        }
        const std::uint32_t filled = std::min(*count, boards);
        for (std::uint32_t index = 0; index < filled; ++index) {
            serialNumbers[index] = m_set.boards[index].serialNumber;
            m_output.Serial(serialNumbers[index]);
        }
        const bool tooSmall = *count < boards;
        *count = boards;
        m_output.Value(*count);
        return tooSmall ? ZEVADRIVER_ERROR_BUFFER_TOO_SMALL : 0;
    });
}

qxzevauStatus Simulator::qxzevauGetActiveInterfaceFile(std::uint32_t serialNumber, char* fileName) {
    const auto function = ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE;
    return Call(function, serialNumber, [&]() -> qxzevauStatus {
        const Board* board = Find(serialNumber);
        if (board == nullptr)
            return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
        if (fileName == nullptr)
            return ZEVADRIVER_ERROR_BAD_ARGUMENT;
        if (board->activeFile.empty())
            return ZEVADRIVER_ERROR_NO_ACTIVE_FILE;
        WriteText(function, fileName, board->activeFile, k_fileNameBuffer);
        return 0;
    });
}

qxzevauStatus Simulator::qxzevauClaimNewInterfaceFile(std::uint32_t serialNumber, char* fileName) {
    const auto function = ZEVADRIVER_CLAIM_NEW_INTERFACE_FILE;
    return Call(function, serialNumber, [&]() -> qxzevauStatus {
        Board* board = Find(serialNumber);
        if (board == nullptr)
            return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
        if (fileName == nullptr)
            return ZEVADRIVER_ERROR_BAD_ARGUMENT;
        if (const std::int32_t refusal = board->ClaimRefusal(); refusal != 0)
            return refusal;
        std::string name = board->claimFile.empty() ? UnusedFileName() : board->claimFile;
        if (!m_files.emplace(name, serialNumber).second)
            return ZEVADRIVER_ERROR_FILE_EXISTS;
        if (!board->claimFile.empty())
            m_reservedFiles.erase(m_reservedFiles.find(board->claimFile));
        board->claimFile.clear();
        WriteText(function, fileName, name, k_fileNameBuffer);
        return 0;
    });
}

qxzevauStatus Simulator::qxzevauSetActiveInterfaceFile(std::uint32_t serialNumber,
                                                       const char* fileName) {
    const auto function = ZEVADRIVER_SET_ACTIVE_INTERFACE_FILE;
    const auto work = [&]() -> qxzevauStatus {
        Board* board = Find(serialNumber);
        if (board == nullptr)
            return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
        if (fileName == nullptr)
            return ZEVADRIVER_ERROR_BAD_ARGUMENT;
        // Never read past the caller's buffer, even when the name in it is not terminated.
        const std::size_t length = strnlen(fileName, k_fileNameBuffer);
        if (length == k_fileNameBuffer)
            return ZEVADRIVER_ERROR_NAME_TOO_LONG;
        const auto file = m_files.find(std::string(fileName, length));
        if (file == m_files.end() || file->second != serialNumber)
            return ZEVADRIVER_ERROR_UNKNOWN_FILE;
        board->activeFile = file->first;
        return 0;
    };
    return Call(function, serialNumber, work, fileName);
}

qxzevauStatus Simulator::qxzevauGetBoardPCILocation(std::uint32_t serialNumber, std::uint32_t* bus,
                                                    std::uint32_t* device,
                                                    std::uint32_t* function) {
    return Call(ZEVADRIVER_GET_BOARD_PCI_LOCATION, serialNumber, [&]() -> qxzevauStatus {
        const Board* board = Find(serialNumber);
        if (board == nullptr)
            return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
        if (bus == nullptr || device == nullptr || function == nullptr)
            return ZEVADRIVER_ERROR_BAD_ARGUMENT;
        *bus = board->pciBus;
        *device = board->pciDevice;
        *function = board->pciFunction;
        m_output.Value(*bus);
        m_output.Value(*device);
        m_output.Value(*function);
        return 0;
    });
}

qxzevauStatus Simulator::imgGetBoardPCIID(std::uint32_t serialNumber, std::uint32_t* pciId) {
    return Call(ZEVADRIVER_GET_BOARD_PCI_ID, serialNumber, [&]() -> qxzevauStatus {
        const Board* board = Find(serialNumber);
        if (board == nullptr)
            return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
        if (pciId == nullptr)
            return ZEVADRIVER_ERROR_BAD_ARGUMENT;
        *pciId = board->pciId;
        m_output.Value(*pciId);
        return 0;
    });
}

qxzevauStatus Simulator::qxzevauGetBoardName(std::uint32_t serialNumber, char* boardName) {
    const auto function = ZEVADRIVER_GET_BOARD_NAME;
    return Call(function, serialNumber, [&]() -> qxzevauStatus {
        const Board* board = Find(serialNumber);
        if (board == nullptr)
            return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
        if (boardName == nullptr)
            return ZEVADRIVER_ERROR_BAD_ARGUMENT;
        WriteText(function, boardName, board->boardName, k_boardNameBuffer);
        return 0;
    });
}

} // namespace zevadriver
