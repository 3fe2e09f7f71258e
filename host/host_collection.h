// The host's own collection of property bags, as the framework supplies one to the expert.
#ifndef QX_HOST_HOST_COLLECTION_H
#define QX_HOST_HOST_COLLECTION_H

#include "cli/c_view.h"
#include "qxzeva/qxzeva_host.h"

#include <atomic>
#include <vector>

// Keeps a reference on every bag it is given; gives them back when destroyed. Lives on the
// host's stack: its own count only guards against misuse.
class HostCollection {
public:
    HostCollection();
    HostCollection(const HostCollection&) = delete;
    HostCollection& operator=(const HostCollection&) = delete;

    IkcSysPropertyBagCollection* Interface() { return &m_interface; }
    const std::vector<qxzeva::Ref<IkcSysPropertyBag>>& Bags() const { return m_bags; }

private:
    static const IkcSysPropertyBagCollectionVtbl s_table;

    static HostCollection* From(IkcSysPropertyBagCollection* self);
    static HRESULT QueryInterface(IkcSysPropertyBagCollection* self, const _GUID* iid,
                                  void** object);
    static int32_t AddRef(IkcSysPropertyBagCollection* self);
    static int32_t Release(IkcSysPropertyBagCollection* self);
    static HRESULT AddPropertyBag(IkcSysPropertyBagCollection* self, IkcSysPropertyBag* bag);

    IkcSysPropertyBagCollection m_interface; // first: the interface pointer is this object
    std::atomic<int32_t> m_count{1};
    std::vector<qxzeva::Ref<IkcSysPropertyBag>> m_bags;
};

#endif
