// Operation sequences on property bags, every slot with any tag and any type, checked after
// each step against a simple model of tags, types, values and changed tags: the same result
// codes, the same out-values, the same contents. Clones join the run as bags of their own
// (same contents, nothing changed); tag enumerators are snapshots that later changes must not
// reach; batch locks nest and must be given back in the same number.
#include "fuzz_check.h"
#include "propertybag_model.h"

#include "com/widestring.h"
#include "propertybag/dynamic_property_bag.h"
#include "qx/kit/osdep/TimeBreakdown.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace propertybag_fuzz;

class Run {
public:
    explicit Run(FuzzedDataProvider& input) : m_input(input) {
        for (int i = 0; i < 6; ++i)
            m_pool.push_back(input.ConsumeIntegral<std::uint32_t>());
        m_pool.push_back(0);
        m_pool.push_back(0xFFFFFFFFu);
        m_pool.push_back(0x7FFFFFFFu);
        m_pool.push_back(0x80000000u);
        ModelBag first;
        first.pointer = MakeComObject<CkcDynamicPropertyBag>().detach();
        m_bags.push_back(first);
    }

    ~Run() {
        for (Snapshot& snapshot : m_snapshots)
            CheckSnapshot(snapshot, true);
        for (ModelBag& bag : m_bags) {
            for (; bag.batchLocks > 0; --bag.batchLocks)
                FUZZ_CHECK(bag.pointer->ReleaseBatchLock() == S_OK);
            FUZZ_CHECK(bag.pointer->ReleaseBatchLock() == E_FAIL);
            FUZZ_CHECK(bag.pointer->Release() == 0);
        }
    }

    void Step() {
        const std::size_t index = m_input.ConsumeIntegralInRange<std::size_t>(0, m_bags.size() - 1);
        ModelBag& bag = m_bags[index];
        const std::uint32_t tag = Tag();
        switch (m_input.ConsumeIntegralInRange(0, 19)) {
        case 0:
        case 1:
        case 2:
        case 3:
            Set(bag, tag);
            break;
        case 4:
        case 5:
        case 6:
            Get(bag, tag);
            break;
        case 7:
            FUZZ_CHECK(bag.pointer->HasProperty(tag) ==
                       (bag.properties.count(tag) ? S_OK : S_FALSE));
            break;
        case 8: {
            auto type = static_cast<kcSysAttributeType>(99);
            const auto found = bag.properties.find(tag);
            const HRESULT result = bag.pointer->GetPropertyType(tag, &type);
            FUZZ_CHECK(result == (found != bag.properties.end() ? S_OK : E_PROPERTY_NOT_FOUND));
            FUZZ_CHECK(type == (found != bag.properties.end() ? found->second.type : 99));
            FUZZ_CHECK(bag.pointer->GetPropertyType(tag, nullptr) == E_POINTER);
            break;
        }
        case 9: {
            const bool present = bag.properties.erase(tag) != 0;
            FUZZ_CHECK(bag.pointer->DeleteProperty(tag) == (present ? S_OK : E_PROPERTY_NOT_FOUND));
            bag.changed.erase(tag);
            break;
        }
        case 10:
            if (m_input.ConsumeIntegralInRange(0, 3) != 0)
                break; // rarer, so that bags fill up
            FUZZ_CHECK(bag.pointer->DeleteAllProperties() == S_OK);
            bag.properties.clear();
            bag.changed.clear();
            break;
        case 11:
            FUZZ_CHECK(bag.pointer->ClearChangedTags() == (bag.changed.empty() ? S_FALSE : S_OK));
            bag.changed.clear();
            break;
        case 12:
        case 13:
            Enumerate(bag);
            break;
        case 14:
            Clone(bag);
            break;
        case 15:
            FUZZ_CHECK(bag.pointer->AcquireBatchLock() == S_OK);
            ++bag.batchLocks;
            break;
        case 16:
            FUZZ_CHECK(bag.pointer->ReleaseBatchLock() == (bag.batchLocks > 0 ? S_OK : E_FAIL));
            bag.batchLocks -= bag.batchLocks > 0 ? 1 : 0;
            break;
        case 17: {
            const kcSysAttrTimestamp local{2020, 1, 2, 3, 4, 5};
            FUZZ_CHECK(bag.pointer->_SetTimestampProperty(tag, &local) == E_NOTIMPL);
            break;
        }
        case 18:
            if (!m_snapshots.empty()) {
                const std::size_t which =
                    m_input.ConsumeIntegralInRange<std::size_t>(0, m_snapshots.size() - 1);
                CheckSnapshot(m_snapshots[which], m_input.ConsumeBool());
                if (m_snapshots[which].enumerator == nullptr)
                    m_snapshots.erase(m_snapshots.begin() + static_cast<std::ptrdiff_t>(which));
            }
            break;
        default: {
            // Reference counting on the bag itself, through another of its interfaces.
            void* other = nullptr;
            FUZZ_CHECK(bag.pointer->QueryInterface(IID_IkcSysPropertyBag2, &other) == S_OK);
            FUZZ_CHECK(other == static_cast<void*>(bag.pointer));
            FUZZ_CHECK(bag.pointer->AddRef() == 3);
            FUZZ_CHECK(bag.pointer->Release() == 2);
            FUZZ_CHECK(static_cast<IkcSysPropertyBag2*>(other)->Release() == 1);
            break;
        }
        }
        CheckContents(m_bags[index]); // a clone may have moved the bags
    }

private:
    std::uint32_t Tag() {
        if (m_input.ConsumeIntegralInRange(0, 15) == 0)
            return m_input.ConsumeIntegral<std::uint32_t>();
        return m_pool[m_input.ConsumeIntegralInRange<std::size_t>(0, m_pool.size() - 1)];
    }

