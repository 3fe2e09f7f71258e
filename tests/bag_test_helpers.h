// A fresh bag per test, created the way the module creates one, and its exact destruction.
#ifndef QX_TESTS_BAG_TEST_HELPERS_H
#define QX_TESTS_BAG_TEST_HELPERS_H

#include "com/widestring.h"
#include "propertybag/dynamic_property_bag.h"

#include <gtest/gtest.h>

#include <string>

class BagTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_object = MakeComObject<CkcDynamicPropertyBag>().detach();
        bag = m_object;
    }
    void TearDown() override { EXPECT_EQ(bag->Release(), 0); }

    // The string stored under tag, freed as a receiver must; "<null>" for a null string.
    std::u16string StringOf(std::uint32_t tag, HRESULT expected = S_OK) {
        char16_t sentinel = 0;
        char16_t* text = &sentinel;
        EXPECT_EQ(bag->GetStringProperty(tag, &text), expected);
        if (text == &sentinel)
            return u"<untouched>";
        const std::u16string result = text == nullptr ? u"<null>" : text;
        FreeWideString(text);
        return result;
    }

    std::int32_t IntegerOf(std::uint32_t tag) {
        std::int32_t value = -12345;
        EXPECT_EQ(bag->GetIntegerProperty(tag, &value), S_OK);
        return value;
    }

    CkcDynamicPropertyBagObject* m_object = nullptr;
    IkcSysPropertyBag3* bag = nullptr;
};

#endif
