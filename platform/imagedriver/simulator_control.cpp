// The simulator's control side: scripting boards, failures and texts, and reading the log.
#include "simulator.h"

#include "board_rules.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zevadriver {

void Simulator::ReplaceLocked(BoardSet set) {
    std::map<std::string, std::uint32_t> files;
    for (const Board& board : set.boards)
        if (!board.activeFile.empty())
            files.emplace(board.activeFile, board.serialNumber);
    m_set = std::move(set);
    m_files = std::move(files);
    m_refusal = 0;
    IndexBoards();
}

void Simulator::Reset() {
    BoardSet defaults = DefaultBoardSet();
    std::lock_guard<std::mutex> lock(m_mutex);
    ReplaceLocked(std::move(defaults));
    m_failures.Clear();
    m_log.Clear();
    m_serialCountOverride.reset();
    m_unterminatedTexts = 0;
    std::fill(std::begin(m_textBufferSizes), std::end(m_textBufferSizes), 0);
    m_descriptionError.clear();
}

void Simulator::Replace(BoardSet set) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ReplaceLocked(std::move(set));
}

void Simulator::NoteDescriptionError(const std::string& reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_descriptionError = reason;
}

const char* Simulator::LastDescriptionError() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_descriptionError.empty() ? nullptr : m_descriptionError.c_str();
}

void Simulator::ClearBoards() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_set.boards.clear();
    m_files.clear();
    m_refusal = 0;
    IndexBoards();
}

std::int32_t Simulator::AddBoard(Board board, bool valueRules, std::string* reason) {
    const auto refuse = [&](const BoardRefusal& refusal) {
        *reason = refusal.reason;
        return refusal.Row().status;
    };
    std::lock_guard<std::mutex> lock(m_mutex);
    if (Find(board.serialNumber) != nullptr)
        return refuse(DuplicateSerial(board.serialNumber));
    // A file is used when it exists, when a board's claim will create it, or when this
    // board names it twice.
    for (const std::string* file : {&board.activeFile, &board.claimFile}) {
        if (!file->empty() && (m_files.count(*file) != 0 || m_reservedFiles.count(*file) != 0 ||
                               (file == &board.claimFile && *file == board.activeFile)))
            return refuse(DuplicateFile(*file));
    }
    const auto location = std::tuple(board.pciBus, board.pciDevice, board.pciFunction);
    if (valueRules && m_locations.count(location) != 0)
        return refuse(DuplicateLocation(board));
    if (!board.activeFile.empty())
        m_files.emplace(board.activeFile, board.serialNumber);
    m_boardIndex.emplace(board.serialNumber, m_set.boards.size());
    if (!board.claimFile.empty())
        m_reservedFiles.insert(board.claimFile);
    m_locations.insert(location);
    m_set.boards.push_back(std::move(board));
    return 0;
}

void Simulator::SetDriverVersion(std::uint32_t version) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_set.driverVersion = version;
}

std::int32_t Simulator::SetActiveFile(std::uint32_t serialNumber, const std::string& fileName,
                                      std::string* reason) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Board* board = Find(serialNumber);
    if (board == nullptr)
        return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
    if (fileName.empty()) {
        board->activeFile.clear();
        return 0;
    }
    const auto file = m_files.emplace(fileName, serialNumber).first;
    if (file->second != serialNumber) {
        const BoardRefusal refusal = DuplicateFile(fileName);
        *reason = refusal.reason;
        return refusal.Row().status;
    }
    board->activeFile = file->first;
    return 0;
}

std::int32_t Simulator::SetClaimStatus(std::uint32_t serialNumber, std::int32_t status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Board* board = Find(serialNumber);
    if (board == nullptr)
        return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
    board->claimStatus = status;
    board->claimFails = false;
    return 0;
}

void Simulator::FailAlways(zevadriverFunction function, std::int32_t status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failures.FailAlways(function, status);
}

void Simulator::FailOnCall(zevadriverFunction function, std::uint32_t nthCall,
                           std::int32_t status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failures.FailOnCall(function, nthCall, status);
}

void Simulator::ClearFailures() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failures.Clear();
}

void Simulator::OverrideSerialCount(std::uint32_t count) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_serialCountOverride = count;
}

void Simulator::SetUnterminatedTexts(zevadriverFunction function, bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const unsigned bit = 1u << function;
    m_unterminatedTexts = on ? (m_unterminatedTexts | bit) : (m_unterminatedTexts & ~bit);
}

void Simulator::SetTextBufferSize(zevadriverFunction function, std::size_t bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_textBufferSizes[function] = bytes;
}

std::size_t Simulator::ReadLog(zevadriverCall* calls, std::size_t capacity,
                               std::uint32_t recordSize) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_log.Read(calls, capacity, recordSize);
}

void Simulator::ClearLog() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.Clear();
}

} // namespace zevadriver
