// The installed C++ host helpers, compiled together with the C view they sit on.
#include "qxzeva/qxzeva_c.h"
#include "qxzeva/qxzeva_host.h"
#include "wide_units.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace qxzeva::c;

// An object seen through the C view that counts, answers IID_IUnknown alone and notes the
// identifier it was last asked for.
struct CountedObject {
    IUnknown face;
    std::int32_t count = 1;
    _GUID asked{};
};

HRESULT OnlyUnknown(IUnknown* self, const _GUID* iid, void** object) {
    auto* counted = reinterpret_cast<CountedObject*>(self);
    counted->asked = *iid;
    *object = qxzeva::SameGuid(*iid, IID_IUnknown) ? self : nullptr;
    if (*object == nullptr)
        return E_NOINTERFACE;
    ++counted->count;
    return S_OK;
}
std::int32_t CountUp(IUnknown* self) {
    return ++reinterpret_cast<CountedObject*>(self)->count;
}
std::int32_t CountDown(IUnknown* self) {
    return --reinterpret_cast<CountedObject*>(self)->count;
}
const IUnknownVtbl k_countingTable = {OnlyUnknown, CountUp, CountDown};

CountedObject MakeCounted() {
    return CountedObject{{&k_countingTable}, 1};
}

// A block laid out as the module hands strings out.
QX_WCHAR* NewBoundaryString(const std::u16string& text) {
    const auto units = static_cast<std::uint32_t>(text.size());
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof units + (units + 1) * 2));
    std::memcpy(block, &units, sizeof units);
    auto* first = reinterpret_cast<QX_WCHAR*>(block + sizeof units);
    for (std::uint32_t i = 0; i < units; ++i)
        first[i] = text[i];
    first[units] = 0;
    return first;
}

} // namespace

// The holder is the module's own template (tests/com/comptr_test.cpp); here only what the
// table of operations adds: counting through lpVtbl and the typed query.
TEST(HostRef, Counts_through_the_table_of_operations) {
    CountedObject object = MakeCounted();
    {
        qxzeva::Ref<IUnknown> first;
        *first.put_void() = &object.face;
        const qxzeva::Ref<IUnknown> second = first;
        EXPECT_EQ(object.count, 2);
        EXPECT_EQ(second.get(), &object.face);
    }
    EXPECT_EQ(object.count, 0);
}

// A reference handed over is adopted, uncounted; the counting constructor leaves the caller
// its own to give back. Either way nothing leaks and nothing is given back twice.
TEST(HostRef, Adopts_a_reference_handed_over_and_counts_a_borrowed_one) {
    CountedObject object = MakeCounted();
    {
        const auto adopted = qxzeva::Ref<IUnknown>::adopt(&object.face);
        EXPECT_EQ(object.count, 1);
        const qxzeva::Ref<IUnknown> counted(&object.face);
        EXPECT_EQ(object.count, 2);
        EXPECT_FALSE(qxzeva::Ref<IUnknown>::adopt(nullptr));
    }
    EXPECT_EQ(object.count, 0);
}

TEST(HostRef, Typed_query_asks_by_the_identifier_of_the_interface_type) {
    CountedObject object = MakeCounted();
    qxzeva::Ref<IUnknown> held;
    held.attach(&object.face);
    {
        const qxzeva::Ref<IUnknown> same = held.try_as<IUnknown>();
        EXPECT_EQ(same.get(), &object.face);
        EXPECT_EQ(object.count, 2);
    }
    EXPECT_FALSE(held.try_as<IkcSysEnumStringList>());
    EXPECT_TRUE(qxzeva::SameGuid(object.asked, IID_IkcSysEnumStringList));
    HRESULT result = S_OK;
    EXPECT_FALSE(held.as<IkcSysPropertyBag>(&result));
    EXPECT_EQ(result, E_NOINTERFACE);
    EXPECT_TRUE(qxzeva::SameGuid(object.asked, IID_IkcSysPropertyBag3))
        << "the C view's bag type is the newest bag interface";
    EXPECT_FALSE(qxzeva::Ref<IUnknown>().as<IUnknown>(&result));
    EXPECT_EQ(result, E_POINTER);
    EXPECT_EQ(object.count, 1);
}

TEST(HostWideString, Owns_and_frees_the_block_the_module_hands_out) {
    qxzeva::WideString text;
    EXPECT_EQ(text.utf8(), "");
    *text.put() = NewBoundaryString(u"img1");
    EXPECT_EQ(qxWideStringLength(text.get()), 4u);
    EXPECT_EQ(text.utf8(), "img1");
    qxzeva::WideString moved = std::move(text);
    EXPECT_FALSE(text);
    EXPECT_EQ(moved.utf8(), "img1");
    QX_WCHAR* released = moved.detach();
    EXPECT_FALSE(moved);
    qxFreeWideString(released);
    // Whatever is still held when the owner goes is freed (the sanitizer build sees a leak).
    qxzeva::WideString last;
    *last.put() = NewBoundaryString(u"kept");
}

