/** @file tags.h
    The tags of the properties every item's bag holds. */
#ifndef QXZEVA_TAGS_H
#define QXZEVA_TAGS_H

#include "qxzeva/types.h"

/** @addtogroup qxzeva_values
    @{ */

/** The tags of an item's 22 properties, in the order the expert sets them, each with the
    type of its value and its meaning. What the host framework makes of the fixed ones is the
    host's; they are named here by the value they always hold and the tag's distinguishing
    digits. */
typedef enum kcSysItemPropertyTag QX_ENUM_32 {
    kcSysTagSerialNumber = 0x01007000,  /**< string: "%08X" of the serial number */
    kcSysTagConstant1C = 0x0101C000,    /**< integer: 1 */
    kcSysTagItemName = 0x0101D000,      /**< string: the item name */
    kcSysTagItemAlias = 0x0101F000,     /**< string: the item name again */
    kcSysTagFlag54 = 0x01054000,        /**< boolean: false */
    kcSysTagConstant2A = 0x0102A000,    /**< integer: 99 */
    kcSysTagFlag01 = 0x01001000,        /**< boolean: true */
    kcSysTagFlag28 = 0x01028000,        /**< boolean: false */
    kcSysTagConstant24 = 0x01024000,    /**< integer: 1 */
    kcSysTagFlag08 = 0x01008000,        /**< boolean: true */
    kcSysTagPciIdUpper = 0x01005000,    /**< unsigned: upper 16 bits of the PCI identifier */
    kcSysTagPciIdLower = 0x01003000,    /**< unsigned: lower 16 bits of the PCI identifier */
    kcSysTagVendor = 0x01004000,        /**< string: the vendor */
    kcSysTagModel = 0x01006000,         /**< string: the board name without its family prefix */
    kcSysTagEmptyText = 0x0100A000,     /**< string: empty */
    kcSysTagConstant0B = 0x0100B000,    /**< integer: -1 */
    kcSysTagDriverVersion = 0x0700C000, /**< unsigned: the driver's version */
    kcSysTagDriverFamily = 0x0700D000,  /**< string: the driver family */
    kcSysTagCount02 = 0x01002000,       /**< unsigned: 1 */
    kcSysTagPciBus = 0x01018000,        /**< unsigned */
    kcSysTagPciDevice = 0x01019000,     /**< unsigned */
    kcSysTagPciFunction = 0x0101A000    /**< unsigned */
} kcSysItemPropertyTag;

#define QXZEVA_ITEM_PROPERTY_COUNT 22 /**< the number of tags in every item's bag */

/** @} */

#endif
