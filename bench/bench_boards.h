// The simulated driver with a given number of boards, an expert initialised over them, and
// a host collection that keeps every bag it is given until it is emptied.
#ifndef QX_BENCH_BENCH_BOARDS_H
#define QX_BENCH_BENCH_BOARDS_H

#include "expert/expert_interfaces.h"
#include "propertybag/propertybag_interfaces.h"

#include <cstdint>
#include <string>
#include <vector>

// Boards with serial numbers 0x1000 + i, active files "zevaNNN.zid" and plausible PCI data.
void InstallBoards(std::uint32_t count);

// A new expert, initialised over the installed boards; the caller owns its one reference.
IkcSysExpert2* NewInitialisedExpert();

// The expert's current item names, as SearchForItemNames lists them.
std::vector<std::u16string> ItemNamesOf(IkcSysExpert2* expert);

class KeepingCollection final : public IkcSysPropertyBagCollection {
public:
    KeepingCollection() = default;
    KeepingCollection(const KeepingCollection&) = delete;
    KeepingCollection& operator=(const KeepingCollection&) = delete;
    ~KeepingCollection() { Empty(); }

    HRESULT QueryInterface(const _GUID&, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    HRESULT AddPropertyBag(IkcSysPropertyBag* bag) override;

    void Empty();
    std::size_t Size() const { return m_bags.size(); }

private:
    std::vector<IkcSysPropertyBag*> m_bags;
};

#endif
