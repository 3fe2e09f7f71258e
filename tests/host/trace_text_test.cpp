// What the trace writes for the values, results, identifiers and driver calls it shows.
#include "cli/property_labels.h"
#include "host/call_trace.h"
#include "host/trace_names.h"
#include "host/trace_values.h"
#include "host/traced_calls.h"
#include "qxzeva/types.h"
#include "wide_units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

TEST(TraceValues, Strings_are_quoted_utf8_and_null_is_named) {
    using trace_values::Quoted;
    EXPECT_EQ(Quoted(nullptr), "null");
    EXPECT_EQ(Quoted(Units(u"").data()), "\"\"");
    EXPECT_EQ(Quoted(Units(u"img\U0001F600").data()), "\"img\xF0\x9F\x98\x80\"");
    const std::u16string lone = {u'a', 0xDC00};
    EXPECT_EQ(Quoted(Units(lone).data()), "\"a\xEF\xBF\xBD\"");
}

TEST(TraceValues, Tags_show_in_hexadecimal_and_counts_in_decimal) {
    EXPECT_EQ(trace_values::Number(0), "0");
    EXPECT_EQ(trace_values::Number(0xFFFF), "65535");
    EXPECT_EQ(trace_values::Number(0x10000), "0x00010000");
    EXPECT_EQ(trace_values::Number(kcSysTagItemName), "0x0101D000");
}

TEST(TraceValues, Identifiers_show_the_interface_they_name) {
    EXPECT_EQ(trace_values::ArgText(&IID_IkcSysPropertyBag2),
              "{E275E061-297B-4463-A5F1-5D2D9D8F3898} IkcSysPropertyBag2");
    const _GUID other = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(trace_values::ArgText(other), "{12345678-9ABC-DEF0-0102-030405060708}");
    EXPECT_EQ(trace_values::ArgText(static_cast<const _GUID*>(nullptr)), "null");
    for (const qxInterfaceInfo& entry : qxInterfaces)
        EXPECT_STREQ(InterfaceName(*entry.iid), entry.name);
}

TEST(TraceValues, Out_values_show_types_times_and_numbers) {
    kcSysAttributeType type = kcSysAttrTypeString;
    EXPECT_EQ(trace_values::OutText(nullptr, &type), "string");
    kcSysAttrTimestamp local{};
    local.year = 2018;
    local.month = 6;
    local.day = 30;
    local.hour = 12;
    local.second = 5;
    EXPECT_EQ(trace_values::OutText(nullptr, &local), "2018-06-30 12:00:05");
    kcSysAttrTimestampUTC utc = {{0, 0xD40FE1u, 0x2A3B4C5Du, 1}};
    EXPECT_EQ(trace_values::ArgText(static_cast<const kcSysAttrTimestampUTC*>(&utc)),
              "{00000000 00D40FE1 2A3B4C5D 00000001}");
    std::int32_t negative = -1;
    EXPECT_EQ(trace_values::OutText(nullptr, &negative), "-1");
    // Arguments the callee writes through show nothing before the call.
    std::uint32_t* out = nullptr;
    EXPECT_EQ(trace_values::ArgText(out), "");
}

TEST(TraceNames, Results_by_name_else_by_their_bits) {
    EXPECT_EQ(HResultName(E_ITEM_NOT_FOUND), "E_ITEM_NOT_FOUND");
    EXPECT_EQ(HResultName(static_cast<HRESULT>(0x80070005u)), "0x80070005");
    EXPECT_EQ(HResultText(E_OUTOFMEMORY), "0x8007000E");
    EXPECT_EQ(HResultText(S_FALSE), "0x00000001");
    EXPECT_EQ(HResultNamed(E_OUTOFMEMORY), "E_OUTOFMEMORY (0x8007000E)");
    EXPECT_EQ(HResultNamed(static_cast<HRESULT>(0x80070005u)), "0x80070005");
}

TEST(TraceNames, Driver_calls_show_a_named_status_by_name_as_well) {
    zevadriverCall call{};
    call.function = ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE;
    call.serialNumber = 0x0203D4C8;
    call.status = ZEVADRIVER_ERROR_NO_ACTIVE_FILE;
    EXPECT_EQ(DriverCallText(call), "driver qxzevauGetActiveInterfaceFile(0x0203D4C8) = -20003 "
                                    "(ZEVADRIVER_ERROR_NO_ACTIVE_FILE)");
    call.status = 0;
    EXPECT_EQ(DriverCallText(call), "driver qxzevauGetActiveInterfaceFile(0x0203D4C8) = 0 -> \"\"");
    call.function = ZEVADRIVER_GET_DRIVER_VERSION;
    call.serialNumber = 0;
    call.status = -7;
    EXPECT_EQ(DriverCallText(call), "driver qxzevauGetDriverVersion() = -7");
    EXPECT_STREQ(zevadriverStatusName(ZEVADRIVER_ERROR_INJECTED), "ZEVADRIVER_ERROR_INJECTED");
}

namespace {

// A call as the driver's log holds it, built by naming what it wrote.
struct LoggedCall {
    zevadriverCall call{};

