// Three tasks list names, read an item and report every item at once on one expert while a
// fourth renames a board's active file: every name seen is whole, and each item's bag
// carries its own board.
#include "com/widestring.h"
#include "expert/kcsyszeva.h"
#include "keeping_collection.h"
#include "qxzeva/tags.h"

#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace {

#if defined(__powerpc__)
constexpr int k_rounds = 100; // qemu runs the cross build a good deal slower
#else
constexpr int k_rounds = 300;
#endif

} // namespace

TEST(StressThreads, Tasks_list_read_and_report_at_once_on_one_expert) {
    zevadriverReset();
    IkcSysExpert2* expert = MakeComObject<CkcSysZeva>().detach();
    ASSERT_EQ(expert->Initialize(), S_OK);
    const std::uint32_t renamed =
        static_cast<CkcSysZeva*>(expert)->InterfacesForTesting().back().serialNumber;
    std::atomic<int> errors{0};
    const auto check = [&](bool ok) { errors += ok ? 0 : 1; };
    const auto readName = [&](IkcSysPropertyBag* bag) {
        char16_t* text = nullptr;
        check(bag->GetStringProperty(kcSysTagItemName, &text) == S_OK);
        const std::u16string name = text != nullptr ? text : u"";
        FreeWideString(text);
        return name;
    };
    const auto lastName = [](const std::u16string& name) {
        return name == u"img3" || name == u"cam3";
    };
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
        for (int round = 0; round < k_rounds; ++round)
            zevadriverSetActiveFile(renamed, round % 2 == 0 ? "cam3.zid" : "img3.zid");
    });
    threads.emplace_back([&] {
        for (int round = 0; round < k_rounds; ++round) {
            IkcSysEnumStringList* names = nullptr;
            check(expert->SearchForItemNames(&names) == S_OK && names != nullptr);
            char16_t* batch[4] = {};
            std::uint32_t fetched = 0;
            check(names->Next(4, batch, &fetched) == S_OK && fetched == 4);
            check(fetched == 4 && std::u16string(batch[0]) == u"img0" && lastName(batch[3]));
            for (std::uint32_t i = 0; i < fetched; ++i)
                FreeWideString(batch[i]);
            check(names->Release() == 0);
        }
    });
    threads.emplace_back([&] {
        for (int round = 0; round < k_rounds; ++round) {
            IkcSysPropertyBag* bag = nullptr;
            check(expert->GetPropertiesOfItem(u"IMG1", &bag) == S_OK && bag != nullptr);
            check(readName(bag) == u"IMG1");
            check(bag->Release() == 0);
        }
    });
    threads.emplace_back([&] {
        for (int round = 0; round < k_rounds; ++round) {
            KeepingCollection collection;
            check(expert->SearchForItemsAndProperties(&collection) == S_OK);
            check(collection.m_bags.size() == 4 && lastName(readName(collection.m_bags[3])));
            check(collection.ReleaseBags());
        }
    });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(errors.load(), 0);
    EXPECT_EQ(expert->Release(), 0);
    zevadriverReset();
}
