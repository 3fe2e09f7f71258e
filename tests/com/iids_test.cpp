// The interface identifiers and result codes a host compiles against, each pinned to the value
// hosts already know it by: the tests elsewhere take them from the same header as the module,
// so only a list written out independently notices a changed byte.
#include "com/guid.h"
#include "com/hresult.h"
#include "com/interfaceentry.h"
#include "qxzeva/identifiers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace {

// The record a text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" names.
_GUID FromText(const char* text) {
    unsigned data1 = 0;
    unsigned data2 = 0;
    unsigned data3 = 0;
    unsigned bytes[8] = {};
    const int fields = std::sscanf(text, "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}", &data1, &data2,
                                   &data3, &bytes[0], &bytes[1], &bytes[2], &bytes[3], &bytes[4],
                                   &bytes[5], &bytes[6], &bytes[7]);
    EXPECT_EQ(11, fields) << text;
    _GUID guid{};
    guid.Data1 = data1;
    guid.Data2 = static_cast<std::uint16_t>(data2);
    guid.Data3 = static_cast<std::uint16_t>(data3);
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = static_cast<std::uint8_t>(bytes[i]);
    return guid;
}

TEST(InterfaceIdentifiers, Every_identifier_has_the_value_hosts_know_it_by) {
    struct Pinned {
        const _GUID& iid;
        const char* text;
    };
    const Pinned pinned[] = {
        {IID_IUnknown, "{00000000-0000-0000-C000-000000000046}"},
        {IID_IkcSysExpertInfo, "{9C257614-172D-4D5D-81BB-3D4F72BD30A4}"},
        {IID_IkcSysExpert, "{B259235B-6978-4402-8910-E19E1295F326}"},
        {IID_IkcSysExpert2, "{CF3357AD-3023-4121-A60E-2FF9B3A87BEE}"},
        {IID_IkcSysExpertPlugPlay, "{C20E7758-0346-431A-A411-BF7C1E736A60}"},
        {IID_IkcSysPropertyBag, "{3E2F201D-CABE-466F-93AE-502244C18DDE}"},
        {IID_IkcSysPropertyBag2, "{E275E061-297B-4463-A5F1-5D2D9D8F3898}"},
        {IID_IkcSysPropertyBag3, "{B122AAB9-2F03-4E75-A0D1-A0F7C7DF2838}"},
        {IID_IkcSysEnumPropertyTag, "{B21429CD-0DDD-48FA-9DDD-33A1CFA79CDE}"},
        {IID_IkcSysEnumStringList, "{FB09815D-7F02-459F-87B8-78227BE84126}"},
    };
    for (const Pinned& entry : pinned) {
        SCOPED_TRACE(entry.text);
        EXPECT_TRUE(entry.iid == FromText(entry.text));
    }
    EXPECT_TRUE(IsIUnknown(FromText("{00000000-0000-0000-C000-000000000046}")));
    EXPECT_TRUE(IsIUnknown(FromText("{00000000-0000-0000-00C0-000000000046}")));
}

// The value and the name each code is known by, and the header's constant for it.
struct KnownCode {
    std::uint32_t value;
    const char* name;
    HRESULT constant;
};

TEST(ResultCodes, Every_code_has_the_value_and_the_name_hosts_know_it_by) {
    const KnownCode codes[] = {
        {0x00000000u, "S_OK", S_OK},
        {0x00000001u, "S_FALSE", S_FALSE},
        {0x80004001u, "E_NOTIMPL", E_NOTIMPL},
        {0x80004002u, "E_NOINTERFACE", E_NOINTERFACE},
        {0x80004003u, "E_POINTER", E_POINTER},
        {0x80004005u, "E_FAIL", E_FAIL},
        {0x8007000Eu, "E_OUTOFMEMORY", E_OUTOFMEMORY},
        {0x80040370u, "E_PROPERTY_TYPE_MISMATCH", E_PROPERTY_TYPE_MISMATCH},
        {0x80040371u, "E_PROPERTY_NOT_FOUND", E_PROPERTY_NOT_FOUND},
        {0x80040375u, "E_ITEM_NOT_FOUND", E_ITEM_NOT_FOUND},
    };
    for (const KnownCode& code : codes) {
        EXPECT_EQ(static_cast<HRESULT>(code.value), code.constant) << code.name;
        EXPECT_STREQ(code.name, qxHResultName(code.constant));
    }
    EXPECT_EQ(nullptr, qxHResultName(static_cast<HRESULT>(0x80070005u)));
}

} // namespace
