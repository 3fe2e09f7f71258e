// The control interface of the simulated driver, for tests and the host program.
// The library's API, as its header declares it, is what it exports: the library is built
// with hidden visibility, and its version script names the same functions.
#pragma GCC visibility push(default)
#include "zevadriver_control.h"
#pragma GCC visibility pop

#include "board_description.h"
#include "board_record.h"
#include "board_rules.h"
#include "simulator.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

using zevadriver::Simulator;

namespace {

bool IsFunction(zevadriverFunction function) {
    return function >= ZEVADRIVER_GET_DRIVER_VERSION &&
           static_cast<std::size_t>(function) < zevadriver::k_functionCount;
}

// Why the calling thread's last board call was refused: per thread, so that a task never
// reads another's reason, and kept until that thread's next board call.
thread_local std::string t_boardError;

std::int32_t RefuseBoard(const zevadriver::BoardRefusal& refusal) {
    t_boardError = refusal.reason;
    return refusal.Row().status;
}

// The rules each field of a board meets alone; with `valueRules` false only those that keep
// the driver sound. A text the host left null or empty is no text: a file it does not name,
// or a name it lacks.
std::int32_t CheckFields(const zevadriver::Board& board, bool valueRules) {
    using zevadriver::BoardKey;
    using zevadriver::FieldKind;
    for (const BoardKey& key : zevadriver::k_boardKeys) {
        std::optional<zevadriver::BoardRefusal> refusal;
        if (key.kind == FieldKind::INTEGER)
            refusal = zevadriver::CheckInteger(key, board.*key.integer);
        else if (key.text != nullptr && (key.required || !(board.*key.text).empty()))
            refusal = zevadriver::CheckText(key, board.*key.text);
        if (refusal && (valueRules || !refusal->Row().valueRule))
            return RefuseBoard(*refusal);
    }
    return 0;
}

std::int32_t AddBoard(const zevadriverBoard* record, bool valueRules) {
    t_boardError.clear();
    if (record == nullptr) {
        t_boardError = "no board record";
        return ZEVADRIVER_ERROR_BAD_ARGUMENT;
    }
    zevadriver::Board board;
    if (!zevadriver::BoardFromRecord(*record, zevadriver::k_boardRecordLayouts, &board)) {
        t_boardError = "zevadriverBoard: size " + std::to_string(record->size) +
                       " is no layout this library knows; set it to sizeof(zevadriverBoard)";
        return ZEVADRIVER_ERROR_BAD_RECORD_SIZE;
    }
    if (const std::int32_t status = CheckFields(board, valueRules); status != 0)
        return status;
    std::string reason;
    const std::int32_t status =
        Simulator::Instance().AddBoard(std::move(board), valueRules, &reason);
    t_boardError = reason;
    return status;
}

void CopyError(const char* text, char* error, size_t errorSize) {
    if (error == nullptr || errorSize == 0)
        return;
    const size_t length = std::min(std::strlen(text), errorSize - 1);
    std::memcpy(error, text, length);
    error[length] = '\0';
}

// The simulator is built at first use and its lock can fail; neither may throw past a C
// function, so each control call reports such a failure as its result or drops it.
template <class Result, class Work>
Result Guarded(Result onFailure, Work work) noexcept {
    try {
        return work(Simulator::Instance());
    } catch (...) {
        return onFailure;
    }
}

template <class Work>
void Guarded(Work work) noexcept {
    try {
        work(Simulator::Instance());
    } catch (...) {
    }
}

} // namespace

