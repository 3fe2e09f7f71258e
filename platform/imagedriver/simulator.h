// The simulated image driver's state and the work behind its functions and its
// control interface. One instance per process; one lock serialises everything.
#ifndef ZEVADRIVER_SIMULATOR_H
#define ZEVADRIVER_SIMULATOR_H

#include "board.h"
#include "call_control.h"
#include <imagedriver.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <unordered_map>

namespace zevadriver {

class Simulator {
public:
    // Built at first use, from ZEVADRIVER_BOARDS when that names a file; without boards,
    // refusing every driver call, when the file is rejected.
    static Simulator& Instance();

    // The driver functions, each a method of the function's own name.
#define ZEVADRIVER_METHOD(enumerator, name, parameters, arguments) qxzevauStatus name parameters;
    ZEVADRIVER_FUNCTIONS(ZEVADRIVER_METHOD)
#undef ZEVADRIVER_METHOD

    // The control interface.
    void Reset();
    void Replace(BoardSet set);
    void ClearBoards();
    // Adds a board whose fields passed their rules (board_rules.h), after the rules between
    // boards: its serial number, its files, and with `valueRules` its PCI location. A refusal
    // gives its status and its reason in `reason`.
    std::int32_t AddBoard(Board board, bool valueRules, std::string* reason);
    void SetDriverVersion(std::uint32_t version);
    std::int32_t SetActiveFile(std::uint32_t serialNumber, const std::string& fileName,
                               std::string* reason);
    std::int32_t SetClaimStatus(std::uint32_t serialNumber, std::int32_t status);
    void FailAlways(zevadriverFunction function, std::int32_t status);
    void FailOnCall(zevadriverFunction function, std::uint32_t nthCall, std::int32_t status);
    void ClearFailures();
    void OverrideSerialCount(std::uint32_t count);
    void SetUnterminatedTexts(zevadriverFunction function, bool on);
    void SetTextBufferSize(zevadriverFunction function, std::size_t bytes);
    std::size_t ReadLog(zevadriverCall* calls, std::size_t capacity, std::uint32_t recordSize);
    void ClearLog();
    // Why the last description read was refused ("" when it was accepted, none was read or
    // the driver was reset since): kept for zevadriverLastDescriptionError.
    void NoteDescriptionError(const std::string& reason);
    const char* LastDescriptionError();

private:
    Simulator();

    // Runs one driver call under the lock: a scripted failure replaces the work, and the
    // call goes into the log with the status it returns, what the work wrote (m_output) and
    // the file name it was given, when it takes one.
    template <class Work>
    qxzevauStatus Call(zevadriverFunction function, std::uint32_t serialNumber, Work work,
                       const char* givenFileName = nullptr);

    Board* Find(std::uint32_t serialNumber);
    std::string UnusedFileName();
    // After m_set.boards was replaced or emptied: the look-ups below start again from it.
    void IndexBoards();
    void WriteText(zevadriverFunction function, char* out, const std::string& text,
                   std::size_t bufferSize);
    void ReplaceLocked(BoardSet set);

    std::mutex m_mutex;
    BoardSet m_set;
    // Every interface file the driver has, and the serial number of the board it belongs to.
    std::map<std::string, std::uint32_t> m_files;
    // Kept beside the boards so that a claim costs about the same with 10 boards as with
    // 10,000: each board's place by serial number, the names boards will claim (a name
    // per board that reserves it), and the lowest number whose "imgN.zid" may still be
    // free. Names only ever become taken while the board set stands, so that number only
    // grows until the boards are replaced.
    std::unordered_map<std::uint32_t, std::size_t> m_boardIndex;
    std::multiset<std::string> m_reservedFiles;
    // Where the boards are on the PCI bus, one board a location.
    std::set<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> m_locations;
    unsigned m_nextFreeNumber = 0;
    FailurePlan m_failures;
    CallLog m_log;
    CallOutput m_output; // what the call under way wrote, for its log entry
    std::optional<std::uint32_t> m_serialCountOverride;
    // Non-zero while ZEVADRIVER_BOARDS named a rejected file: every driver call fails with it.
    qxzevauStatus m_refusal = 0;
    std::string m_descriptionError;
    unsigned m_unterminatedTexts = 0;                    // one bit per zevadriverFunction
    std::size_t m_textBufferSizes[k_functionCount] = {}; // 0: the driver's own
};

} // namespace zevadriver

#endif
