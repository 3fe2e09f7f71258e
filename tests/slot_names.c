/* Prints each table of the C view with its slots in order, one table a line, from the lists
   the C view is expanded from: what the reference must list (tests/check_docs.cmake). */
#include "qxzeva/qxzeva_c.h"

#include <stdio.h>

#define SLOT_NAME(result, name, parameters) " " #name
#define U(Self) QXZEVA_IUNKNOWN_SLOTS(SLOT_NAME, QXC, Self)

int main(void) {
    puts("IUnknownVtbl" U(IUnknown));
    puts("IkcSysExpert2Vtbl" U(IkcSysExpert2)
             QXZEVA_IKCSYSEXPERTINFO_SLOTS(SLOT_NAME, QXC, IkcSysExpert2)
                 QXZEVA_IKCSYSEXPERT_SLOTS(SLOT_NAME, QXC, IkcSysExpert2)
                     QXZEVA_IKCSYSEXPERT2_SLOTS(SLOT_NAME, QXC, IkcSysExpert2));
    puts("IkcSysExpertPlugPlayVtbl" U(IkcSysExpertPlugPlay)
             QXZEVA_IKCSYSEXPERTPLUGPLAY_SLOTS(SLOT_NAME, QXC, IkcSysExpertPlugPlay));
    puts("IkcSysPropertyBag3Vtbl" U(IkcSysPropertyBag3)
             QXZEVA_IKCSYSPROPERTYBAG_SLOTS(SLOT_NAME, QXC, IkcSysPropertyBag3)
                 QXZEVA_IKCSYSPROPERTYBAG2_SLOTS(SLOT_NAME, QXC, IkcSysPropertyBag3)
                     QXZEVA_IKCSYSPROPERTYBAG3_SLOTS(SLOT_NAME, QXC, IkcSysPropertyBag3));
    puts("IkcSysEnumStringListVtbl" U(IkcSysEnumStringList)
             QXZEVA_IKCSYSENUMSTRINGLIST_SLOTS(SLOT_NAME, QXC, IkcSysEnumStringList));
    puts("IkcSysEnumPropertyTagVtbl" U(IkcSysEnumPropertyTag)
             QXZEVA_IKCSYSENUMPROPERTYTAG_SLOTS(SLOT_NAME, QXC, IkcSysEnumPropertyTag));
    puts("IkcSysPropertyBagCollectionVtbl" U(IkcSysPropertyBagCollection)
             QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_SLOTS(SLOT_NAME, QXC, IkcSysPropertyBagCollection));
    return 0;
}
