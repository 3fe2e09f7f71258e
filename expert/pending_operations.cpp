// Operations whose work arrives with item names and property reporting.
#include "expert/kcsyszeva.h"

HRESULT CkcSysZeva::SearchForItemsAndProperties(IkcSysPropertyBagCollection* collection) {
    return collection == nullptr ? E_POINTER : S_FALSE;
}

HRESULT CkcSysZeva::SearchForItemNames(IkcSysEnumStringList** names) {
    if (names == nullptr)
        return E_POINTER;
    *names = nullptr;
    return E_NOTIMPL;
}

HRESULT CkcSysZeva::GetPropertiesOfItem(const char16_t*, IkcSysPropertyBag** bag) {
    if (bag == nullptr)
        return E_POINTER;
    *bag = nullptr;
    return E_NOTIMPL;
}