extern "C" {

const char* zevadriverFunctionName(zevadriverFunction function) {
    return IsFunction(function) ? k_zevadriverFunctions[function].name : nullptr;
}

const char* zevadriverStatusName(int32_t status) {
    for (const zevadriverStatusEntry& entry : k_zevadriverStatuses)
        if (entry.status == status)
            return entry.name;
    return nullptr;
}

void zevadriverReset(void) {
    Guarded([](Simulator& driver) { driver.Reset(); });
}

int zevadriverLoadDescription(const char* path, char* error, size_t errorSize) {
    try {
        if (path == nullptr)
            throw zevadriver::DescriptionError("no description file named");
        Simulator& driver = Simulator::Instance();
        driver.Replace(zevadriver::ReadBoardDescription(path));
        driver.NoteDescriptionError("");
        CopyError("", error, errorSize);
        return 0;
    } catch (const std::exception& failure) {
        CopyError(failure.what(), error, errorSize);
        Guarded([&](Simulator& driver) { driver.NoteDescriptionError(failure.what()); });
        return -1;
    }
}

const char* zevadriverLastDescriptionError(void) {
    return Guarded(static_cast<const char*>(nullptr),
                   [](Simulator& driver) { return driver.LastDescriptionError(); });
}

void zevadriverClearBoards(void) {
    Guarded([](Simulator& driver) { driver.ClearBoards(); });
}

int32_t zevadriverAddBoard(const zevadriverBoard* board) {
    try {
        return AddBoard(board, true);
    } catch (...) {
        return ZEVADRIVER_ERROR_NO_MEMORY;
    }
}

int32_t zevadriverAddBoardUnchecked(const zevadriverBoard* board) {
    try {
        return AddBoard(board, false);
    } catch (...) {
        return ZEVADRIVER_ERROR_NO_MEMORY;
    }
}

const char* zevadriverLastBoardError(void) {
    return t_boardError.empty() ? nullptr : t_boardError.c_str();
}

void zevadriverSetDriverVersion(uint32_t version) {
    Guarded([&](Simulator& driver) { driver.SetDriverVersion(version); });
}

int32_t zevadriverSetActiveFile(uint32_t serialNumber, const char* fileName) {
    try {
        t_boardError.clear();
        zevadriver::Board file;
        zevadriver::CopyBoardField(file.activeFile, fileName, ZEVADRIVER_MAX_FILE_NAME);
        if (fileName != nullptr) {
            for (const zevadriver::BoardKey& key : zevadriver::k_boardKeys)
                if (key.text == &zevadriver::Board::activeFile)
                    if (const auto refusal = zevadriver::CheckText(key, file.activeFile))
                        return RefuseBoard(*refusal);
        }
        std::string reason;
        const std::int32_t status =
            Simulator::Instance().SetActiveFile(serialNumber, file.activeFile, &reason);
        t_boardError = reason;
        return status;
    } catch (...) {
        return ZEVADRIVER_ERROR_NO_MEMORY;
    }
}

int32_t zevadriverSetClaimStatus(uint32_t serialNumber, int32_t status) {
    return Guarded(static_cast<int32_t>(ZEVADRIVER_ERROR_NO_MEMORY),
                   [&](Simulator& driver) { return driver.SetClaimStatus(serialNumber, status); });
}

void zevadriverFailAlways(zevadriverFunction function, int32_t status) {
    if (IsFunction(function))
        Guarded([&](Simulator& driver) { driver.FailAlways(function, status); });
}

void zevadriverFailOnCall(zevadriverFunction function, uint32_t nthCall, int32_t status) {
    if (IsFunction(function))
        Guarded([&](Simulator& driver) { driver.FailOnCall(function, nthCall, status); });
}

void zevadriverClearFailures(void) {
    Guarded([](Simulator& driver) { driver.ClearFailures(); });
}

void zevadriverOverrideSerialCount(uint32_t count) {
    Guarded([&](Simulator& driver) { driver.OverrideSerialCount(count); });
}

void zevadriverSetUnterminatedTexts(zevadriverFunction function, int on) {
    if (IsFunction(function))
        Guarded([&](Simulator& driver) { driver.SetUnterminatedTexts(function, on != 0); });
}

void zevadriverSetTextBufferSize(zevadriverFunction function, uint32_t bytes) {
    if (IsFunction(function))
        Guarded([&](Simulator& driver) { driver.SetTextBufferSize(function, bytes); });
}

int32_t zevadriverReadLog(zevadriverCall* calls, size_t capacity, size_t* count) {
    const bool copying = calls != nullptr && capacity != 0;
    const std::uint32_t recordSize = copying ? calls[0].size : 0;
    const bool known = !copying || zevadriver::k_callRecordLayouts.Known(recordSize);
    const size_t entries = Guarded(size_t{0}, [&](Simulator& driver) {
        return driver.ReadLog(known ? calls : nullptr, capacity, recordSize);
    });
    if (count != nullptr)
        *count = entries;
    return known ? 0 : ZEVADRIVER_ERROR_BAD_RECORD_SIZE;
}

void zevadriverClearLog(void) {
    Guarded([](Simulator& driver) { driver.ClearLog(); });
}
}
