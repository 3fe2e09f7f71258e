// Operations whose work arrives with property reporting.
#include "expert/kcsyszeva.h"

HRESULT CkcSysZeva::SearchForItemsAndProperties(IkcSysPropertyBagCollection* collection) {
    return collection == nullptr ? E_POINTER : S_FALSE;
}

HRESULT CkcSysZeva::GetPropertiesOfItem(const char16_t*, IkcSysPropertyBag** bag) {
    if (bag == nullptr)
        return E_POINTER;
    *bag = nullptr;
    return E_NOTIMPL;
}
