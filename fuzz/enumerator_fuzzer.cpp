// Operation sequences on the module's two enumerators, item names and property tags: Next in
// any batch size, Skip, Reset, Clone of sources and of clones, QueryInterface, AddRef and
// Release in any order, checked against a model of positions and reference counts. A clone
// keeps its source's container alive, so the handles may be released in any order; the
// sanitizer sees every use after free, double free and leak.
#include "fuzz_check.h"

#include "com/kcsysenum.h"
#include "com/widestring.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

const _GUID k_IUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// What each kind of enumerator walks, what it hands out, and how the model reads it.
struct NameKind {
    using Enumerator = CkcSysEnumItemNames;
    using Interface = IkcSysEnumStringList;
    using Element = char16_t*;
    using ModelElement = std::u16string;
    static constexpr const _GUID* k_iid = &IID_IkcSysEnumStringList;
    static constexpr const _GUID* k_otherIid = &IID_IkcSysEnumPropertyTag;

    static std::unique_ptr<ItemNameList> Make(FuzzedDataProvider& input,
                                              std::vector<ModelElement>* model) {
        auto list = std::make_unique<ItemNameList>();
        const int count = input.ConsumeIntegralInRange(0, 8);
        for (int i = 0; i < count; ++i) {
            std::u16string units;
            for (int n = input.ConsumeIntegralInRange(0, 12); n > 0; --n)
                units += static_cast<char16_t>(input.ConsumeIntegralInRange(0, 0x120));
            list->emplace_back(units.data(), static_cast<std::uint32_t>(units.size()));
            model->push_back(units.substr(0, units.find(u'\0'))); // handed out up to a zero
        }
        return list;
    }
    static Element Sentinel() { return reinterpret_cast<char16_t*>(0x5E5E); }
    static void CheckAndFree(Element element, const ModelElement& expected) {
        FUZZ_CHECK(element != nullptr && element != Sentinel());
        FUZZ_CHECK(std::u16string(element) == expected);
        FUZZ_CHECK(WideStringLength(element) == expected.size());
        FreeWideString(element);
    }
};

struct TagKind {
    using Enumerator = CkcSysEnumPropertyTags;
    using Interface = IkcSysEnumPropertyTag;
    using Element = std::uint32_t;
    using ModelElement = std::uint32_t;
    static constexpr const _GUID* k_iid = &IID_IkcSysEnumPropertyTag;
    static constexpr const _GUID* k_otherIid = &IID_IkcSysEnumStringList;

    static std::unique_ptr<PropertyTagSet> Make(FuzzedDataProvider& input,
                                                std::vector<ModelElement>* model) {
        auto tags = std::make_unique<PropertyTagSet>();
        for (int n = input.ConsumeIntegralInRange(0, 10); n > 0; --n)
            tags->insert(input.ConsumeIntegral<std::uint32_t>());
        model->assign(tags->begin(), tags->end()); // ascending
        return tags;
    }
    static Element Sentinel() { return 0x5E5E5E5Eu; }
    static void CheckAndFree(Element element, const ModelElement& expected) {
        FUZZ_CHECK(element == expected);
    }
};

template <class Kind>
class Run {
public:
    using Interface = typename Kind::Interface;
    using Element = typename Kind::Element;

    explicit Run(FuzzedDataProvider& input) : m_input(input) {
        auto container = Kind::Make(input, &m_elements);
        Interface* made = MakeEnumerator<typename Kind::Enumerator>(std::move(container)).detach();
        m_handles.push_back({made, 1, 0, true});
    }

    // The host gives back every reference it still holds, clones and source in any order.
    ~Run() {
        for (Handle& handle : m_handles)
            while (handle.hostRefs > 0)
                Release(handle);
    }

    void Step() {
        std::vector<std::size_t> live;
        for (std::size_t i = 0; i < m_handles.size(); ++i)
            if (m_handles[i].hostRefs > 0)
                live.push_back(i);
        if (live.empty())
            return;
        Handle& handle =
            m_handles[live[m_input.ConsumeIntegralInRange<std::size_t>(0, live.size() - 1)]];
        switch (m_input.ConsumeIntegralInRange(0, 9)) {
        case 0:
        case 1:
        case 2:
            Next(handle);
            break;
        case 3:
            Skip(handle);
            break;
        case 4:
            FUZZ_CHECK(handle.pointer->Reset() == S_OK);
            handle.position = 0;
            break;
        case 5:
            Clone(handle);
            break;
        case 6:
            QueryInterface(handle);
            break;
        case 7:
            ++handle.hostRefs;
            FUZZ_CHECK(handle.pointer->AddRef() == Count(handle));
            break;
        default:
            Release(handle);
            break;
        }
    }

private:
    struct Handle {
        Interface* pointer;
        std::int32_t hostRefs;
        std::size_t position;
        bool isSource; // the one enumerator that owns the container
    };

