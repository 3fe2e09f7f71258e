// One task of the thread stress (stress_threads_test.cpp): a random mix of every bag
// operation on its own range of tags, checked against a serial model of that range, with
// batch locks, clones, enumerations, reference-count churn and host passes on the shared
// objects in between.
#ifndef QX_TESTS_THREADS_STRESS_TASK_H
#define QX_TESTS_THREADS_STRESS_TASK_H

#include "com/widestring.h"
#include "expert/kcsyszeva.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/tags.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace stress {

#if defined(__powerpc__)
constexpr int k_steps = 2000; // qemu runs the cross build a good deal slower
#else
constexpr int k_steps = 6000;
#endif
constexpr std::uint32_t k_tagsPerTask = 24;
constexpr std::uint32_t k_pairTag = 0x90000000u; // pairs (k_pairTag + 2i, k_pairTag + 2i + 1)
constexpr std::uint32_t k_pairs = 4;

inline std::uint32_t TaskTag(int task, std::uint32_t index) {
    return static_cast<std::uint32_t>(task) * 0x100u + index;
}

// One task's view of its own tags: the integer each holds (every own tag is an integer or a
// string; strings hold the decimal text of the number).
struct Owned {
    bool isString;
    std::int32_t value;
};
using Model = std::map<std::uint32_t, Owned>;