    LoggedCall(zevadriverFunction function, std::uint32_t serialNumber, std::int32_t status = 0) {
        call.size = ZEVADRIVER_CALL_SIZE;
        call.function = function;
        call.serialNumber = serialNumber;
        call.status = status;
    }
    LoggedCall& Values(std::initializer_list<std::uint32_t> values) {
        call.valueCount = static_cast<std::uint32_t>(values.size());
        std::copy(values.begin(), values.end(), call.values);
        return *this;
    }
    // The first serial numbers, as many as the log keeps, of `count` written.
    LoggedCall& Serials(std::initializer_list<std::uint32_t> first, std::uint32_t count) {
        call.serialCount = count;
        std::copy(first.begin(), first.end(), call.serials);
        return *this;
    }
    // A text of `length` bytes, of which the log kept `kept`; its own length when 0.
    LoggedCall& Text(const std::string& kept, std::uint32_t length = 0) {
        call.textLength = length != 0 ? length : static_cast<std::uint32_t>(kept.size());
        std::copy(kept.begin(), kept.end(), call.text);
        return *this;
    }
};

} // namespace

TEST(TraceNames, Driver_calls_show_what_they_wrote_and_texts_escaped) {
    const std::pair<LoggedCall, const char*> rows[] = {
        {LoggedCall(ZEVADRIVER_GET_BOARD_PCI_LOCATION, 0x01C4A2F0).Values({3, 0, 0}),
         "driver qxzevauGetBoardPCILocation(0x01C4A2F0) = 0 -> 03:00.0"},
        {LoggedCall(ZEVADRIVER_GET_BOARD_PCI_LOCATION, 0x22).Values({0x1A, 0x1F, 7}),
         "driver qxzevauGetBoardPCILocation(0x00000022) = 0 -> 1A:1F.7"},
        {LoggedCall(ZEVADRIVER_GET_DRIVER_VERSION, 0).Values({0x15030000}),
         "driver qxzevauGetDriverVersion() = 0 -> 0x15030000"},
        {LoggedCall(ZEVADRIVER_GET_SERIAL_NUMBER, 0).Values({2}),
         "driver qxzevauGetSerialNumber() = 0 -> 2"},
        {LoggedCall(ZEVADRIVER_GET_SERIAL_NUMBER, 0)
             .Values({2})
             .Serials({0x01C4A2F0, 0x01C4A2F7}, 2),
         "driver qxzevauGetSerialNumber() = 0 -> [0x01C4A2F0, 0x01C4A2F7], 2"},
        // Past the eight the log keeps, how many more; a list too short still has its count.
        {LoggedCall(ZEVADRIVER_GET_SERIAL_NUMBER, 0, ZEVADRIVER_ERROR_BUFFER_TOO_SMALL)
             .Values({5000})
             .Serials({1, 2, 3, 4, 5, 6, 7, 8}, 4000),
         "driver qxzevauGetSerialNumber() = -20006 (ZEVADRIVER_ERROR_BUFFER_TOO_SMALL) -> "
         "[0x00000001, 0x00000002, 0x00000003, 0x00000004, 0x00000005, 0x00000006, "
         "0x00000007, 0x00000008, \u2026 3992 more], 5000"},
        // ISO 8859-1 in UTF-8, control characters and backslashes escaped.
        {LoggedCall(ZEVADRIVER_GET_BOARD_NAME, 0x22).Text("Kan\xE4l\t1\\\x85"),
         "driver qxzevauGetBoardName(0x00000022) = 0 -> \"Kan\u00E4l\\t1\\\\\\u0085\""},
        {LoggedCall(ZEVADRIVER_SET_ACTIVE_INTERFACE_FILE, 0x22, ZEVADRIVER_ERROR_UNKNOWN_FILE)
             .Text("x\ny.zid"),
         "driver qxzevauSetActiveInterfaceFile(0x00000022, \"x\\ny.zid\") = -20004 "
         "(ZEVADRIVER_ERROR_UNKNOWN_FILE)"},
        // A name without its terminating zero: what the log kept, and how long it ran.
        {LoggedCall(ZEVADRIVER_GET_ACTIVE_INTERFACE_FILE, 0x22).Text("img0.zid###", 300),
         "driver qxzevauGetActiveInterfaceFile(0x00000022) = 0 -> \"img0.zid###\"\u2026 (300 "
         "bytes)"},
        // A call that failed wrote nothing, and shows nothing.
        {LoggedCall(ZEVADRIVER_GET_BOARD_NAME, 0x22, ZEVADRIVER_ERROR_INJECTED),
         "driver qxzevauGetBoardName(0x00000022) = -20099 (ZEVADRIVER_ERROR_INJECTED)"},
    };
    for (const auto& [logged, shown] : rows)
        EXPECT_EQ(DriverCallText(logged.call), shown);
}

