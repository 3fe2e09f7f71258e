/** @file property_table.h
    The properties every item's bag holds, written once: the tags, their count, the expert's
    setters, the labels and JSON keys a host shows and the reference's table of tags all come
    from this list. C and C++ alike.

    One row per property, in the order the expert sets them (and so the order a host lists
    them in when it keeps the expert's order):
    X(constant, tag, type, label, key, source)
    - constant: the name of the tag's constant in kcSysItemPropertyTag;
    - tag: its value;
    - type: the kcSysAttributeType code of its value;
    - label: what it is, for a person: qxzeva-host -v and the "label" of its JSON report. A
      value the expert fixes whose meaning is the framework's is labelled with no more than
      its type, value and tag, so that each label stays unique and claims nothing;
    - key: the property's stable name in snake_case, unique among the rows: the key of its
      value in each board's "properties" in qxzeva-host --json. Once published a key never
      changes, so that scripts reading the report keep working;
    - source: where the expert takes the value from, for the expert alone; a user of the other
      columns never expands it. SERIAL the serial number as eight upper-case hexadecimal
      digits; ITEM_NAME the item name as the caller wrote it; MODEL the board name without a
      leading "ZEVA "; PCI_ID_HIGH and PCI_ID_LOW the upper and lower 16 bits of the PCI
      identifier; DRIVER_VERSION the driver's version; BOARD(member) a member of the board's
      record; FIXED(value) and TEXT(text) a value that never changes.

    The lower half of the PCI identifier is the vendor's identifier, the upper half the
    device's, as PCI configuration space holds them. A board's PCI location is the three
    numbers kcSysTagPciBus (0 to 255), kcSysTagPciDevice (0 to 31) and kcSysTagPciFunction (0
    to 7); written as text it is bus:device.function in hexadecimal, two, two and one digits,
    as the PCI tools write it and qxzeva-host -s selects it: 03:00.0, 0A:1F.7 (either case).
    What the host framework makes of the fixed values is the framework's. */
#ifndef QXZEVA_PROPERTY_TABLE_H
#define QXZEVA_PROPERTY_TABLE_H

#include "qxzeva/cxx_standard.h" /* first: C++17 in C++ */

/** @addtogroup qxzeva_values
    @{ */

/** The properties, one row each: X(constant, tag, type, label, key, source). */
/* One row a line reads as a table. */
/* clang-format off */
#define QXZEVA_PROPERTY_TABLE(X) \
    X(kcSysTagSerialNumber, 0x01007000, kcSysAttrTypeString, "Serial number", "serial_number", SERIAL) \
    X(kcSysTagConstant1C, 0x0101C000, kcSysAttrTypeInteger, "Fixed integer 1 (tag 0x0101C000)", "constant_1c", FIXED(1)) \
    X(kcSysTagItemName, 0x0101D000, kcSysAttrTypeString, "Item name", "item_name", ITEM_NAME) \
    X(kcSysTagItemAlias, 0x0101F000, kcSysAttrTypeString, "Item name (alias)", "item_alias", ITEM_NAME) \
    X(kcSysTagFlag54, 0x01054000, kcSysAttrTypeBoolean, "Fixed boolean false (tag 0x01054000)", "flag_54", FIXED(0)) \
    X(kcSysTagConstant2A, 0x0102A000, kcSysAttrTypeInteger, "Fixed integer 99 (tag 0x0102A000)", "constant_2a", FIXED(99)) \
    X(kcSysTagFlag01, 0x01001000, kcSysAttrTypeBoolean, "Fixed boolean true (tag 0x01001000)", "flag_01", FIXED(1)) \
    X(kcSysTagFlag28, 0x01028000, kcSysAttrTypeBoolean, "Fixed boolean false (tag 0x01028000)", "flag_28", FIXED(0)) \
    X(kcSysTagConstant24, 0x01024000, kcSysAttrTypeInteger, "Fixed integer 1 (tag 0x01024000)", "constant_24", FIXED(1)) \
    X(kcSysTagFlag08, 0x01008000, kcSysAttrTypeBoolean, "Fixed boolean true (tag 0x01008000)", "flag_08", FIXED(1)) \
    X(kcSysTagPciIdUpper, 0x01005000, kcSysAttrTypeUnsignedInteger, "PCI device ID", "pci_device_id", PCI_ID_HIGH) \
    X(kcSysTagPciIdLower, 0x01003000, kcSysAttrTypeUnsignedInteger, "PCI vendor ID", "pci_vendor_id", PCI_ID_LOW) \
    X(kcSysTagVendor, 0x01004000, kcSysAttrTypeString, "Vendor", "vendor", TEXT("Verantic")) \
    X(kcSysTagModel, 0x01006000, kcSysAttrTypeString, "Model", "model", MODEL) \
    X(kcSysTagEmptyText, 0x0100A000, kcSysAttrTypeString, "Fixed empty string (tag 0x0100A000)", "empty_text", TEXT("")) \
    X(kcSysTagConstant0B, 0x0100B000, kcSysAttrTypeInteger, "Fixed integer -1 (tag 0x0100B000)", "constant_0b", FIXED(-1)) \
    X(kcSysTagDriverVersion, 0x0700C000, kcSysAttrTypeUnsignedInteger, "Driver version", "driver_version", DRIVER_VERSION) \
    X(kcSysTagDriverFamily, 0x0700D000, kcSysAttrTypeString, "Driver family", "driver_family", TEXT("ZEVA")) \
    X(kcSysTagCount02, 0x01002000, kcSysAttrTypeUnsignedInteger, "Fixed unsigned 1 (tag 0x01002000)", "count_02", FIXED(1)) \
    X(kcSysTagPciBus, 0x01018000, kcSysAttrTypeUnsignedInteger, "PCI bus number", "pci_bus", BOARD(pciBus)) \
    X(kcSysTagPciDevice, 0x01019000, kcSysAttrTypeUnsignedInteger, "PCI device number", "pci_device", BOARD(pciDevice)) \
    X(kcSysTagPciFunction, 0x0101A000, kcSysAttrTypeUnsignedInteger, "PCI function number", "pci_function", BOARD(pciFunction))
/* clang-format on */

/** @cond QX_INTERNAL */
#define QXZEVA_PROPERTY_COUNT_ONE(...) +1
/** @endcond */

/** The number of tags in every item's bag: the rows of QXZEVA_PROPERTY_TABLE. */
#define QXZEVA_ITEM_PROPERTY_COUNT (0 QXZEVA_PROPERTY_TABLE(QXZEVA_PROPERTY_COUNT_ONE))

/** @} */

#endif
