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

// A board built by naming what a test cares about; the rest is zero, without files, and named
// "ZEVA PCIe-4C":
//   AddBoard(TestBoard().Serial(0x10).Active("img0.zid").Pci(3, 14, 6).Name("ZEVA PCIe-2C"));
struct TestBoard : zevadriverBoard {
    TestBoard() : zevadriverBoard() {
        size = ZEVADRIVER_BOARD_SIZE;
        boardName = "ZEVA PCIe-4C";
    }
    // Each board at a PCI location of its own, from its serial number, unless Pci() says.
    TestBoard& Serial(std::uint32_t serial) {
        serialNumber = serial;
        if (!placed) {
            pciBus = serial & 0xFF;
            pciDevice = (serial >> 8) & 0x1F;
            pciFunction = (serial >> 13) & 0x7;
        }
        return *this;
    }
    TestBoard& Active(const char* file) {
        activeFile = file;
        return *this;
    }
    TestBoard& Pci(std::uint32_t bus, std::uint32_t device, std::uint32_t function) {
        placed = true;
        pciBus = bus;
        pciDevice = device;
        pciFunction = function;
        return *this;
    }
    TestBoard& Id(std::uint32_t id) {
        pciId = id;
        return *this;
    }
    TestBoard& Name(const char* name) {
        boardName = name;
        return *this;
    }
    TestBoard& Claim(const char* file) {
        claimFile = file;
        return *this;
    }

    bool placed = false;
};

inline void AddBoard(const TestBoard& board) {
    const char* reason = nullptr;
    ASSERT_EQ(zevadriverAddBoard(&board), 0)
        << "board " << board.serialNumber << ": "
        << ((reason = zevadriverLastBoardError()) != nullptr ? reason : "");
}

// A board no description could hold (an empty name, a file not ending in .zid, a control
// character), as a driver might report one.
inline void AddUncheckedBoard(const TestBoard& board) {
    ASSERT_EQ(zevadriverAddBoardUnchecked(&board), 0) << "board " << board.serialNumber;
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
    std::size_t count = 0;
    EXPECT_EQ(zevadriverReadLog(nullptr, 0, &count), 0);
    std::vector<zevadriverCall> calls(count + 1);
    calls[0].size = ZEVADRIVER_CALL_SIZE;
    EXPECT_EQ(zevadriverReadLog(calls.data(), calls.size(), &count), 0);
    calls.resize(std::min(count, calls.size()));
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