    std::optional<std::u16string> Text() {
        if (m_input.ConsumeIntegralInRange(0, 7) == 0)
            return std::nullopt;
        std::u16string units;
        for (int n = m_input.ConsumeIntegralInRange(0, 10); n > 0; --n)
            units += static_cast<char16_t>(m_input.ConsumeIntegralInRange(0, 0x2FF));
        return units;
    }

    void Set(ModelBag& bag, std::uint32_t tag) {
        IkcSysPropertyBag3& p = *bag.pointer;
        HRESULT result = S_OK;
        HRESULT expected = S_OK;
        switch (m_input.ConsumeIntegralInRange(0, 6)) {
        case 0: {
            const int flag = m_input.ConsumeIntegralInRange(-2, 5);
            result = p.SetBooleanProperty(tag, flag);
            expected = ExpectSet(bag, tag, {kcSysAttrTypeBoolean, Bytes(flag != 0 ? 1 : 0)});
            break;
        }
        case 1: {
            const auto number = m_input.ConsumeIntegral<std::int32_t>();
            result = p.SetIntegerProperty(tag, number);
            expected = ExpectSet(bag, tag, {kcSysAttrTypeInteger, Bytes(number)});
            break;
        }
        case 2: {
            const auto number = m_input.ConsumeIntegral<std::uint32_t>();
            result = p.SetUnsignedIntegerProperty(tag, number);
            expected = ExpectSet(bag, tag, {kcSysAttrTypeUnsignedInteger, Bytes(number)});
            break;
        }
        case 3: {
            const auto bits = m_input.ConsumeIntegral<std::uint64_t>(); // NaNs and all
            double number = 0;
            std::memcpy(&number, &bits, sizeof number);
            result = p.SetDoubleProperty(tag, number);
            expected = ExpectSet(bag, tag, {kcSysAttrTypeDouble, Bytes(number)});
            break;
        }
        case 4: {
            _GUID id{};
            const std::string bytes = m_input.ConsumeBytesAsString(sizeof id);
            std::memcpy(&id, bytes.data(), bytes.size());
            result = p.SetGuidProperty(tag, id);
            expected = ExpectSet(bag, tag, {kcSysAttrTypeGuid, Bytes(id)});
            break;
        }
        case 5: {
            const std::optional<std::u16string> text = Text();
            std::unique_ptr<char16_t[]> block;
            if (text) {
                block.reset(new char16_t[text->size() + 1]);
                std::copy(text->begin(), text->end(), block.get());
                block[text->size()] = 0;
            }
            result = p.SetStringProperty(tag, block.get());
            const std::u16string kept = text ? text->substr(0, text->find(u'\0')) : u"";
            expected = ExpectSet(
                bag, tag,
                {kcSysAttrTypeString,
                 std::string(reinterpret_cast<const char*>(kept.data()), kept.size() * 2), !text});
            break;
        }
        default: {
            kcSysAttrTimestampUTC stamp{};
            if (m_input.ConsumeBool()) {
                const std::string bytes = m_input.ConsumeBytesAsString(sizeof stamp);
                std::memcpy(stamp.words, bytes.data(), bytes.size());
            }
            result = p.SetTimestampPropertyUTC(tag, &stamp);
            FUZZ_CHECK(p.SetTimestampPropertyUTC(tag, nullptr) == E_POINTER);
            expected = ExpectSet(bag, tag, {kcSysAttrTypeTimestampUTC, Bytes(stamp)});
            break;
        }
        }
        FUZZ_CHECK(result == expected);
    }