    // A source's count also holds one reference per live clone.
    std::int32_t Count(const Handle& handle) const {
        std::int32_t count = handle.hostRefs;
        if (handle.isSource)
            for (const Handle& other : m_handles)
                count += !other.isSource && other.hostRefs > 0 ? 1 : 0;
        return count;
    }

    void Release(Handle& handle) {
        --handle.hostRefs;
        const std::int32_t expected = Count(handle);
        FUZZ_CHECK(handle.pointer->Release() == expected);
    }

    void Next(Handle& handle) {
        const auto wanted = m_input.ConsumeIntegralInRange<std::uint32_t>(0, 6);
        const bool withFetched = m_input.ConsumeIntegralInRange(0, 3) != 0;
        std::unique_ptr<Element[]> array(new Element[wanted + 1]);
        for (std::uint32_t i = 0; i <= wanted; ++i)
            array[i] = Kind::Sentinel();
        std::uint32_t fetched = 0xFEEDu;
        const HRESULT result =
            handle.pointer->Next(wanted, array.get(), withFetched ? &fetched : nullptr);
        if (wanted != 1 && !withFetched) {
            FUZZ_CHECK(result == E_POINTER);
            for (std::uint32_t i = 0; i <= wanted; ++i)
                FUZZ_CHECK(array[i] == Kind::Sentinel());
            return;
        }
        const std::size_t left = m_elements.size() - handle.position;
        const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::size_t>(wanted, left));
        FUZZ_CHECK(result == (count == wanted ? S_OK : S_FALSE));
        if (withFetched)
            FUZZ_CHECK(fetched == count);
        for (std::uint32_t i = 0; i < count; ++i)
            Kind::CheckAndFree(array[i], m_elements[handle.position + i]);
        for (std::uint32_t i = count; i <= wanted; ++i)
            FUZZ_CHECK(array[i] == Kind::Sentinel());
        handle.position += count;
    }

    void Skip(Handle& handle) {
        const auto count = m_input.ConsumeIntegralInRange<std::uint32_t>(0, 10);
        const std::size_t left = m_elements.size() - handle.position;
        const HRESULT result = handle.pointer->Skip(count);
        FUZZ_CHECK(result == (count > left ? S_FALSE : S_OK));
        handle.position += std::min<std::size_t>(count, left);
    }

    void Clone(Handle& handle) {
        if (m_input.ConsumeIntegralInRange(0, 7) == 0) {
            FUZZ_CHECK(handle.pointer->Clone(nullptr) == E_POINTER);
            return;
        }
        Interface* clone = reinterpret_cast<Interface*>(0x1);
        FUZZ_CHECK(handle.pointer->Clone(&clone) == S_OK);
        FUZZ_CHECK(clone != nullptr && clone != handle.pointer);
        const std::size_t position = handle.position; // handle may move when the vector grows
        m_handles.push_back({clone, 1, position, false});
    }

    void QueryInterface(Handle& handle) {
        void* out = reinterpret_cast<void*>(0x1);
        switch (m_input.ConsumeIntegralInRange(0, 2)) {
        case 0:
            FUZZ_CHECK(handle.pointer->QueryInterface(*Kind::k_otherIid, &out) == E_NOINTERFACE);
            FUZZ_CHECK(out == nullptr);
            return;
        case 1:
            FUZZ_CHECK(handle.pointer->QueryInterface(*Kind::k_iid, nullptr) == E_POINTER);
            return;
        default:
            FUZZ_CHECK(handle.pointer->QueryInterface(
                           m_input.ConsumeBool() ? *Kind::k_iid : k_IUnknown, &out) == S_OK);
            FUZZ_CHECK(out == static_cast<void*>(handle.pointer));
            ++handle.hostRefs;
            return;
        }
    }

    FuzzedDataProvider& m_input;
    std::vector<typename Kind::ModelElement> m_elements;
    std::vector<Handle> m_handles;
};

template <class Kind>
void RunSequence(FuzzedDataProvider& input) {
    Run<Kind> run(input);
    for (int steps = 0; steps < 96 && input.remaining_bytes() > 0; ++steps)
        run.Step();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        RunSequence<NameKind>(input);
    else
        RunSequence<TagKind>(input);
    return 0;
}
