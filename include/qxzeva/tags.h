/** @file tags.h
    The tags of the properties every item's bag holds, one for each row of the property
    table (qxzeva/property_table.h). */
#ifndef QXZEVA_TAGS_H
#define QXZEVA_TAGS_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

#include "qxzeva/property_table.h"
#include "qxzeva/types.h"

/** @addtogroup qxzeva_values
    Every item's bag, from IkcSysExpert2Vtbl::GetPropertiesOfItem or
    IkcSysExpert2Vtbl::SearchForItemsAndProperties, holds the QXZEVA_ITEM_PROPERTY_COUNT tags
    of kcSysItemPropertyTag, one for each row of QXZEVA_PROPERTY_TABLE, in the order the
    expert sets them:

    @include{doc} property_tags.dox
    @{ */

/** @cond QX_INTERNAL (the tags are listed in the table above) */
/* Each tag named by the constant of its row in the property table. */
#define QX_TAG_CONSTANT(constant, tag, ...) constant = tag,
typedef enum kcSysItemPropertyTag QX_ENUM_32 {
    QXZEVA_PROPERTY_TABLE(QX_TAG_CONSTANT)
} kcSysItemPropertyTag;
#undef QX_TAG_CONSTANT
/** @endcond */

/** @} */

#endif
