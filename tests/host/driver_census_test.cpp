// The census of the boards the module did not report: by default it only reads, and so
// leaves the driver as it found it; --probe acts as the module does.
#include "host/unreported_boards.h"

#include "tests/simulated_driver.h"

#include <imagedriver.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

constexpr std::uint32_t k_found = 0x11, k_missing = 0x22, k_after = 0x33;

// Each board's active interface file, or the status that says it has none.
std::vector<std::string> ActiveFiles() {
    std::vector<std::string> files;
    for (const std::uint32_t serial : {k_found, k_missing, k_after}) {
        char name[QXZEVAU_INTERFACE_FILE_BUFFER + 1] = {};
        const qxzevauStatus status = qxzevauGetActiveInterfaceFile(serial, name);
        files.push_back(status == 0 ? std::string(name) : std::to_string(status));
    }
    return files;
}

bool IsRead(zevadriverFunction function) {
    return function != ZEVADRIVER_CLAIM_NEW_INTERFACE_FILE &&
           function != ZEVADRIVER_SET_ACTIVE_INTERFACE_FILE &&
           function != ZEVADRIVER_DEPLOY_INTERFACE_FILES;
}

struct CensusCase {
    const char* what;
    bool refuseClaims;     // the missing board refuses claims
    bool moduleCallLogged; // the module's failed claim is still in the driver's log
    bool noPciLocation;    // the missing board has an active file but no PCI location
    CensusMode mode;
    const char* reason;
    bool changesFiles; // an interface file is claimed and made active
};

class DriverCensus : public SimulatedDriverTest {};

TEST_F(DriverCensus, Tells_the_reason_and_acts_on_the_driver_only_when_probing) {
    const CensusCase k_cases[] = {
        {"refused claim, logged", true, true, false, CensusMode::readOnly,
         "claim refused (ZEVADRIVER_ERROR_CLAIM_REFUSED)", false},
        {"refused claim, log emptied", true, false, false, CensusMode::readOnly,
         "no active interface file (ZEVADRIVER_ERROR_NO_ACTIVE_FILE), so its claim or "
         "activation was refused",
         false},
        {"claimable board, log emptied", false, false, false, CensusMode::readOnly,
         "so its claim or activation was refused (--probe", false},
        {"no PCI location", false, false, true, CensusMode::readOnly,
         "no PCI location (ZEVADRIVER_ERROR_INJECTED)", false},
        {"refused claim, probed", true, false, false, CensusMode::probe,
         "claim refused (ZEVADRIVER_ERROR_CLAIM_REFUSED)", false},
        {"claimable board, probed", false, false, false, CensusMode::probe,
         "the driver answers for it when asked again", true},
    };
    for (const CensusCase& test : k_cases) {
        SCOPED_TRACE(test.what);
        zevadriverReset();
        zevadriverClearBoards();
        AddBoard(TestBoard().Serial(k_found).Active("img0.zid").Pci(3, 0, 0));
        TestBoard missing = TestBoard().Serial(k_missing).Pci(4, 0, 0);
        if (test.noPciLocation)
            missing.Active("img1.zid");
        else
            missing.Claim("camera.zid");
        missing.claimFails = test.refuseClaims ? 1 : 0;
        AddBoard(missing);
        AddBoard(TestBoard().Serial(k_after).Pci(5, 0, 0).Claim("later.zid"));
        ASSERT_EQ(qxzevauDeployInterfaceFiles(), 0);
        if (test.noPciLocation)
            zevadriverFailAlways(ZEVADRIVER_GET_BOARD_PCI_LOCATION, ZEVADRIVER_ERROR_INJECTED);
        // The module's own step for the missing board, as far as it went.
        char fileName[QXZEVAU_INTERFACE_FILE_BUFFER + 1] = {};
        if (test.refuseClaims) {
            ASSERT_NE(qxzevauClaimNewInterfaceFile(k_missing, fileName), 0);
        }
        if (!test.moduleCallLogged)
            zevadriverClearLog();
        const std::vector<std::string> before = ActiveFiles();
        const std::size_t logged = LoggedCalls().size();

        const UnreportedBoards found = FindUnreportedBoards(1, test.mode);

        const std::vector<zevadriverCall> calls = LoggedCalls();
        bool onlyReads = true;
        for (std::size_t index = logged; index < calls.size(); ++index)
            onlyReads = onlyReads && IsRead(calls[index].function);
        zevadriverClearFailures();
        EXPECT_EQ(found.driverCount, 3u);
        ASSERT_EQ(found.boards.size(), 2u);
        EXPECT_EQ(found.boards[0].serialNumber, k_missing);
        EXPECT_THAT(found.reason, HasSubstr(test.reason));
        EXPECT_EQ(onlyReads, test.mode == CensusMode::readOnly);
        EXPECT_EQ(ActiveFiles() != before, test.changesFiles);
    }
}

} // namespace
