// Reads a property bag through its interface into plain values a person can be shown.
#ifndef QX_CLI_BAG_READER_H
#define QX_CLI_BAG_READER_H

#include "cli/c_view.h"

#include <cstdint>
#include <string>
#include <vector>

struct PropertyReading {
    std::uint32_t tag = 0;
    std::int32_t type = 0; // kcSysAttributeType
    bool isNull = false;   // a string property holding no string
    bool boolean = false;
    std::int32_t integer = 0;
    std::uint32_t unsignedInteger = 0;
    double real = 0;
    std::string text; // strings as UTF-8; GUIDs and timestamps formatted
};

struct ItemReading {
    std::string name;
    std::vector<PropertyReading> properties;
};

// Every property of the bag, in the order the expert sets them, then any other tags in
// ascending order. Returns the first failing HRESULT, or S_OK.
HRESULT ReadBag(IkcSysPropertyBag* bag, std::vector<PropertyReading>* properties);

#endif
