// Initialize: what the expert asks the image driver, in which order, and the records it keeps
// when the driver answers, fails, or memory runs out.
#include "alloc_failure.h"
#include "expert/kcsyszeva.h"
#include "expert_fixture.h"
#include "simulated_driver.h"

#include <imagedriver.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

const TestBoard k_first =
    TestBoard().Serial(0x11).Active("img0.zid").Pci(3, 0, 0).Id(0x74C11F0A).Name("ZEVA PCIe-4C");
const TestBoard k_second =
    TestBoard().Serial(0x22).Active("img1.zid").Pci(4, 1, 2).Id(0x72C21F0A).Name("ZEVA PCIe-2C");
const TestBoard k_third =
    TestBoard().Serial(0x33).Active("img2.zid").Pci(7, 2, 5).Id(0x61B01F0A).Name("ZEVA PCI-1C");

const char* const k_head[] = {"qxzevauGetDriverVersion", "qxzevauDeployInterfaceFiles",
                              "qxzevauGetSerialNumber", "qxzevauGetSerialNumber"};

std::vector<std::string> InterfaceCalls(const char* serial) {
    const std::string tail = std::string(" ") + serial;
    return {"qxzevauGetActiveInterfaceFile" + tail, "qxzevauGetBoardPCILocation" + tail,
            "imgGetBoardPCIID" + tail, "qxzevauGetBoardName" + tail};
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<std::string> k_head4(std::begin(k_head), std::end(k_head));

std::string Describe(const InterfaceRecord& record) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, " serial=%X id=%X at %u:%u.%u ", record.serialNumber,
                  record.pciId, record.pciBus, record.pciDevice, record.pciFunction);
    return record.interfaceFileName + numbers + record.boardName;
}

std::vector<std::string> Describe(const std::vector<InterfaceRecord>& records) {
    std::vector<std::string> texts;
    for (const InterfaceRecord& record : records)
        texts.push_back(Describe(record));
    return texts;
}

class Discovery : public ExpertOnSimulatedDriver {
protected:
    void AddThreeBoards() {
        AddBoard(k_first);
        AddBoard(k_second);
        AddBoard(k_third);
    }
    std::vector<std::string> Records() const { return Describe(m_expert->InterfacesForTesting()); }
};

} // namespace

TEST_F(Discovery, Records_every_interface_in_driver_order_after_asking_in_the_driver_order) {
    AddThreeBoards();
    zevadriverSetDriverVersion(0x15030007);

    EXPECT_EQ(m_expert->Initialize(), S_OK);

    EXPECT_THAT(Records(), ElementsAre("img0 serial=11 id=74C11F0A at 3:0.0 ZEVA PCIe-4C",
                                       "img1 serial=22 id=72C21F0A at 4:1.2 ZEVA PCIe-2C",
                                       "img2 serial=33 id=61B01F0A at 7:2.5 ZEVA PCI-1C"));
    EXPECT_EQ(m_expert->DriverVersionForTesting(), 0x15030007u);
    EXPECT_THAT(DriverCalls(), ElementsAreArray(Concat({k_head4, InterfaceCalls("0x00000011"),
                                                        InterfaceCalls("0x00000022"),
                                                        InterfaceCalls("0x00000033")})));
}

TEST_F(Discovery, A_driver_without_interfaces_gives_S_OK_and_no_records) {
    EXPECT_EQ(m_expert->Initialize(), S_OK);
    EXPECT_THAT(Records(), IsEmpty());
    EXPECT_THAT(DriverCalls(), ElementsAre("qxzevauGetDriverVersion", "qxzevauDeployInterfaceFiles",
                                           "qxzevauGetSerialNumber"));
}

// Each failure before the first interface: S_FALSE, the calls up to the failing one and none
// after it, and the records of an earlier Initialize untouched.
TEST_F(Discovery, A_failure_before_the_interfaces_gives_S_FALSE_and_keeps_the_records) {
    struct Row {
        const char* what;
        zevadriverFunction function;
        std::uint32_t nthCall;
        std::uint32_t serialCount; // reported by the first count call when not 0
        std::size_t callsMade;     // how many of k_head
    };
    // No driver function: the row fails none.
    const auto k_noFunction = static_cast<zevadriverFunction>(std::size(k_zevadriverFunctions));
    const Row rows[] = {
        {"driver version", ZEVADRIVER_GET_DRIVER_VERSION, 1, 0, 1},
        {"deploy", ZEVADRIVER_DEPLOY_INTERFACE_FILES, 1, 0, 2},
        {"count", ZEVADRIVER_GET_SERIAL_NUMBER, 1, 0, 3},
        {"array size overflows", k_noFunction, 0, 0x40000000, 3},
        {"largest count", k_noFunction, 0, 0xFFFFFFFF, 3},
        {"serial numbers", ZEVADRIVER_GET_SERIAL_NUMBER, 2, 0, 4},
    };
    AddThreeBoards();
    ASSERT_EQ(m_expert->Initialize(), S_OK);
    const std::vector<std::string> before = Records();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        zevadriverClearLog();
        zevadriverFailOnCall(row.function, row.nthCall, ZEVADRIVER_ERROR_INJECTED);
        if (row.serialCount != 0)
            zevadriverOverrideSerialCount(row.serialCount);

        EXPECT_EQ(m_expert->Initialize(), S_FALSE);

        EXPECT_EQ(Records(), before);
        EXPECT_THAT(DriverCalls(), ElementsAreArray(k_head, row.callsMade));
        zevadriverClearFailures();
    }
}

