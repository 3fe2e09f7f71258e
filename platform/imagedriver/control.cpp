// The control interface of the simulated driver, for tests and the host program.
// The library's API, as its header declares it, is what it exports: the library is built
// with hidden visibility, and its version script names the same functions.
#pragma GCC visibility push(default)
#include "zevadriver_control.h"
#pragma GCC visibility pop

#include "board_description.h"
#include "simulator.h"

#include <algorithm>
#include <cstring>

using zevadriver::Simulator;

namespace {

bool IsFunction(zevadriverFunction function) {
    return function >= ZEVADRIVER_GET_DRIVER_VERSION && function < ZEVADRIVER_FUNCTION_COUNT;
}

void CopyError(const char* text, char* error, size_t errorSize) {
    if (error == nullptr || errorSize == 0)
        return;
    const size_t length = std::min(std::strlen(text), errorSize - 1);
    std::memcpy(error, text, length);
    error[length] = '\0';
}

// A field of the C record into the driver's own. Texts are read only up to one byte past
// the longest the driver keeps, so that a text too long is seen without reading all of it.
void CopyField(std::uint32_t& to, std::uint32_t from, std::uint32_t /*limit*/) {
    to = from;
}
void CopyField(bool& to, int from, std::uint32_t /*limit*/) {
    to = from != 0;
}
void CopyField(std::string& to, const char* from, std::size_t longest) {
    to = from == nullptr ? std::string() : std::string(from, strnlen(from, longest + 1));
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
    if (board == nullptr)
        return ZEVADRIVER_ERROR_BAD_ARGUMENT;
    try {
        zevadriver::Board added;
#define ZEVADRIVER_COPY_FIELD(member, key, kind, limit, required, meaning)                         \
    CopyField(added.member, board->member, limit);
        ZEVADRIVER_BOARD_FIELDS(ZEVADRIVER_COPY_FIELD)
#undef ZEVADRIVER_COPY_FIELD
        return Simulator::Instance().AddBoard(std::move(added));
    } catch (...) {
        return ZEVADRIVER_ERROR_NO_MEMORY;
    }
}

void zevadriverSetDriverVersion(uint32_t version) {
    Guarded([&](Simulator& driver) { driver.SetDriverVersion(version); });
}

int32_t zevadriverSetActiveFile(uint32_t serialNumber, const char* fileName) {
    return Guarded(static_cast<int32_t>(ZEVADRIVER_ERROR_NO_MEMORY),
                   [&](Simulator& driver) { return driver.SetActiveFile(serialNumber, fileName); });
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

size_t zevadriverReadLog(zevadriverCall* calls, size_t capacity) {
    return Guarded(size_t{0}, [&](Simulator& driver) { return driver.ReadLog(calls, capacity); });
}

void zevadriverClearLog(void) {
    Guarded([](Simulator& driver) { driver.ClearLog(); });
}
}
