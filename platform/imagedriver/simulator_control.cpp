// The simulator's control side: scripting boards, failures and texts, and reading the log.
#include "simulator.h"

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

std::int32_t Simulator::AddBoard(Board board) {
    for (const BoardKey& key : k_boardKeys)
        if (key.text != nullptr && (board.*key.text).size() > key.limit)
            return ZEVADRIVER_ERROR_NAME_TOO_LONG;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (Find(board.serialNumber) != nullptr)
        return ZEVADRIVER_ERROR_DUPLICATE_SERIAL;
    if (!board.activeFile.empty()) {
        const auto owner = m_files.find(board.activeFile);
        if (owner != m_files.end() && owner->second != board.serialNumber)
            return ZEVADRIVER_ERROR_FILE_EXISTS;
        m_files.emplace(board.activeFile, board.serialNumber);
    }
    m_boardIndex.emplace(board.serialNumber, m_set.boards.size());
    if (!board.claimFile.empty())
        m_reservedFiles.insert(board.claimFile);
    m_set.boards.push_back(std::move(board));
    return 0;
}

void Simulator::SetDriverVersion(std::uint32_t version) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_set.driverVersion = version;
}

std::int32_t Simulator::SetActiveFile(std::uint32_t serialNumber, const char* fileName) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Board* board = Find(serialNumber);
    if (board == nullptr)
        return ZEVADRIVER_ERROR_UNKNOWN_SERIAL;
    if (fileName == nullptr) {
        board->activeFile.clear();
        return 0;
    }
    const std::size_t length = strnlen(fileName, ZEVADRIVER_MAX_FILE_NAME + 1);
    if (length == 0)
        return ZEVADRIVER_ERROR_BAD_ARGUMENT;
    if (length > ZEVADRIVER_MAX_FILE_NAME)
        return ZEVADRIVER_ERROR_NAME_TOO_LONG;
    const auto file = m_files.emplace(std::string(fileName, length), serialNumber).first;
    if (file->second != serialNumber)
        return ZEVADRIVER_ERROR_FILE_EXISTS;
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

std::size_t Simulator::ReadLog(zevadriverCall* calls, std::size_t capacity) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_log.Read(calls, capacity);
}

void Simulator::ClearLog() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.Clear();
}

} // namespace zevadriver
