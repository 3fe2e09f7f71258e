// A host's collection of property bags for tests, fuzzers and the module tests: keeps a
// reference on every bag it takes, in order, and can refuse the n-th with a chosen result.
// Room for the bags is reserved up front, so taking one never allocates (and never throws
// across the interface) while a test is failing the module's allocations.
#ifndef QX_TESTS_KEEPING_COLLECTION_H
#define QX_TESTS_KEEPING_COLLECTION_H

#include "expert/expert_interfaces.h"
#include "propertybag/propertybag_interfaces.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class KeepingCollection final : public IkcSysPropertyBagCollection {
public:
    explicit KeepingCollection(std::size_t room = 64) { m_bags.reserve(room); }
    ~KeepingCollection() { ReleaseBags(); }
    KeepingCollection(const KeepingCollection&) = delete;
    KeepingCollection& operator=(const KeepingCollection&) = delete;

    HRESULT QueryInterface(const _GUID&, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    std::int32_t AddRef() override { return ++m_count; }
    std::int32_t Release() override { return --m_count; }
    HRESULT AddPropertyBag(IkcSysPropertyBag* bag) override {
        ++m_calls;
        if (m_calls == m_refuseCall)
            return m_refusal;
        if (m_bags.size() == m_bags.capacity())
            return E_OUTOFMEMORY;
        m_bags.push_back(bag);
        bag->AddRef();
        return S_OK;
    }

    // Gives back every bag; true when each release was the last one.
    bool ReleaseBags() {
        bool allLast = true;
        for (IkcSysPropertyBag* bag : m_bags)
            allLast = bag->Release() == 0 && allLast;
        m_bags.clear();
        return allLast;
    }

    std::vector<IkcSysPropertyBag*> m_bags;
    int m_calls = 0;
    int m_refuseCall = 0; // 0: take every bag
    HRESULT m_refusal = E_FAIL;
    std::int32_t m_count = 1; // the test's own reference
};

#endif
