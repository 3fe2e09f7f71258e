#include "propertybag_model.h"

#include "fuzz_check.h"

#include "com/enuminterfaces.h"

namespace propertybag_fuzz {

HRESULT ExpectSet(ModelBag& bag, std::uint32_t tag, const Value& value) {
    const auto found = bag.properties.find(tag);
    if (found != bag.properties.end() && found->second.type != value.type)
        return E_PROPERTY_TYPE_MISMATCH;
    bag.properties[tag] = value;
    bag.changed.insert(tag);
    return S_OK;
}

void CheckSnapshot(Snapshot& snapshot, bool release) {
    FUZZ_CHECK(snapshot.enumerator->Reset() == S_OK);
    std::vector<std::uint32_t> tags(snapshot.tags.size() + 1);
    std::uint32_t fetched = 0;
    const HRESULT result =
        snapshot.enumerator->Next(static_cast<std::uint32_t>(tags.size()), tags.data(), &fetched);
    FUZZ_CHECK(result == S_FALSE && fetched == snapshot.tags.size());
    tags.resize(fetched);
    FUZZ_CHECK(tags == snapshot.tags);
    if (release) {
        FUZZ_CHECK(snapshot.enumerator->Release() == 0);
        snapshot.enumerator = nullptr;
    }
}

void CheckContents(const ModelBag& bag) {
    const auto collect = [](IkcSysEnumPropertyTag* enumerator) {
        std::vector<std::uint32_t> tags;
        if (enumerator == nullptr)
            return tags;
        std::uint32_t tag = 0;
        while (enumerator->Next(1, &tag, nullptr) == S_OK)
            tags.push_back(tag);
        FUZZ_CHECK(enumerator->Release() == 0);
        return tags;
    };
    IkcSysEnumPropertyTag* all = nullptr;
    IkcSysEnumPropertyTag* changed = nullptr;
    bag.pointer->EnumProperties(&all);
    bag.pointer->EnumChangedTags(&changed);
    std::vector<std::uint32_t> expected;
    for (const auto& property : bag.properties) {
        expected.push_back(property.first);
        kcSysAttributeType type{};
        FUZZ_CHECK(bag.pointer->GetPropertyType(property.first, &type) == S_OK);
        FUZZ_CHECK(type == property.second.type);
    }
    FUZZ_CHECK(collect(all) == expected);
    FUZZ_CHECK(collect(changed) ==
               std::vector<std::uint32_t>(bag.changed.begin(), bag.changed.end()));
}

} // namespace propertybag_fuzz
