// The model the property-bag fuzzer checks bags against: each bag's tags, types, values and
// changed tags, the tag enumerators taken from it as snapshots, and the checks that a bag and
// a snapshot still agree with their model.
#ifndef QX_FUZZ_PROPERTYBAG_MODEL_H
#define QX_FUZZ_PROPERTYBAG_MODEL_H

#include "propertybag/propertybag_interfaces.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace propertybag_fuzz {

// One stored value: its type code and its content as bytes (a string as its units, with
// "null" kept apart from empty).
struct Value {
    kcSysAttributeType type;
    std::string bytes;
    bool null = false;
};

template <class T>
std::string Bytes(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

struct ModelBag {
    IkcSysPropertyBag3* pointer = nullptr;
    std::map<std::uint32_t, Value> properties;
    std::set<std::uint32_t> changed;
    std::int32_t batchLocks = 0;
};

struct Snapshot {
    IkcSysEnumPropertyTag* enumerator;
    std::vector<std::uint32_t> tags;
};

// Stores in the model what a successful Set of that type stores, and gives the result the
// bag must give.
HRESULT ExpectSet(ModelBag& bag, std::uint32_t tag, const Value& value);

// Walks a snapshot from the start; it shows the tags of the moment it was taken.
void CheckSnapshot(Snapshot& snapshot, bool release);

// The bag holds exactly the model's tags and types, and exactly its changed tags.
void CheckContents(const ModelBag& bag);

} // namespace propertybag_fuzz

#endif