    // Each getter: absent tag, other type or success, with its own rule for the out-value.
    void Get(ModelBag& bag, std::uint32_t tag) {
        const auto found = bag.properties.find(tag);
        const auto expectFor = [&](kcSysAttributeType type) {
            if (found == bag.properties.end())
                return E_PROPERTY_NOT_FOUND;
            return found->second.type == type ? S_OK : E_PROPERTY_TYPE_MISMATCH;
        };
        IkcSysPropertyBag3& p = *bag.pointer;
        switch (m_input.ConsumeIntegralInRange(0, 7)) {
        case 0: {
            int flag = 77;
            const HRESULT expected = expectFor(kcSysAttrTypeBoolean);
            FUZZ_CHECK(p.GetBooleanProperty(tag, &flag) == expected);
            FUZZ_CHECK(Bytes(flag) == (expected == S_OK ? found->second.bytes : Bytes(0)));
            break;
        }
        case 1:
            CheckPlain<std::int32_t>(p, &IkcSysPropertyBag3::GetIntegerProperty, tag,
                                     expectFor(kcSysAttrTypeInteger), found, bag);
            break;
        case 2:
            CheckPlain<std::uint32_t>(p, &IkcSysPropertyBag3::GetUnsignedIntegerProperty, tag,
                                      expectFor(kcSysAttrTypeUnsignedInteger), found, bag);
            break;
        case 3:
            CheckPlain<double>(p, &IkcSysPropertyBag3::GetDoubleProperty, tag,
                               expectFor(kcSysAttrTypeDouble), found, bag);
            break;
        case 4:
            CheckPlain<_GUID>(p, &IkcSysPropertyBag3::GetGuidProperty, tag,
                              expectFor(kcSysAttrTypeGuid), found, bag);
            break;
        case 5:
            CheckPlain<kcSysAttrTimestampUTC>(p, &IkcSysPropertyBag3::GetTimestampPropertyUTC, tag,
                                              expectFor(kcSysAttrTypeTimestampUTC), found, bag);
            break;
        case 6: {
            char16_t* text = reinterpret_cast<char16_t*>(0x2);
            const HRESULT expected = expectFor(kcSysAttrTypeString);
            FUZZ_CHECK(p.GetStringProperty(tag, &text) == expected);
            if (expected != S_OK || found->second.null) {
                FUZZ_CHECK(text == nullptr);
                break;
            }
            FUZZ_CHECK(text != nullptr);
            FUZZ_CHECK(std::string(reinterpret_cast<const char*>(text),
                                   WideStringLength(text) * 2) == found->second.bytes);
            FUZZ_CHECK(text[WideStringLength(text)] == 0);
            FreeWideString(text);
            FUZZ_CHECK(p.GetStringProperty(tag, nullptr) == E_POINTER);
            break;
        }
        default: {
            // Converted to local time by the library; a missing, mistyped or all-zero record
            // gives every field -1.
            kcSysAttrTimestamp local{};
            const HRESULT expected = expectFor(kcSysAttrTypeTimestampUTC);
            FUZZ_CHECK(p.GetTimestampProperty(tag, &local) == expected);
            kcSysAttrTimestampUTC stored{};
            if (expected == S_OK)
                std::memcpy(&stored, found->second.bytes.data(), sizeof stored);
            kcSysAttrTimestamp reference{};
            qx::kit::osdep::ToLocalTimestamp(&stored, &reference, 0.0);
            FUZZ_CHECK(std::memcmp(&local, &reference, sizeof local) == 0);
            break;
        }
        }
    }

