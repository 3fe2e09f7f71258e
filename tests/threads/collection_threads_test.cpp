// The module holds no lock while the host's code runs: a collection that hands each bag to
// another task and waits for it, while that task asks the same expert for the item and the
// names, sees the search through instead of stalling it.
#include "com/widestring.h"
#include "expert/kcsyszeva.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/tags.h"

#include <zevadriver_control.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace {

// A host's collection that hands each bag to a task of its own, as a framework hands work
// to its user-interface task, and waits for that task to be done with it. Both this task and
// the other read the bag and ask the same expert for that item and for the names. The wait
// is bounded: an expert that kept a lock across AddPropertyBag makes it time out here, and
// the search then ends, so the test fails instead of hanging.
class HandingCollection final : public IkcSysPropertyBagCollection {
public:
    explicit HandingCollection(IkcSysExpert2* expert) : m_expert(expert) {}
    ~HandingCollection() { JoinTasks(); }
    HandingCollection(const HandingCollection&) = delete;
    HandingCollection& operator=(const HandingCollection&) = delete;

    HRESULT QueryInterface(const _GUID&, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    std::int32_t AddRef() override { return 2; }
    std::int32_t Release() override { return 1; }
    HRESULT AddPropertyBag(IkcSysPropertyBag* bag) override {
        m_names.push_back(ItemName(bag));
        if (!ReadsTheSameItem(bag))
            ++m_wrong;
        bag->AddRef(); // the other task's
        std::promise<bool> done;
        std::future<bool> answered = done.get_future();
        m_tasks.emplace_back([this, bag, done = std::move(done)]() mutable {
            done.set_value(ReadsTheSameItem(bag));
            bag->Release();
        });
        if (answered.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            ++m_timeouts;
            return E_FAIL;
        }
        if (!answered.get())
            ++m_wrong;
        return S_OK;
    }

    void JoinTasks() {
        for (std::thread& task : m_tasks)
            task.join();
        m_tasks.clear();
    }

    std::vector<std::u16string> m_names;
    int m_timeouts = 0;
    int m_wrong = 0;

private:
    static std::u16string Text(IkcSysPropertyBag* bag, std::uint32_t tag) {
        char16_t* text = nullptr;
        if (bag->GetStringProperty(tag, &text) != S_OK || text == nullptr)
            return u"?";
        const std::u16string copy = text;
        FreeWideString(text);
        return copy;
    }
    static std::u16string ItemName(IkcSysPropertyBag* bag) { return Text(bag, kcSysTagItemName); }

    // The expert answers for the bag's item with the same board, and lists the names.
    bool ReadsTheSameItem(IkcSysPropertyBag* bag) const {
        IkcSysPropertyBag* again = nullptr;
        if (m_expert->GetPropertiesOfItem(ItemName(bag).c_str(), &again) != S_OK)
            return false;
        const bool same = Text(again, kcSysTagSerialNumber) == Text(bag, kcSysTagSerialNumber);
        again->Release();
        IkcSysEnumStringList* names = nullptr;
        const bool listed = m_expert->SearchForItemNames(&names) == S_OK;
        return same && listed && names->Release() == 0;
    }

    IkcSysExpert2* m_expert;
    std::vector<std::thread> m_tasks;
};

} // namespace

TEST(StressThreads, A_collection_may_wait_for_another_task_that_asks_the_same_expert) {
    zevadriverReset();
    IkcSysExpert2* expert = MakeComObject<CkcSysZeva>().detach();
    ASSERT_EQ(expert->Initialize(), S_OK);
    {
        HandingCollection collection(expert);
        const HRESULT result = expert->SearchForItemsAndProperties(&collection);
        collection.JoinTasks();
        EXPECT_EQ(collection.m_timeouts, 0) << "the other task was kept waiting for the expert";
        EXPECT_EQ(result, S_OK);
        EXPECT_EQ(collection.m_wrong, 0);
        EXPECT_EQ(collection.m_names,
                  (std::vector<std::u16string>{u"img0", u"img1", u"img2", u"img3"}));
    }
    EXPECT_EQ(expert->Release(), 0);
    zevadriverReset();
}
