/* Prints each table of the C view with its slots in order, one table a line, from the lists
   the C view is expanded from: what the reference must list (tests/check_docs.cmake). */
#include "qxzeva/qxzeva_c.h"

#include <stdio.h>

#define SLOT_NAME(result, name, parameters) " " #name
#define TABLE(Face, SLOTS) puts(#Face "Vtbl" SLOTS(SLOT_NAME, QXC, Face));

int main(void) {
    TABLE(IUnknown, QXZEVA_IUNKNOWN_SLOTS)
    TABLE(IkcSysExpert2, QXZEVA_IKCSYSEXPERT2_TABLE)
    TABLE(IkcSysExpertPlugPlay, QXZEVA_IKCSYSEXPERTPLUGPLAY_TABLE)
    TABLE(IkcSysPropertyBag3, QXZEVA_IKCSYSPROPERTYBAG3_TABLE)
    TABLE(IkcSysEnumStringList, QXZEVA_IKCSYSENUMSTRINGLIST_TABLE)
    TABLE(IkcSysEnumPropertyTag, QXZEVA_IKCSYSENUMPROPERTYTAG_TABLE)
    TABLE(IkcSysPropertyBagCollection, QXZEVA_IKCSYSPROPERTYBAGCOLLECTION_TABLE)
    return 0;
}
