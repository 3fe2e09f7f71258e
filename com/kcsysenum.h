// The module's two enumerators: item names (boundary wide strings) and property tags. Each
// is its own copy policy.
#ifndef QX_COM_KCSYSENUM_H
#define QX_COM_KCSYSENUM_H

#include "com/enuminterfaces.h"
#include "com/enumonstl.h"
#include "com/widestring.h"
#include "qx/kit/StringBase.h"
#include "qxzeva/identifiers.h"

#include <cstdint>
#include <list>
#include <set>

template <class CollType>
class CkcSysEnumItemNamesSTL
    : public CQXComEnumOnSTL<IkcSysEnumStringList, &IID_IkcSysEnumStringList, char16_t*,
                             CkcSysEnumItemNamesSTL<CollType>, CollType,
                             CQXComMultiThreadModelNoCS> {
public:
    // A new boundary string with the name's text up to its first zero unit; fails (null)
    // only when memory is exhausted.
    static HRESULT copy(char16_t** to, const qx::kit::WideString* from) {
        *to = AllocWideString(from->c_str());
        return *to != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    static void destroy(char16_t** name) { FreeWideString(*name); }

protected:
    ~CkcSysEnumItemNamesSTL() override = default;
};

template <class CollType>
class CkcSysEnumPropertyTagsSTL
    : public CQXComEnumOnSTL<IkcSysEnumPropertyTag, &IID_IkcSysEnumPropertyTag, std::uint32_t,
                             CkcSysEnumPropertyTagsSTL<CollType>, CollType,
                             CQXComMultiThreadModelNoCS> {
public:
    static HRESULT copy(std::uint32_t* to, const std::uint32_t* from) {
        *to = *from;
        return S_OK;
    }
    static void destroy(std::uint32_t*) {} // GCOVR_EXCL_LINE: only after a failed copy

protected:
    ~CkcSysEnumPropertyTagsSTL() override = default;
};

// The containers the module enumerates: names in discovery order, tags ascending.
using ItemNameList = std::list<qx::kit::WideString>;
using PropertyTagSet = std::set<std::uint32_t>;
using CkcSysEnumItemNames = CkcSysEnumItemNamesSTL<ItemNameList>;
using CkcSysEnumPropertyTags = CkcSysEnumPropertyTagsSTL<PropertyTagSet>;

extern template class CkcSysEnumItemNamesSTL<ItemNameList>;
extern template class CkcSysEnumPropertyTagsSTL<PropertyTagSet>;

#endif
