#include "propertybag/property_value.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(CkcPropertyValue, The_type_code_stays_what_construction_gave) {
    std::unique_ptr<CkcPropertyValue> value = std::make_unique<CkcTemplatePropertyValue<CqxBStr>>(
        CqxBStr(u"a", false), kcSysAttrTypeString);
    auto* text = dynamic_cast<CkcTemplatePropertyValue<CqxBStr>*>(value.get());
    ASSERT_NE(text, nullptr);
    text->SetValue(CqxBStr(u"b", false));
    text->SetValue(CqxBStr());
    EXPECT_EQ(value->GetType(), kcSysAttrTypeString);
    EXPECT_TRUE(text->GetValue().IsNull());
}

TEST(CkcPropertyValue, Each_stored_type_is_its_own_class) {
    const std::unique_ptr<CkcPropertyValue> integer =
        std::make_unique<CkcTemplatePropertyValue<std::int32_t>>(-7, kcSysAttrTypeInteger);
    EXPECT_EQ(dynamic_cast<CkcTemplatePropertyValue<std::uint32_t>*>(integer.get()), nullptr);
    EXPECT_EQ(dynamic_cast<CkcTemplatePropertyValue<bool>*>(integer.get()), nullptr);
    const auto* typed = dynamic_cast<CkcTemplatePropertyValue<std::int32_t>*>(integer.get());
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->GetValue(), -7);
}

} // namespace
