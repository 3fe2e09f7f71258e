// The host framework's value-type codes and the two timestamp records that cross the
// property-bag interfaces: the shared ones of qxzeva/types.h. VisitAttributeType turns a
// code read at run time into a type known at compile time, so code that handles each of the
// seven types says so in one place and the compiler picks the handler.
#ifndef QX_PROPERTYBAG_ATTRIBUTE_TYPES_H
#define QX_PROPERTYBAG_ATTRIBUTE_TYPES_H

#include "qxzeva/types.h"

#include <type_traits>
#include <utility>

template <kcSysAttributeType Type>
using AttributeTypeTag = std::integral_constant<kcSysAttributeType, Type>;

// visit(AttributeTypeTag<code>{}) for each of the seven codes, otherwise() for a code that
// names no type; both give the same result type.
template <class Visit, class Otherwise>
decltype(auto) VisitAttributeType(kcSysAttributeType type, Visit&& visit, Otherwise&& otherwise) {
    switch (type) {
    case kcSysAttrTypeBoolean:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeBoolean>{});
    case kcSysAttrTypeInteger:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeInteger>{});
    case kcSysAttrTypeUnsignedInteger:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeUnsignedInteger>{});
    case kcSysAttrTypeDouble:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeDouble>{});
    case kcSysAttrTypeGuid:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeGuid>{});
    case kcSysAttrTypeString:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeString>{});
    case kcSysAttrTypeTimestampUTC:
        return std::forward<Visit>(visit)(AttributeTypeTag<kcSysAttrTypeTimestampUTC>{});
    }
    return std::forward<Otherwise>(otherwise)();
}

#endif
