#include "propertybag/property_value.h"

CkcPropertyValue::~CkcPropertyValue() = default;

template class CkcTemplatePropertyValue<bool>;
template class CkcTemplatePropertyValue<std::int32_t>;
template class CkcTemplatePropertyValue<std::uint32_t>;
template class CkcTemplatePropertyValue<double>;
template class CkcTemplatePropertyValue<_GUID>;
template class CkcTemplatePropertyValue<CqxBStr>;
template class CkcTemplatePropertyValue<kcSysAttrTimestampUTC>;