TEST(TracedFaces, Each_table_answers_its_family_and_the_expert_owns_IUnknown) {
    using traced::FaceInfo;
    EXPECT_TRUE(FaceInfo<IkcSysExpert2>::Answers(IID_IkcSysExpertInfo));
    EXPECT_TRUE(FaceInfo<IkcSysExpert2>::Answers(IID_IUnknown));
    EXPECT_FALSE(FaceInfo<IkcSysExpert2>::Answers(IID_IkcSysExpertPlugPlay));
    EXPECT_TRUE(FaceInfo<IkcSysExpertPlugPlay>::Answers(IID_IkcSysExpertPlugPlay));
    EXPECT_FALSE(FaceInfo<IkcSysExpertPlugPlay>::Answers(IID_IUnknown));
    EXPECT_TRUE(FaceInfo<IkcSysPropertyBag3>::Answers(IID_IkcSysPropertyBag));
    EXPECT_FALSE(FaceInfo<IkcSysPropertyBag3>::Answers(IID_IkcSysEnumPropertyTag));
    EXPECT_FALSE(FaceInfo<IkcSysEnumStringList>::Answers(IID_IkcSysEnumPropertyTag));
    EXPECT_TRUE(FaceInfo<IkcSysPropertyBagCollection>::Answers(IID_IUnknown));
    EXPECT_FALSE(FaceInfo<IkcSysPropertyBagCollection>::Answers(IID_IkcSysPropertyBag3));
    EXPECT_STREQ(FaceInfo<IkcSysPropertyBag3>::Name(), "IkcSysPropertyBag3");
}

TEST(AttributeTypes, Each_type_has_its_name_and_others_a_question_mark) {
    EXPECT_STREQ(AttributeTypeName(kcSysAttrTypeTimestampUTC), "timestamp");
    EXPECT_STREQ(AttributeTypeName(0), "?");
    EXPECT_STREQ(AttributeTypeName(8), "?");
}

namespace {

// A bag that counts, answers its family and has every tag; its other slots are not called.
struct FakeBag {
    IkcSysPropertyBag3 face;
    std::int32_t count = 1;
};
FakeBag* AsFake(IkcSysPropertyBag3* self) {
    return reinterpret_cast<FakeBag*>(self);
}
IkcSysPropertyBag3Vtbl FakeBagTable() {
    IkcSysPropertyBag3Vtbl table{};
    table.QueryInterface = [](IkcSysPropertyBag3* self, const _GUID* iid, void** object) {
        const qxInterfaceInfo* entry = qxFindInterface(iid);
        if (entry == nullptr || entry->family != QX_FAMILY_PROPERTY_BAG) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        ++AsFake(self)->count;
        *object = self;
        return S_OK;
    };
    table.AddRef = [](IkcSysPropertyBag3* self) { return ++AsFake(self)->count; };
    table.Release = [](IkcSysPropertyBag3* self) { return --AsFake(self)->count; };
    table.HasProperty = [](IkcSysPropertyBag3*, std::uint32_t) { return S_OK; };
    return table;
}

std::string Written(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file))
        text += static_cast<char>(c);
    return text;
}

} // namespace

TEST(TracedCalls, Each_call_is_written_once_with_its_outcome_and_forwarded_unchanged) {
    const IkcSysPropertyBag3Vtbl table = FakeBagTable();
    FakeBag bag{{&table}, 1};
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        CallTrace trace(file);
        IkcSysPropertyBag3* traced = traced::Wrap(&trace, &bag.face);
        ASSERT_NE(traced, &bag.face);
        EXPECT_EQ(traced->lpVtbl->HasProperty(traced, kcSysTagItemName), S_OK);
        EXPECT_EQ(traced->lpVtbl->AddRef(traced), 2);
        void* other = nullptr;
        EXPECT_EQ(traced->lpVtbl->QueryInterface(traced, &IID_IkcSysPropertyBag2, &other), S_OK);
        auto* second = static_cast<IkcSysPropertyBag3*>(other);
        EXPECT_EQ(second->lpVtbl->Release(second), 2);
        EXPECT_EQ(traced->lpVtbl->QueryInterface(traced, &IID_IkcSysExpert2, &other),
                  E_NOINTERFACE);
        EXPECT_EQ(traced->lpVtbl->Release(traced), 1);
        // The last hold goes with the traced object (the sanitizer build sees a leak otherwise).
        EXPECT_EQ(traced->lpVtbl->Release(traced), 0);
    }
    EXPECT_EQ(bag.count, 0);
    EXPECT_EQ(Written(file), "IkcSysPropertyBag3#1::HasProperty(0x0101D000 item_name) = S_OK\n"
                             "IkcSysPropertyBag3#1::AddRef() = 2\n"
                             "IkcSysPropertyBag3#1::QueryInterface({E275E061-297B-4463-A5F1-"
                             "5D2D9D8F3898} IkcSysPropertyBag2) = S_OK -> IkcSysPropertyBag3#2\n"
                             "IkcSysPropertyBag3#2::Release() = 2\n"
                             "IkcSysPropertyBag3#1::QueryInterface({CF3357AD-3023-4121-A60E-"
                             "2FF9B3A87BEE} IkcSysExpert2) = E_NOINTERFACE\n"
                             "IkcSysPropertyBag3#1::Release() = 1\n"
                             "IkcSysPropertyBag3#1::Release() = 0\n");
    std::fclose(file);
}