inline std::u16string Decimal(std::int32_t value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

class Task {
public:
    // tags and names: this task's own clones of the shared enumerators.
    Task(int index, IkcSysPropertyBag3* bags[2], IkcSysExpert2* expert, IkcSysEnumPropertyTag* tags,
         IkcSysEnumStringList* names)
        : m_index(index), m_random(static_cast<unsigned>(index) * 7919u + 1u), m_expert(expert),
          m_tags(tags), m_names(names) {
        m_bags[0] = bags[0];
        m_bags[1] = bags[1];
    }

    // Besides the shared objects, each task runs a host's passes on an expert of its own, so
    // that discovery and reporting meet the module's statics and the driver on every task.
    void Run() {
        m_own = MakeComObject<CkcSysZeva>().detach();
        Expect(m_own->Initialize() == S_OK, "own expert initialised");
        for (int step = 0; step < k_steps; ++step)
            Step();
        Expect(m_own->Release() == 0, "own expert destroyed");
    }

    // The task's own range in each bag, as the model says; called with no task running.
    void CheckFinal() {
        for (int b = 0; b < 2; ++b)
            CheckRange(m_bags[b], m_models[b], "final");
    }

    // Gives back the task's clone; the last one also takes the shared source with it.
    std::int32_t ReleaseEnumerators() { return m_tags->Release() + m_names->Release(); }

    std::vector<std::string> m_errors;
    long m_operations = 0;

private:
    void Fail(const std::string& what) {
        if (m_errors.size() < 8)
            m_errors.push_back("task " + std::to_string(m_index) + ": " + what);
    }
    void Expect(bool holds, const char* what) {
        if (!holds)
            Fail(what);
    }
    std::uint32_t Pick(std::uint32_t bound) { return m_random() % bound; }

    void Step() {
        ++m_operations;
        const int b = static_cast<int>(Pick(2));
        IkcSysPropertyBag3* bag = m_bags[b];
        Model& model = m_models[b];
        const std::uint32_t tag = TaskTag(m_index, Pick(k_tagsPerTask));
        switch (Pick(12)) {
        case 0:
        case 1:
        case 2:
            Store(bag, model, tag);
            break;
        case 3:
            Read(bag, model, tag);
            break;
        case 4: {
            const bool present = model.erase(tag) != 0;
            Expect(bag->DeleteProperty(tag) == (present ? S_OK : E_PROPERTY_NOT_FOUND), "delete");
            break;
        }
        case 5:
            CheckRange(bag, model, "enumeration");
            break;
        case 6:
            Batch(bag, model);
            break;
        case 7:
            PairsIntact(bag);
            break;
        case 8: {
            IkcSysPropertyBag* copy = nullptr;
            Expect(bag->Clone(&copy) == S_OK, "clone");
            if (copy != nullptr) {
                CheckRange(static_cast<IkcSysPropertyBag3*>(copy), model, "clone");
                IkcSysEnumPropertyTag* changed = nullptr;
                Expect(static_cast<IkcSysPropertyBag3*>(copy)->EnumChangedTags(&changed) == S_FALSE,
                       "a clone starts unchanged");
                Expect(copy->Release() == 0, "clone released");
            }
            break;
        }
        case 9:
            Churn();
            break;
        case 10:
            if (Pick(16) == 0)
                HostPass();
            Walk();
            break;
        default: {
            Expect(bag->HasProperty(tag) == (model.count(tag) ? S_OK : S_FALSE), "presence");
            if (Pick(8) == 0)
                bag->ClearChangedTags(); // others' marks too: only the invariant is checked
            break;
        }
        }
    }

    void Store(IkcSysPropertyBag3* bag, Model& model, std::uint32_t tag) {
        const auto value = static_cast<std::int32_t>(m_random());
        const bool asString = tag % 3 == 0; // a tag keeps one type for its whole life
        const HRESULT result = asString ? bag->SetStringProperty(tag, Decimal(value).c_str())
                                        : bag->SetIntegerProperty(tag, value);
        Expect(result == S_OK, "store");
        model[tag] = {asString, value};
        // Another type is refused and changes nothing.
        Expect((asString ? bag->SetIntegerProperty(tag, 1) : bag->SetStringProperty(tag, u"x")) ==
                   E_PROPERTY_TYPE_MISMATCH,
               "type kept");
    }

    void Read(IkcSysPropertyBag3* bag, const Model& model, std::uint32_t tag) {
        const auto found = model.find(tag);
        if (found == model.end()) {
            std::int32_t untouched = 17;
            Expect(bag->GetIntegerProperty(tag, &untouched) == E_PROPERTY_NOT_FOUND &&
                       untouched == 17,
                   "absent");
            return;
        }
        if (found->second.isString) {
            char16_t* text = nullptr;
            Expect(bag->GetStringProperty(tag, &text) == S_OK && text != nullptr &&
                       std::u16string(text) == Decimal(found->second.value),
                   "string value");
            FreeWideString(text);
        } else {
            std::int32_t value = 0;
            Expect(bag->GetIntegerProperty(tag, &value) == S_OK && value == found->second.value,
                   "integer value");
        }
    }

    // The task's tags in a snapshot of the bag are exactly its model's, each with its value.
    void CheckRange(IkcSysPropertyBag3* bag, const Model& model, const char* where) {
        IkcSysEnumPropertyTag* tags = nullptr;
        const HRESULT result = bag->EnumProperties(&tags);
        std::vector<std::uint32_t> own;
        std::uint32_t batch[16];
        std::uint32_t fetched = 0;
        while (tags != nullptr && SUCCEEDED(tags->Next(16, batch, &fetched)) && fetched > 0)
            for (std::uint32_t i = 0; i < fetched; ++i)
                if (batch[i] >= TaskTag(m_index, 0) && batch[i] < TaskTag(m_index, k_tagsPerTask))
                    own.push_back(batch[i]);
        if (tags != nullptr)
            Expect(tags->Release() == 0, "snapshot released");
        Expect(SUCCEEDED(result), where);
        std::vector<std::uint32_t> expected;
        for (const auto& entry : model)
            expected.push_back(entry.first);
        if (own != expected)
            Fail(std::string(where) + ": own tags differ from the model");
        for (const auto& entry : model)
            Read(bag, model, entry.first);
    }

    // Several calls under one batch lock: a pair written together, own tags, the invariant.
    void Batch(IkcSysPropertyBag3* bag, Model& model) {
        Expect(bag->AcquireBatchLock() == S_OK, "acquire");
        const std::uint32_t pair = k_pairTag + 2 * Pick(k_pairs);
        const auto value = static_cast<std::int32_t>(m_index << 24 | (m_operations & 0xFFFFFF));
        Expect(bag->SetIntegerProperty(pair, value) == S_OK, "pair first");
        if (Pick(2) == 0) {
            Expect(bag->AcquireBatchLock() == S_OK, "nested acquire");
            ++m_nested;
        }
        Store(bag, model, TaskTag(m_index, Pick(k_tagsPerTask)));
        Expect(bag->SetIntegerProperty(pair + 1, value) == S_OK, "pair second");
        IkcSysEnumPropertyTag* changed = nullptr;
        IkcSysEnumPropertyTag* all = nullptr;
        bag->EnumChangedTags(&changed);
        bag->EnumProperties(&all);
        Expect(Subset(changed, all), "changed tags all exist");
        for (; m_nested > 0; --m_nested)
            Expect(bag->ReleaseBatchLock() == S_OK, "nested release");
        Expect(bag->ReleaseBatchLock() == S_OK, "release");
    }

    bool Subset(IkcSysEnumPropertyTag* changed, IkcSysEnumPropertyTag* all) {
        std::vector<std::uint32_t> a;
        std::vector<std::uint32_t> b;
        std::uint32_t tag = 0;
        while (changed != nullptr && changed->Next(1, &tag, nullptr) == S_OK)
            a.push_back(tag);
        while (all != nullptr && all->Next(1, &tag, nullptr) == S_OK)
            b.push_back(tag);
        if (changed != nullptr)
            changed->Release();
        if (all != nullptr)
            all->Release();
        return std::includes(b.begin(), b.end(), a.begin(), a.end());
    }

    // Both tags of a pair hold the same value whenever no batch is half done.
    void PairsIntact(IkcSysPropertyBag3* bag) {
        Expect(bag->AcquireBatchLock() == S_OK, "acquire for reading");
        for (std::uint32_t i = 0; i < k_pairs; ++i) {
            std::int32_t first = 1;
            std::int32_t second = 2;
            const HRESULT a = bag->GetIntegerProperty(k_pairTag + 2 * i, &first);
            const HRESULT b = bag->GetIntegerProperty(k_pairTag + 2 * i + 1, &second);
            Expect(a == b && (FAILED(a) || first == second), "a pair is never torn");
        }
        Expect(bag->ReleaseBatchLock() == S_OK, "release after reading");
    }

    // References taken and given back on shared objects through every interface pointer.
    void Churn() {
        void* plugPlay = nullptr;
        Expect(m_expert->QueryInterface(IID_IkcSysExpertPlugPlay, &plugPlay) == S_OK, "query");
        m_expert->AddRef();
        m_bags[0]->AddRef();
        m_tags->AddRef();
        Expect(m_tags->Release() >= 1, "enumerator still held");
        Expect(m_bags[0]->Release() >= 1, "bag still held");
        Expect(m_expert->Release() >= 1, "expert still held");
        Expect(static_cast<IkcSysExpertPlugPlay*>(plugPlay)->Release() >= 1, "expert still held");
    }

    // The task's own clone of the shared enumerator, and clones of it, over one container.
    void Walk() {
        IkcSysEnumPropertyTag* clone = nullptr;
        Expect(m_tags->Reset() == S_OK && m_tags->Skip(1) == S_OK, "reset and skip");
        Expect(m_tags->Clone(&clone) == S_OK, "enumerator clone");
        std::uint32_t tag = 0;
        std::uint32_t expected = 1;
        while (clone != nullptr && clone->Next(1, &tag, nullptr) == S_OK)
            Expect(tag == expected++, "clone walks the shared container in order");
        Expect(expected == 64, "clone saw every remaining tag");
        if (clone != nullptr)
            Expect(clone->Release() == 0, "enumerator clone released");
        IkcSysEnumStringList* names = nullptr;
        Expect(m_names->Reset() == S_OK && m_names->Clone(&names) == S_OK, "names clone");
        Expect(names != nullptr && TakeNames(names) == u"img0 img1 img2 img3 ", "names in order");
    }

    // Names from an enumerator, which it then releases.
    std::u16string TakeNames(IkcSysEnumStringList* names) {
        std::u16string text;
        char16_t* batch[8] = {};
        std::uint32_t fetched = 0;
        Expect(names->Next(8, batch, &fetched) == S_FALSE, "every name in one batch");
        for (std::uint32_t i = 0; i < fetched; ++i) {
            text += batch[i] + std::u16string(u" ");
            FreeWideString(batch[i]);
        }
        Expect(names->Release() == 0, "names released");
        return text;
    }

    // The host's way through the task's own expert: list the items, report one.
    void HostPass() {
        IkcSysEnumStringList* names = nullptr;
        Expect(m_own->SearchForItemNames(&names) == S_OK, "own names");
        if (names != nullptr)
            Expect(TakeNames(names) == u"img0 img1 img2 img3 ", "own names in order");
        IkcSysPropertyBag* bag = nullptr;
        Expect(m_own->GetPropertiesOfItem(u"IMG2", &bag) == S_OK, "own item");
        if (bag == nullptr)
            return;
        IkcSysEnumPropertyTag* tags = nullptr;
        bag->EnumProperties(&tags);
        std::uint32_t batch[2 * QXZEVA_ITEM_PROPERTY_COUNT];
        std::uint32_t fetched = 0;
        Expect(tags != nullptr &&
                   tags->Next(2 * QXZEVA_ITEM_PROPERTY_COUNT, batch, &fetched) == S_FALSE &&
                   fetched == QXZEVA_ITEM_PROPERTY_COUNT,
               "every property");
        if (tags != nullptr)
            tags->Release();
        Expect(bag->Release() == 0, "own bag destroyed");
    }

    int m_index;
    std::mt19937 m_random;
    IkcSysPropertyBag3* m_bags[2];
    IkcSysExpert2* m_expert;
    IkcSysEnumPropertyTag* m_tags;
    IkcSysEnumStringList* m_names;
    IkcSysExpert2* m_own = nullptr;
    Model m_models[2];
    int m_nested = 0;
};

} // namespace stress

#endif
