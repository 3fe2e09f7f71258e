// The expert's interface operations and the module's exports with each allocation of the
// module's code failing in turn: every result is success or the failure that path reports,
// nothing leaks, and the expert goes on answering with what it holds.
#include "alloc_sweep.h"
#include "bag_dump.h"
#include "com/qxmutex.h"
#include "com/widestring.h"
#include "expert/kcsyszeva.h"
#include "expert/module_exports.h"
#include "simulated_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::u16string Take(char16_t* text) {
    const std::u16string copy = text != nullptr ? std::u16string(text) : u"<null>";
    FreeWideString(text);
    return copy;
}

IkcSysExpert2* NewExpert() {
    void* expert = nullptr;
    EXPECT_EQ(createZEVASysapiExpert(&expert), S_OK);
    return static_cast<IkcSysExpert2*>(expert);
}

std::vector<std::string> RecordNames(IkcSysExpert2* expert) {
    std::vector<std::string> names;
    for (const InterfaceRecord& record : static_cast<CkcSysZeva*>(expert)->InterfacesForTesting())
        names.push_back(record.interfaceFileName + "/" + record.boardName);
    return names;
}

// Names from an enumerator, taken one call of `batch` at a time; a call that fails for want of
// memory is repeated, and must then hand out the same names: none is lost.
std::vector<std::u16string> Drain(Injection& injection, IkcSysEnumStringList* names,
                                  std::uint32_t batch) {
    std::vector<std::u16string> taken;
    for (;;) {
        char16_t* out[4] = {};
        std::uint32_t fetched = 99;
        HRESULT result = S_OK;
        injection.During([&] { result = names->Next(batch, out, &fetched); });
        if (result == E_OUTOFMEMORY) {
            EXPECT_EQ(fetched, 0u);
            for (char16_t* slot : out)
                EXPECT_EQ(slot, nullptr);
            continue;
        }
        EXPECT_TRUE(result == S_OK || result == S_FALSE) << result;
        for (std::uint32_t i = 0; i < fetched; ++i)
            taken.push_back(Take(out[i]));
        if (result == S_FALSE)
            return taken;
    }
}

class AllocationSweepExpert : public ::testing::Test {
protected:
    // Every run starts from the same boards and files.
    static void FreshDriver() {
        zevadriverReset();
        zevadriverClearLog();
    }
    void TearDown() override { zevadriverReset(); }
};

} // namespace

TEST_F(AllocationSweepExpert, Factory_and_identity_getters) {
    SweepAllocations("factory and identity", [](Injection& injection) {
        void* made = reinterpret_cast<void*>(0x1);
        HRESULT created = S_OK;
        injection.During([&] { created = createZEVASysapiExpert(&made); });
        if (created != S_OK) {
            EXPECT_EQ(created, E_OUTOFMEMORY);
            EXPECT_EQ(made, nullptr);
            return;
        }
        auto* expert = static_cast<IkcSysExpert2*>(made);
        char16_t* texts[3] = {};
        HRESULT results[3] = {};
        _GUID id{};
        HRESULT identified = E_FAIL;
        injection.During([&] {
            results[0] = expert->GetProductDisplayName(&texts[0]);
            results[1] = expert->GetProductVersion(&texts[1]);
            results[2] = expert->GetProgrammaticName(&texts[2]);
            identified = expert->GetProductID(&id);
        });
        const std::u16string expected[3] = {u"QX ZEVA Sysapi Expert", u"18.5", u"qxzeva"};
        for (int i = 0; i < 3; ++i) {
            if (results[i] == E_OUTOFMEMORY)
                EXPECT_EQ(texts[i], nullptr);
            else
                EXPECT_EQ(Take(texts[i]), expected[i]) << results[i];
        }
        EXPECT_EQ(identified, S_OK);
        EXPECT_EQ(id, CkcSysZeva::s_productID);
        const char* const* versions = nullptr;
        injection.During(
            [&] { versions = nQXVersion_QXZEVA_SYSAPI_EXPERT_getVersionStringArray(); });
        EXPECT_STREQ(versions[5], "nQXVersion_ProductVersion=18.5.0f0");
        EXPECT_EQ(versions[9], nullptr);
        EXPECT_EQ(expert->Release(), 0);
    });
}