// The array the target cannot allocate although its size fits 32 bits: only a 32-bit
// process can show this without committing gigabytes.
TEST_F(Discovery, A_serial_number_array_that_cannot_be_allocated_gives_S_FALSE) {
    if (sizeof(void*) > 4)
        GTEST_SKIP() << "needs a 32-bit address space";
    AddThreeBoards();
    zevadriverOverrideSerialCount(0x3FFFFFFF);
    EXPECT_EQ(m_expert->Initialize(), S_FALSE);
    EXPECT_THAT(Records(), IsEmpty());
    EXPECT_THAT(DriverCalls(), ElementsAreArray(k_head, 3));
}

// An interface that cannot get an active file or a location ends discovery there: S_OK, the
// records before it, and no call for it after the failing one nor for the interfaces after it.
TEST_F(Discovery, An_interface_that_fails_ends_discovery_with_the_records_before_it) {
    const std::string second = " 0x00000022";
    struct Row {
        const char* what;
        zevadriverFunction function;
        std::vector<std::string> secondCalls;
    };
    const Row rows[] = {
        {"claim",
         ZEVADRIVER_CLAIM_NEW_INTERFACE_FILE,
         {"qxzevauGetActiveInterfaceFile" + second, "qxzevauClaimNewInterfaceFile" + second}},
        {"set active",
         ZEVADRIVER_SET_ACTIVE_INTERFACE_FILE,
         {"qxzevauGetActiveInterfaceFile" + second, "qxzevauClaimNewInterfaceFile" + second,
          "qxzevauSetActiveInterfaceFile" + second}},
        {"location",
         ZEVADRIVER_GET_BOARD_PCI_LOCATION,
         {"qxzevauGetActiveInterfaceFile" + second, "qxzevauGetBoardPCILocation" + second}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CQXComObject<CkcSysZeva>* expert = MakeComObject<CkcSysZeva>().detach();
        zevadriverReset();
        zevadriverClearBoards();
        AddThreeBoards();
        if (row.function != ZEVADRIVER_GET_BOARD_PCI_LOCATION) {
            ASSERT_EQ(zevadriverSetActiveFile(k_second.serialNumber, nullptr), 0);
        }
        // Each function's first call is the second interface's.
        const std::uint32_t nth = row.function == ZEVADRIVER_GET_BOARD_PCI_LOCATION ? 2 : 1;
        zevadriverFailOnCall(row.function, nth, ZEVADRIVER_ERROR_INJECTED);

        EXPECT_EQ(expert->Initialize(), S_OK);

        EXPECT_THAT(Describe(expert->InterfacesForTesting()),
                    ElementsAre("img0 serial=11 id=74C11F0A at 3:0.0 ZEVA PCIe-4C"));
        EXPECT_THAT(DriverCalls(), ElementsAreArray(Concat(
                                       {k_head4, InterfaceCalls("0x00000011"), row.secondCalls})));
        EXPECT_EQ(expert->Release(), 0);
    }
}

TEST_F(Discovery, Failing_PCI_id_and_board_name_calls_still_give_a_record) {
    AddThreeBoards();
    zevadriverFailOnCall(ZEVADRIVER_GET_BOARD_PCI_ID, 1, ZEVADRIVER_ERROR_INJECTED);
    zevadriverFailOnCall(ZEVADRIVER_GET_BOARD_NAME, 2, ZEVADRIVER_ERROR_INJECTED);

    EXPECT_EQ(m_expert->Initialize(), S_OK);

    EXPECT_THAT(Records(), ElementsAre("img0 serial=11 id=0 at 3:0.0 ZEVA PCIe-4C",
                                       "img1 serial=22 id=72C21F0A at 4:1.2 ",
                                       "img2 serial=33 id=61B01F0A at 7:2.5 ZEVA PCI-1C"));
}

TEST_F(Discovery, An_interface_without_active_file_gets_the_claimed_file_as_its_item_name) {
    AddBoard(k_first);
    TestBoard unclaimed = k_second;
    unclaimed.activeFile = nullptr;
    unclaimed.claimFile = "img7.zid";
    AddBoard(unclaimed);

    EXPECT_EQ(m_expert->Initialize(), S_OK);

    EXPECT_THAT(Records(), ElementsAre("img0 serial=11 id=74C11F0A at 3:0.0 ZEVA PCIe-4C",
                                       "img7 serial=22 id=72C21F0A at 4:1.2 ZEVA PCIe-2C"));
    const std::string second = " 0x00000022";
    EXPECT_THAT(
        DriverCalls(),
        ElementsAreArray(Concat(
            {k_head4,
             InterfaceCalls("0x00000011"),
             {"qxzevauGetActiveInterfaceFile" + second, "qxzevauClaimNewInterfaceFile" + second,
              "qxzevauSetActiveInterfaceFile" + second, "qxzevauGetBoardPCILocation" + second,
              "imgGetBoardPCIID" + second, "qxzevauGetBoardName" + second}})));
    // The driver accepts only the name it created, so the claimed name reached it unchanged.
    char active[QXZEVAU_INTERFACE_FILE_BUFFER] = {};
    EXPECT_EQ(qxzevauGetActiveInterfaceFile(k_second.serialNumber, active), 0);
    EXPECT_STREQ(active, "img7.zid");
}

TEST_F(Discovery, Item_names_drop_the_last_four_characters_when_the_extension_occurs) {
    const char* const files[] = {"img0.zid", "img0", ".zid", "a.zidb", "ab.zi"};
    std::uint32_t serial = 1;
    for (const char* file : files)
        AddUncheckedBoard(TestBoard().Serial(serial++).Active(file));

    EXPECT_EQ(m_expert->Initialize(), S_OK);

    std::vector<std::string> names;
    for (const InterfaceRecord& record : m_expert->InterfacesForTesting())
        names.push_back(record.interfaceFileName);
    EXPECT_THAT(names, ElementsAre("img0", "img0", ".zid", "a.", "ab.zi"));
}

TEST_F(Discovery, Texts_that_fill_their_buffer_are_read_up_to_its_end_only) {
    AddBoard(k_first);
    zevadriverSetUnterminatedTexts(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, 1);
    zevadriverSetUnterminatedTexts(ZEVADRIVER_GET_BOARD_NAME, 1);

    EXPECT_EQ(m_expert->Initialize(), S_OK);

    ASSERT_EQ(m_expert->InterfacesForTesting().size(), 1u);
    const InterfaceRecord& record = m_expert->InterfacesForTesting()[0];
    // 256 bytes read, ".zid" found, the last four dropped.
    EXPECT_EQ(record.interfaceFileName, "img0.zid" + std::string(256 - 8 - 4, '#'));
    EXPECT_EQ(record.boardName, "ZEVA PCIe-4C" + std::string(50 - 12, '#'));
}

TEST_F(Discovery, A_second_Initialize_appends_every_record_again) {
    AddThreeBoards();
    ASSERT_EQ(m_expert->Initialize(), S_OK);
    const std::vector<std::string> first = Records();
    zevadriverClearLog();

    EXPECT_EQ(m_expert->Initialize(), S_OK);

    EXPECT_EQ(Records(), Concat({first, first}));
    EXPECT_EQ(DriverCalls().at(1), "qxzevauDeployInterfaceFiles");
}

// Whichever allocation fails, Initialize returns (S_FALSE for the serial-number array,
// E_OUTOFMEMORY for a record) and keeps only whole records of the interfaces before it.
TEST_F(Discovery, Running_out_of_memory_keeps_only_whole_records) {
    // Names longer than any short-string buffer, so every text of a record is allocated.
    AddBoard(TestBoard()
                 .Serial(0x11)
                 .Active("interface-file-of-the-first-board.zid")
                 .Pci(3, 0, 0)
                 .Id(0x1)
                 .Name("ZEVA PCIe-4C first"));
    AddBoard(TestBoard()
                 .Serial(0x22)
                 .Active("interface-file-of-the-second-board.zid")
                 .Pci(4, 0, 0)
                 .Id(0x2)
                 .Name("ZEVA PCIe-2C second"));
    ASSERT_EQ(m_expert->Initialize(), S_OK);
    const std::vector<std::string> whole = Records();

    bool sawFalse = false;
    bool sawOutOfMemory = false;
    for (int nth = 1;; ++nth) {
        CQXComObject<CkcSysZeva>* expert = MakeComObject<CkcSysZeva>().detach();
        HRESULT result;
        bool failed;
        {
            AllocationFailure failure(AllocationFailure::k_operatorNew, nth);
            result = expert->Initialize();
            failed = failure.Failed();
        }
        const std::vector<std::string> kept = Describe(expert->InterfacesForTesting());
        EXPECT_EQ(expert->Release(), 0);
        if (!failed) {
            EXPECT_EQ(result, S_OK);
            EXPECT_EQ(kept, whole);
            break;
        }
        SCOPED_TRACE(nth);
        ASSERT_TRUE(result == S_FALSE || result == E_OUTOFMEMORY) << std::hex << result;
        sawFalse |= result == S_FALSE;
        sawOutOfMemory |= result == E_OUTOFMEMORY;
        ASSERT_LT(kept.size(), whole.size());
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), whole.begin()));
    }
    EXPECT_TRUE(sawFalse);
    EXPECT_TRUE(sawOutOfMemory);
}
