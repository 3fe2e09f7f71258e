/* Each operation's slot in the C view's tables, held at the number hosts call it by, on every
   target the build compiles for: a slot inserted, dropped or moved in a list fails the build
   here. Written out by hand, not from the lists the tables are expanded from. */
#include "qxzeva/qxzeva_c.h"

#include <stddef.h>

#define SLOT(Table, name, index)                                                                   \
    _Static_assert(offsetof(Table, name) == (index) * sizeof(void*),                               \
                   #Table "." #name " is slot " #index);
#define SLOTS(Table, count)                                                                        \
    _Static_assert(sizeof(Table) == (count) * sizeof(void*), #Table " has " #count " slots");

/* clang-format off */
SLOT(IUnknownVtbl, QueryInterface, 0)
SLOT(IUnknownVtbl, AddRef, 1)
SLOT(IUnknownVtbl, Release, 2)
SLOTS(IUnknownVtbl, 3)

SLOT(IkcSysExpert2Vtbl, QueryInterface, 0)
SLOT(IkcSysExpert2Vtbl, GetProductID, 3)
SLOT(IkcSysExpert2Vtbl, GetProductDisplayName, 4)
SLOT(IkcSysExpert2Vtbl, GetProductVersion, 5)
SLOT(IkcSysExpert2Vtbl, GetProgrammaticName, 6)
SLOT(IkcSysExpert2Vtbl, Initialize, 7)
SLOT(IkcSysExpert2Vtbl, Finalize, 8)
SLOT(IkcSysExpert2Vtbl, SearchForItemsAndProperties, 9)
SLOT(IkcSysExpert2Vtbl, SearchForItemNames, 10)
SLOT(IkcSysExpert2Vtbl, GetPropertiesOfItem, 11)
SLOT(IkcSysExpert2Vtbl, PopulateOrRefreshProperties, 12)
SLOT(IkcSysExpert2Vtbl, SetPreferredLocale, 13)
SLOT(IkcSysExpert2Vtbl, RenameAlias, 14)
SLOT(IkcSysExpert2Vtbl, ValidatePropertyChanges, 15)
SLOT(IkcSysExpert2Vtbl, PersistPropertyChanges, 16)
SLOTS(IkcSysExpert2Vtbl, 17)

SLOT(IkcSysExpertPlugPlayVtbl, QueryInterface, 0)
SLOT(IkcSysExpertPlugPlayVtbl, RegisterNotificationCallback, 3)
SLOTS(IkcSysExpertPlugPlayVtbl, 4)

SLOT(IkcSysPropertyBag3Vtbl, QueryInterface, 0)
SLOT(IkcSysPropertyBag3Vtbl, EnumProperties, 3)
SLOT(IkcSysPropertyBag3Vtbl, HasProperty, 4)
SLOT(IkcSysPropertyBag3Vtbl, GetPropertyType, 5)
SLOT(IkcSysPropertyBag3Vtbl, DeleteProperty, 6)
SLOT(IkcSysPropertyBag3Vtbl, DeleteAllProperties, 7)
SLOT(IkcSysPropertyBag3Vtbl, SetBooleanProperty, 8)
SLOT(IkcSysPropertyBag3Vtbl, SetIntegerProperty, 9)
SLOT(IkcSysPropertyBag3Vtbl, SetUnsignedIntegerProperty, 10)
SLOT(IkcSysPropertyBag3Vtbl, SetDoubleProperty, 11)
SLOT(IkcSysPropertyBag3Vtbl, SetGuidProperty, 12)
SLOT(IkcSysPropertyBag3Vtbl, SetStringProperty, 13)
SLOT(IkcSysPropertyBag3Vtbl, _SetTimestampProperty, 14)
SLOT(IkcSysPropertyBag3Vtbl, GetBooleanProperty, 15)
SLOT(IkcSysPropertyBag3Vtbl, GetIntegerProperty, 16)
SLOT(IkcSysPropertyBag3Vtbl, GetUnsignedIntegerProperty, 17)
SLOT(IkcSysPropertyBag3Vtbl, GetDoubleProperty, 18)
SLOT(IkcSysPropertyBag3Vtbl, GetGuidProperty, 19)
SLOT(IkcSysPropertyBag3Vtbl, GetStringProperty, 20)
SLOT(IkcSysPropertyBag3Vtbl, GetTimestampProperty, 21)
SLOT(IkcSysPropertyBag3Vtbl, Clone, 22)
SLOT(IkcSysPropertyBag3Vtbl, ClearChangedTags, 23)
SLOT(IkcSysPropertyBag3Vtbl, EnumChangedTags, 24)
SLOT(IkcSysPropertyBag3Vtbl, GetTimestampPropertyUTC, 25)
SLOT(IkcSysPropertyBag3Vtbl, SetTimestampPropertyUTC, 26)
SLOT(IkcSysPropertyBag3Vtbl, AcquireBatchLock, 27)
SLOT(IkcSysPropertyBag3Vtbl, ReleaseBatchLock, 28)
SLOTS(IkcSysPropertyBag3Vtbl, 29)

SLOT(IkcSysEnumStringListVtbl, QueryInterface, 0)
SLOT(IkcSysEnumStringListVtbl, Next, 3)
SLOT(IkcSysEnumStringListVtbl, Skip, 4)
SLOT(IkcSysEnumStringListVtbl, Reset, 5)
SLOT(IkcSysEnumStringListVtbl, Clone, 6)
SLOTS(IkcSysEnumStringListVtbl, 7)

SLOT(IkcSysEnumPropertyTagVtbl, QueryInterface, 0)
SLOT(IkcSysEnumPropertyTagVtbl, Next, 3)
SLOT(IkcSysEnumPropertyTagVtbl, Skip, 4)
SLOT(IkcSysEnumPropertyTagVtbl, Reset, 5)
SLOT(IkcSysEnumPropertyTagVtbl, Clone, 6)
SLOTS(IkcSysEnumPropertyTagVtbl, 7)

SLOT(IkcSysPropertyBagCollectionVtbl, QueryInterface, 0)
SLOT(IkcSysPropertyBagCollectionVtbl, AddPropertyBag, 3)
SLOTS(IkcSysPropertyBagCollectionVtbl, 4)
/* clang-format on */
