#include "com/kcsysenum.h"

#include <type_traits>

static_assert(!std::is_destructible_v<CkcSysEnumItemNames> &&
                  !std::is_destructible_v<CkcSysEnumPropertyTags>,
              "only the last Release may destroy an enumerator");

template class CkcSysEnumItemNamesSTL<ItemNameList>;
template class CkcSysEnumPropertyTagsSTL<PropertyTagSet>;
