// A host's collection for SearchForItemsAndProperties, made by the validator: it counts its
// own references, dumps each bag it is handed, keeps the bag when asked to and fails the
// call chosen.
#ifndef QX_VALIDATE_COLLECTION_H
#define QX_VALIDATE_COLLECTION_H

#include "validate/check.h"

struct Collection {
    IkcSysPropertyBagCollection face; // first: the pointer handed to the module
    CheckContext* cx;
    bool keep = false;
    bool dump = true; // BagDump each bag into dumps
    int failAt = 0;   // the call (from 1) that fails; 0 for none
    HRESULT failWith = E_FAIL;
    int32_t references = 1;
    int calls = 0;
    std::vector<std::string> dumps;  // each bag as handed over
    std::vector<int32_t> lentCounts; // each bag's count after the collection's AddRef
    std::vector<Ref<IkcSysPropertyBag3>> kept;

    explicit Collection(CheckContext& context);
    Collection(const Collection&) = delete;
    Collection& operator=(const Collection&) = delete;
};

#endif
