// What the programs show a person for a property's tag and type, and the order they list them in.
#ifndef QX_CLI_PROPERTY_LABELS_H
#define QX_CLI_PROPERTY_LABELS_H

#include <cstddef>
#include <cstdint>

// What a tag means, for people; "" for a tag the expert does not set.
const char* PropertyLabel(std::uint32_t tag);

// The property's stable snake_case name, its key in the JSON report; "" for a tag the expert
// does not set.
const char* PropertyKey(std::uint32_t tag);

// Where a tag stands in the order the expert sets them; tags it does not set come after.
std::size_t PropertyRank(std::uint32_t tag);

// "boolean", "integer", ... "timestamp"; "?" for a code that names no type.
const char* AttributeTypeName(std::int32_t type);

#endif