// The static constructor entries, run by a loader that cannot hear of a failure: none may
// throw, and the module is whole when the host comes, or, when the counting lock could not get
// its semaphore, the factory says so and makes nothing that would count unguarded.
TEST_F(AllocationSweepExpert, Static_constructor_and_destructor_tables) {
    const auto runTable = [](const QxStaticFunction* table) {
        for (; *table != nullptr; ++table)
            (*table)();
    };
    SweepAllocations(
        "static constructors", [&] { runTable(_dtors); },
        [&](Injection& injection) {
            injection.During([&] { runTable(_ctors); });
            runTable(_ctors); // the entries are idempotent: what is built stays
            void* made = reinterpret_cast<void*>(0x1);
            const HRESULT created = createZEVASysapiExpert(&made);
            if (InterLockedIncDecIsUsable()) {
                ASSERT_EQ(created, S_OK);
                EXPECT_EQ(static_cast<IkcSysExpert2*>(made)->Release(), 0);
            } else {
                EXPECT_TRUE(injection.Injected());
                EXPECT_EQ(created, E_OUTOFMEMORY);
                EXPECT_EQ(made, nullptr);
            }
            runTable(_dtors);
        });
    runTable(_ctors);
}

TEST_F(AllocationSweepExpert, Initialize_on_several_boards) {
    struct Scene {
        const char* name;
        void (*boards)();
    };
    const Scene scenes[] = {
        {"Initialize, default boards", [] { FreshDriver(); }},
        {"Initialize, long and unterminated names",
         [] {
             FreshDriver();
             zevadriverClearBoards();
             const std::string longName(200, 'n');
             AddBoard(TestBoard()
                          .Serial(0x11)
                          .Active((longName + "1.zid").c_str())
                          .Pci(1, 2, 3)
                          .Id(0x12345678));
             AddBoard(TestBoard()
                          .Serial(0x22)
                          .Pci(4, 5, 6)
                          .Id(0x9ABCDEF0)
                          .Name("ZEVA board with a long name here")
                          .Claim((longName + "2.zid").c_str()));
             AddBoard(
                 TestBoard().Serial(0x33).Active("short.zid").Pci(7, 8, 7).Id(0x1).Name("ZEVA x"));
             zevadriverSetUnterminatedTexts(ZEVADRIVER_GET_BOARD_NAME, 1);
         }},
        {"Initialize, no boards",
         [] {
             FreshDriver();
             zevadriverClearBoards();
         }},
    };
    for (const Scene& scene : scenes) {
        scene.boards();
        IkcSysExpert2* reference = NewExpert();
        const HRESULT referenceResult = reference->Initialize();
        const std::vector<std::string> all = RecordNames(reference);
        reference->Release();
        SweepAllocations(scene.name, scene.boards, [&](Injection& injection) {
            IkcSysExpert2* expert = NewExpert();
            HRESULT result = E_FAIL;
            injection.During([&] { result = expert->Initialize(); });
            const std::vector<std::string> records = RecordNames(expert);
            if (result == S_FALSE) {
                EXPECT_TRUE(records.empty()); // the serial numbers could not be held
            } else if (result == E_OUTOFMEMORY) {
                ASSERT_LE(records.size(), all.size());
                EXPECT_EQ(records,
                          std::vector<std::string>(all.begin(), all.begin() + records.size()));
            } else {
                EXPECT_EQ(result, referenceResult);
                EXPECT_EQ(records, all);
            }
            // The expert still lists what it holds.
            IkcSysEnumStringList* names = nullptr;
            const HRESULT listed = expert->SearchForItemNames(&names);
            EXPECT_EQ(listed, records.empty() ? S_FALSE : S_OK);
            if (names != nullptr) {
                Injection none(0);
                EXPECT_EQ(Drain(none, names, 4).size(), records.size());
                EXPECT_EQ(names->Release(), 0);
            }
            EXPECT_EQ(expert->Release(), 0);
        });
    }
}