    template <class T>
    void CheckPlain(IkcSysPropertyBag3& p, HRESULT (IkcSysPropertyBag3::*get)(std::uint32_t, T*),
                    std::uint32_t tag, HRESULT expected,
                    std::map<std::uint32_t, Value>::const_iterator found, const ModelBag&) {
        T value;
        std::memset(&value, 0xA5, sizeof value);
        const std::string untouched = Bytes(value);
        FUZZ_CHECK((p.*get)(tag, &value) == expected);
        FUZZ_CHECK(Bytes(value) == (expected == S_OK ? found->second.bytes : untouched));
        FUZZ_CHECK((p.*get)(tag, nullptr) == E_POINTER);
    }

    void Enumerate(ModelBag& bag) {
        const bool changedOnly = m_input.ConsumeBool();
        IkcSysEnumPropertyTag* enumerator = reinterpret_cast<IkcSysEnumPropertyTag*>(0x3);
        const HRESULT result = changedOnly ? bag.pointer->EnumChangedTags(&enumerator)
                                           : bag.pointer->EnumProperties(&enumerator);
        std::vector<std::uint32_t> expected;
        if (changedOnly)
            expected.assign(bag.changed.begin(), bag.changed.end());
        else
            for (const auto& property : bag.properties)
                expected.push_back(property.first);
        FUZZ_CHECK(result == (expected.empty() ? S_FALSE : S_OK));
        FUZZ_CHECK((enumerator == nullptr) == expected.empty());
        FUZZ_CHECK((changedOnly ? bag.pointer->EnumChangedTags(nullptr)
                                : bag.pointer->EnumProperties(nullptr)) == E_POINTER);
        if (enumerator != nullptr)
            m_snapshots.push_back({enumerator, expected});
    }

    void Clone(ModelBag& bag) {
        if (m_bags.size() >= 4) {
            FUZZ_CHECK(bag.pointer->Clone(nullptr) == E_POINTER);
            return;
        }
        IkcSysPropertyBag* copy = reinterpret_cast<IkcSysPropertyBag*>(0x4);
        FUZZ_CHECK(bag.pointer->Clone(&copy) == S_OK);
        FUZZ_CHECK(copy != nullptr && copy != bag.pointer);
        ModelBag clone;
        clone.pointer = static_cast<IkcSysPropertyBag3*>(copy);
        clone.properties = bag.properties;
        m_bags.push_back(clone); // bag may move now
        CheckContents(m_bags.back());
    }

    FuzzedDataProvider& m_input;
    std::vector<std::uint32_t> m_pool;
    std::vector<ModelBag> m_bags;
    std::vector<Snapshot> m_snapshots;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Run run(input);
    for (int steps = 0; steps < 128 && input.remaining_bytes() > 0; ++steps)
        run.Step();
    return 0;
}
