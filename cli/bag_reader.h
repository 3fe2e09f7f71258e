// Reads a property bag through its interface into plain values a person can be shown.
#ifndef QX_CLI_BAG_READER_H
#define QX_CLI_BAG_READER_H

#include "cli/c_view.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PropertyReading {
    std::uint32_t tag = 0;
    std::int32_t type = 0;   // kcSysAttributeType
    std::int32_t result = 0; // the HRESULT of GetPropertyType, else of the value's getter
    bool isNull = false;     // a string property holding no string
    bool boolean = false;
    std::int32_t integer = 0; // an integer's value, or the number a boolean's getter wrote
    std::uint32_t unsignedInteger = 0;
    double real = 0;
    std::string text; // strings as UTF-8; GUIDs and timestamps formatted
};

// How ReadBag goes about it; the defaults are the host program's.
struct BagReadOptions {
    // Told each operation just before the reader calls it, with its arguments
    // ("IkcSysPropertyBag3::GetPropertyType(0x0101D000, &type)"), so that a crash or a hang
    // inside is blamed on that call; empty for nobody.
    std::function<void(const std::string& operation)> calling;
    // Reads a timestamp as the record it is stored as (GetTimestampPropertyUTC, its four words
    // in text) instead of as local time.
    bool storedTimestamps = false;
};

struct ItemReading {
    std::string name;
    std::vector<PropertyReading> properties;
};

// Every property of the bag, in the order the expert sets them, then any other tags in the
// order the bag lists them. Returns the first failing HRESULT, or S_OK; a property whose reading
// failed is kept, its result in it, and the reading stops there.
HRESULT ReadBag(IkcSysPropertyBag* bag, std::vector<PropertyReading>* properties,
                const BagReadOptions& options = {});

#endif