TEST_F(AllocationSweepExpert, Item_names_and_their_enumerator) {
    FreshDriver();
    const std::vector<std::u16string> all = {u"img0", u"img1", u"img2", u"img3"};
    SweepAllocations("SearchForItemNames, Next, Clone", FreshDriver, [&](Injection& injection) {
        IkcSysExpert2* expert = NewExpert();
        ASSERT_EQ(expert->Initialize(), S_OK);
        IkcSysEnumStringList* names = reinterpret_cast<IkcSysEnumStringList*>(0x1);
        HRESULT listed = S_OK;
        injection.During([&] { listed = expert->SearchForItemNames(&names); });
        if (listed != S_OK) {
            EXPECT_EQ(listed, E_OUTOFMEMORY);
            EXPECT_EQ(names, nullptr);
        } else {
            EXPECT_EQ(Drain(injection, names, 3), all);
            EXPECT_EQ(names->Reset(), S_OK);
            EXPECT_EQ(names->Skip(1), S_OK);
            IkcSysEnumStringList* clone = reinterpret_cast<IkcSysEnumStringList*>(0x1);
            HRESULT cloned = S_OK;
            injection.During([&] { cloned = names->Clone(&clone); });
            // A clone holds its source, which keeps the names alive for it.
            EXPECT_EQ(names->Release(), cloned == S_OK ? 1 : 0);
            if (cloned != S_OK) {
                EXPECT_EQ(cloned, E_OUTOFMEMORY);
                EXPECT_EQ(clone, nullptr);
            } else {
                EXPECT_EQ(Drain(injection, clone, 2),
                          std::vector<std::u16string>(all.begin() + 1, all.end()));
                EXPECT_EQ(clone->Release(), 0);
            }
        }
        EXPECT_EQ(expert->Release(), 0);
    });
}

// A listing that renames records runs out of memory: each record keeps its old name or has
// the new one, whole, and the next listing brings every new name.
TEST_F(AllocationSweepExpert, Item_names_refreshed_from_renamed_files) {
    const std::string longName(40, 'r');
    const auto boards = [longName] {
        FreshDriver();
        zevadriverClearBoards();
        AddBoard(TestBoard().Serial(0x11).Active((longName + "-first.zid").c_str()));
        AddBoard(TestBoard().Serial(0x22).Active((longName + "-second.zid").c_str()));
    };
    const std::u16string wideLong(longName.begin(), longName.end());
    const std::vector<std::u16string> renamed = {wideLong + u"-first-renamed",
                                                 wideLong + u"-second-renamed"};
    SweepAllocations("SearchForItemNames after renames", boards, [&](Injection& injection) {
        IkcSysExpert2* expert = NewExpert();
        ASSERT_EQ(expert->Initialize(), S_OK);
        const std::vector<std::string> before = RecordNames(expert);
        {
            const AllocationPause driversOwn; // the driver keeps the new file names
            zevadriverSetActiveFile(0x11, (longName + "-first-renamed.zid").c_str());
            zevadriverSetActiveFile(0x22, (longName + "-second-renamed.zid").c_str());
        }
        IkcSysEnumStringList* names = nullptr;
        HRESULT listed = E_FAIL;
        injection.During([&] { listed = expert->SearchForItemNames(&names); });
        const std::vector<std::string> records = RecordNames(expert);
        ASSERT_EQ(records.size(), 2u);
        for (std::size_t i = 0; i < records.size(); ++i) {
            const std::string renamedRecord =
                longName + (i == 0 ? "-first-renamed/" : "-second-renamed/") + "ZEVA PCIe-4C";
            EXPECT_TRUE(records[i] == before[i] || records[i] == renamedRecord) << records[i];
        }
        if (listed == S_OK) {
            Injection none(0);
            EXPECT_EQ(Drain(none, names, 2), renamed);
            EXPECT_EQ(names->Release(), 0);
        } else {
            EXPECT_EQ(listed, E_OUTOFMEMORY);
            ASSERT_EQ(expert->SearchForItemNames(&names), S_OK);
            Injection none(0);
            EXPECT_EQ(Drain(none, names, 2), renamed);
            EXPECT_EQ(names->Release(), 0);
        }
        EXPECT_EQ(expert->Release(), 0);
    });
}
