#include "host/property_labels.h"

#include "qxzeva/qxzeva_c.h"

#include <algorithm>
#include <iterator>

namespace {

struct TagMeaning {
    std::uint32_t tag;
    const char* label;
};

// In the order the expert sets them.
const TagMeaning k_meanings[] = {
    {kcSysTagSerialNumber, "Serial number"},
    {kcSysTagConstant1C, "Fixed integer (1)"},
    {kcSysTagItemName, "Item name"},
    {kcSysTagItemAlias, "Item name (alias)"},
    {kcSysTagFlag54, "Fixed flag (false)"},
    {kcSysTagConstant2A, "Fixed integer (99)"},
    {kcSysTagFlag01, "Fixed flag (true)"},
    {kcSysTagFlag28, "Fixed flag (false)"},
    {kcSysTagConstant24, "Fixed integer (1)"},
    {kcSysTagFlag08, "Fixed flag (true)"},
    {kcSysTagPciIdUpper, "PCI identifier, upper 16 bits"},
    {kcSysTagPciIdLower, "PCI identifier, lower 16 bits"},
    {kcSysTagVendor, "Vendor"},
    {kcSysTagModel, "Model"},
    {kcSysTagEmptyText, "Empty text"},
    {kcSysTagConstant0B, "Fixed integer (-1)"},
    {kcSysTagDriverVersion, "Driver version"},
    {kcSysTagDriverFamily, "Driver family"},
    {kcSysTagCount02, "Fixed count (1)"},
    {kcSysTagPciBus, "PCI bus"},
    {kcSysTagPciDevice, "PCI device"},
    {kcSysTagPciFunction, "PCI function"},
};
static_assert(std::size(k_meanings) == QXZEVA_ITEM_PROPERTY_COUNT, "one label per property");

} // namespace

std::size_t PropertyRank(std::uint32_t tag) {
    const auto found =
        std::find_if(std::begin(k_meanings), std::end(k_meanings),
                     [tag](const TagMeaning& meaning) { return meaning.tag == tag; });
    return static_cast<std::size_t>(found - std::begin(k_meanings));
}

const char* PropertyLabel(std::uint32_t tag) {
    const std::size_t rank = PropertyRank(tag);
    return rank < std::size(k_meanings) ? k_meanings[rank].label : "";
}

const char* AttributeTypeName(std::int32_t type) {
    static const char* const k_names[] = {"?",      "boolean", "integer", "unsigned",
                                          "double", "guid",    "string",  "timestamp"};
    return type >= kcSysAttrTypeBoolean && type <= kcSysAttrTypeTimestampUTC ? k_names[type]
                                                                             : k_names[0];
}
