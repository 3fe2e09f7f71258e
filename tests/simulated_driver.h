// The simulated image driver from a test's side: a driver with no boards at the start of
// every test and the built-in boards after it, boards added in one line, and the call log as
// text ("qxzevauGetBoardName 0x00000022") that reads like the expected order of calls.
#ifndef QX_TESTS_SIMULATED_DRIVER_H
#define QX_TESTS_SIMULATED_DRIVER_H

#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TestBoard {
    std::uint32_t serialNumber;
    const char* activeFile; // null: none
    std::uint32_t pciBus = 0;
    std::uint32_t pciDevice = 0;
    std::uint32_t pciFunction = 0;
    std::uint32_t pciId = 0;
    const char* boardName = "ZEVA PCIe-4C";
    const char* claimFile = nullptr;
};

inline void AddBoard(const TestBoard& board) {
    const zevadriverBoard added = {board.serialNumber, board.activeFile, board.claimFile,
                                   board.pciBus,       board.pciDevice,  board.pciFunction,
                                   board.pciId,        board.boardName};
    ASSERT_EQ(zevadriverAddBoard(&added), 0) << "board " << board.serialNumber;
}

inline std::string CallText(const zevadriverCall& call) {
    std::string text = zevadriverFunctionName(call.function);
    if (call.function >= ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE) {
        char serial[16];
        std::snprintf(serial, sizeof serial, " 0x%08X", static_cast<unsigned>(call.serialNumber));
        text += serial;
    }
    return text;
}

inline std::vector<std::string> DriverCalls() {
    std::vector<zevadriverCall> calls(zevadriverReadLog(nullptr, 0));
    calls.resize(std::min(zevadriverReadLog(calls.data(), calls.size()), calls.size()));
    std::vector<std::string> texts;
    for (const zevadriverCall& call : calls)
        texts.push_back(CallText(call));
    return texts;
}

class SimulatedDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        zevadriverReset();
        zevadriverClearBoards();
    }
    // Later tests find the driver as a fresh process would.
    void TearDown() override { zevadriverReset(); }
};

#endif