TEST(HostText, Utf8_of_utf16_joins_pairs_and_replaces_lone_surrogates) {
    EXPECT_EQ(qxzeva::ToUtf8(nullptr), "");
    EXPECT_EQ(qxzeva::ToUtf8(Units(u"").data()), "");
    EXPECT_EQ(qxzeva::ToUtf8(Units(u"A\u00E9\u20AC").data()), "A\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(qxzeva::ToUtf8(Units(u"\U0001F600").data()), "\xF0\x9F\x98\x80");
    EXPECT_EQ(qxzeva::ToUtf8(Units(u"\U0010FFFF").data()), "\xF4\x8F\xBF\xBF");
    const std::u16string highAlone = {0xD83D, u'x'};
    const std::u16string highAtEnd = {u'x', 0xD83D};
    const std::u16string lowAlone = {0xDE00, 0xD83D};
    EXPECT_EQ(qxzeva::ToUtf8(Units(highAlone).data()), "\xEF\xBF\xBDx");
    EXPECT_EQ(qxzeva::ToUtf8(Units(highAtEnd).data()), "x\xEF\xBF\xBD");
    EXPECT_EQ(qxzeva::ToUtf8(Units(lowAlone).data()), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(HostText, Utf16_of_utf8_is_terminated_and_splits_points_above_the_plane) {
    EXPECT_EQ(qxzeva::ToUtf16(""), Units(u""));
    EXPECT_EQ(qxzeva::ToUtf16("A\xC3\xA9\xE2\x82\xAC"), Units(u"A\u00E9\u20AC"));
    EXPECT_EQ(qxzeva::ToUtf16("\xF0\x9F\x98\x80"), Units(u"\U0001F600"));
    EXPECT_EQ(qxzeva::ToUtf16("\xF4\x8F\xBF\xBF"), Units(u"\U0010FFFF"));
}

TEST(HostText, Utf16_of_invalid_utf8_gives_one_replacement_per_bad_part) {
    struct Case {
        const char* utf8;
        std::u16string expected;
    };
    const Case cases[] = {
        {"a\x80z", u"a\uFFFDz"},                           // stray continuation byte
        {"a\xC3", u"a\uFFFD"},                             // cut short at the end
        {"\xE2\x82z", u"\uFFFDz"},                         // cut short before a plain byte
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                     // overlong '/'
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},           // overlong three-byte form
        {"\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // overlong four-byte form
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},           // an encoded surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"\xF5\xFF", u"\uFFFD\uFFFD"},                     // bytes that never occur
        {"\xF0\x9F\x98", u"\uFFFD"},                       // a four-byte form cut short
    };
    for (const Case& item : cases)
        EXPECT_EQ(qxzeva::ToUtf16(item.utf8), Units(item.expected)) << item.utf8;
}

TEST(HostGuid, Text_is_upper_case_in_braces_and_equality_sees_every_field) {
    EXPECT_EQ(qxzeva::GuidText(IID_IkcSysPropertyBag3), "{B122AAB9-2F03-4E75-A0D1-A0F7C7DF2838}");
    EXPECT_EQ(qxzeva::GuidText(IID_IUnknown), "{00000000-0000-0000-C000-000000000046}");
    EXPECT_TRUE(qxzeva::SameGuid(IID_IkcSysExpert2, IID_IkcSysExpert2));
    _GUID changed = IID_IkcSysExpert2;
    changed.Data1 ^= 1;
    EXPECT_FALSE(qxzeva::SameGuid(IID_IkcSysExpert2, changed));
    changed = IID_IkcSysExpert2;
    changed.Data3 ^= 1;
    EXPECT_FALSE(qxzeva::SameGuid(IID_IkcSysExpert2, changed));
    changed = IID_IkcSysExpert2;
    changed.Data4[7] ^= 1;
    EXPECT_FALSE(qxzeva::SameGuid(IID_IkcSysExpert2, changed));
}

TEST(HostResult, Names_the_module_codes_and_nothing_else) {
    EXPECT_STREQ(qxzeva::HResultName(S_FALSE), "S_FALSE");
    EXPECT_STREQ(qxzeva::HResultName(E_ITEM_NOT_FOUND), "E_ITEM_NOT_FOUND");
    EXPECT_EQ(qxzeva::HResultName(static_cast<HRESULT>(0x80070005u)), nullptr);
}
