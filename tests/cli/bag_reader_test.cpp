// The programs' one bag reader: each call is named to the caller before it is made, so that a
// crash inside is blamed on it; a failing getter ends the reading with its result kept; a
// timestamp is read as local time or as stored.
#include "cli/bag_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A bag holding an integer (tag 2), a boolean whose getter writes 7 (tag 5) and a timestamp
// (tag 9); each operation notes which call the reader had named when it was made.
struct StubBag {
    IkcSysPropertyBag3 face{};
    std::vector<std::string> named;
    std::vector<std::string> made; // each operation, with the name told just before it
    HRESULT integerResult = S_OK;
};
struct StubTags {
    IkcSysEnumPropertyTag face{};
    StubBag* bag;
    bool done = false;
};

StubBag* BagOf(IkcSysPropertyBag3* face) {
    return reinterpret_cast<StubBag*>(face);
}
void Made(StubBag* bag, const char* operation) {
    bag->made.push_back(std::string(operation) + " after " +
                        (bag->named.empty() ? "nothing" : bag->named.back()));
}

IkcSysEnumPropertyTagVtbl TagTable() {
    IkcSysEnumPropertyTagVtbl table{};
    table.Next = [](IkcSysEnumPropertyTag* face, std::uint32_t, std::uint32_t* tags,
                    std::uint32_t* fetched) -> HRESULT {
        auto* self = reinterpret_cast<StubTags*>(face);
        Made(self->bag, "Next");
        *fetched = self->done ? 0 : 3;
        if (!self->done) {
            tags[0] = 9;
            tags[1] = 2;
            tags[2] = 5;
        }
        self->done = true;
        return S_FALSE;
    };
    table.Release = [](IkcSysEnumPropertyTag* face) -> std::int32_t {
        auto* self = reinterpret_cast<StubTags*>(face);
        Made(self->bag, "Release");
        delete self;
        return 0;
    };
    return table;
}
const IkcSysEnumPropertyTagVtbl k_tagTable = TagTable();

IkcSysPropertyBag3Vtbl BagTable() {
    IkcSysPropertyBag3Vtbl table{};
    table.EnumProperties = [](IkcSysPropertyBag3* face, IkcSysEnumPropertyTag** tags) -> HRESULT {
        Made(BagOf(face), "EnumProperties");
        *tags = &(new StubTags{{&k_tagTable}, BagOf(face)})->face;
        return S_OK;
    };
    table.GetPropertyType = [](IkcSysPropertyBag3* face, std::uint32_t tag,
                               kcSysAttributeType* type) -> HRESULT {
        Made(BagOf(face), "GetPropertyType");
        *type = tag == 2   ? kcSysAttrTypeInteger
                : tag == 5 ? kcSysAttrTypeBoolean
                           : kcSysAttrTypeTimestampUTC;
        return S_OK;
    };
    table.GetIntegerProperty = [](IkcSysPropertyBag3* face, std::uint32_t,
                                  std::int32_t* value) -> HRESULT {
        Made(BagOf(face), "GetIntegerProperty");
        *value = -4;
        return BagOf(face)->integerResult;
    };
    table.GetBooleanProperty = [](IkcSysPropertyBag3* face, std::uint32_t, int* value) -> HRESULT {
        Made(BagOf(face), "GetBooleanProperty");
        *value = 7;
        return S_OK;
    };
    table.GetTimestampProperty = [](IkcSysPropertyBag3* face, std::uint32_t,
                                    kcSysAttrTimestamp* value) -> HRESULT {
        Made(BagOf(face), "GetTimestampProperty");
        *value = {2018, 6, 30, 12, 0, 5};
        return S_OK;
    };
    table.GetTimestampPropertyUTC = [](IkcSysPropertyBag3* face, std::uint32_t,
                                       kcSysAttrTimestampUTC* value) -> HRESULT {
        Made(BagOf(face), "GetTimestampPropertyUTC");
        *value = {{0, 0xD8E1A2B3u, 0x80000000u, 1}};
        return S_OK;
    };
    return table;
}
const IkcSysPropertyBag3Vtbl k_bagTable = BagTable();

} // namespace

TEST(BagReader, NamesEachCallBeforeMakingIt) {
    StubBag bag;
    bag.face.lpVtbl = &k_bagTable;
    BagReadOptions options;
    options.calling = [&](const std::string& operation) { bag.named.push_back(operation); };
    options.storedTimestamps = true;
    std::vector<PropertyReading> read;
    ASSERT_EQ(ReadBag(&bag.face, &read, options), S_OK);
    const std::vector<std::string> made = {
        "EnumProperties after IkcSysPropertyBag3::EnumProperties(&tags)",
        "Next after IkcSysEnumPropertyTag::Next(32, tags, &fetched)",
        "GetPropertyType after IkcSysPropertyBag3::GetPropertyType(0x00000009, &type)",
        "GetTimestampPropertyUTC after "
        "IkcSysPropertyBag3::GetTimestampPropertyUTC(0x00000009, &value)",
        "GetPropertyType after IkcSysPropertyBag3::GetPropertyType(0x00000002, &type)",
        "GetIntegerProperty after IkcSysPropertyBag3::GetIntegerProperty(0x00000002, &value)",
        "GetPropertyType after IkcSysPropertyBag3::GetPropertyType(0x00000005, &type)",
        "GetBooleanProperty after IkcSysPropertyBag3::GetBooleanProperty(0x00000005, &value)",
        "Release after IkcSysEnumPropertyTag::Release()",
    };
    EXPECT_EQ(bag.made, made);
    // Tags the expert does not set keep the bag's order; a boolean keeps the number written.
    ASSERT_EQ(read.size(), 3U);
    EXPECT_EQ(read[0].text, "{00000000 D8E1A2B3 80000000 00000001}");
    EXPECT_EQ(read[1].tag, 2U);
    EXPECT_EQ(read[1].integer, -4);
    EXPECT_TRUE(read[2].boolean);
    EXPECT_EQ(read[2].integer, 7);
}

TEST(BagReader, StopsAtAFailingGetterKeepingItsResult) {
    StubBag bag;
    bag.face.lpVtbl = &k_bagTable;
    bag.integerResult = E_FAIL;
    std::vector<PropertyReading> read;
    EXPECT_EQ(ReadBag(&bag.face, &read), E_FAIL); // nobody told, timestamps as local time
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[0].text, "2018-06-30 12:00:05");
    EXPECT_EQ(read[0].result, S_OK);
    EXPECT_EQ(read[1].tag, 2U);
    EXPECT_EQ(read[1].result, E_FAIL);
    EXPECT_TRUE(bag.named.empty());
}
