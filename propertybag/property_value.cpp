#include "propertybag/property_value.h"

#include "com/widestring.h"
#include "qx/kit/WideTextLength.h"

#include <cassert>

CkcPropertyValue::~CkcPropertyValue() = default;

CqxBStr CopyOfStoredString(const CqxBStr& stored) {
    const char16_t* text = stored;
    if (text == nullptr)
        return CqxBStr();
    const std::uint32_t length = WideStringLength(text);
    assert(WideTextLength(text) == length && "a stored string's count must be its length");
    return CqxBStr(AllocWideStringOfUnits(text, length), true);
}

template class CkcTemplatePropertyValue<bool>;
template class CkcTemplatePropertyValue<std::int32_t>;
template class CkcTemplatePropertyValue<std::uint32_t>;
template class CkcTemplatePropertyValue<double>;
template class CkcTemplatePropertyValue<_GUID>;
template class CkcTemplatePropertyValue<CqxBStr>;
template class CkcTemplatePropertyValue<kcSysAttrTimestampUTC>;
