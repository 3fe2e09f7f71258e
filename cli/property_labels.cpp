#include "cli/property_labels.h"

#include "cli/c_view.h"

#include <algorithm>
#include <iterator>

namespace {

struct TagMeaning {
    std::uint32_t tag;
    const char* label;
    const char* key;
};

// In the order the expert sets them.
#define QX_MEANING(constant, tag, type, label, key, source) {constant, label, key},
const TagMeaning k_meanings[] = {QXZEVA_PROPERTY_TABLE(QX_MEANING)};
#undef QX_MEANING

const TagMeaning* Find(std::uint32_t tag) {
    const std::size_t rank = PropertyRank(tag);
    return rank < std::size(k_meanings) ? &k_meanings[rank] : nullptr;
}

} // namespace

std::size_t PropertyRank(std::uint32_t tag) {
    const auto found =
        std::find_if(std::begin(k_meanings), std::end(k_meanings),
                     [tag](const TagMeaning& meaning) { return meaning.tag == tag; });
    return static_cast<std::size_t>(found - std::begin(k_meanings));
}

const char* PropertyLabel(std::uint32_t tag) {
    const TagMeaning* meaning = Find(tag);
    return meaning != nullptr ? meaning->label : "";
}

const char* PropertyKey(std::uint32_t tag) {
    const TagMeaning* meaning = Find(tag);
    return meaning != nullptr ? meaning->key : "";
}

const char* AttributeTypeName(std::int32_t type) {
    static const char* const k_names[] = {"?",      "boolean", "integer", "unsigned",
                                          "double", "guid",    "string",  "timestamp"};
    return type >= kcSysAttrTypeBoolean && type <= kcSysAttrTypeTimestampUTC ? k_names[type]
                                                                             : k_names[0];
}
