// The expert on a hostile driver: boards with arbitrary file and board names (any bytes,
// extensions anywhere, names at the driver's limits, texts without terminator), claims that
// fail, and driver calls that fail at any point; then the host's whole way with arbitrary
// item names. Nothing may crash or leak, results stay within what each operation may return,
// and the operations agree with each other: the names listed are the records' names, every
// reported bag holds every property of the record its name finds first, and a lookup finds
// exactly the names that some record has, whatever their case.
#include "fuzz_check.h"

#include "com/enuminterfaces.h"
#include "com/widestring.h"
#include "expert/kcsyszeva.h"
#include "propertybag/propertybag_interfaces.h"
#include "qxzeva/tags.h"
#include "tests/keeping_collection.h"

#include <zevadriver_control.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::u16string Widened(const std::string& text) {
    std::u16string units;
    for (const char byte : text)
        units += static_cast<char16_t>(static_cast<unsigned char>(byte));
    return units;
}

bool EqualNoCase(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size())
        return false;
    const auto upper = [](char16_t unit) -> int {
        return unit <= 0xFF ? std::toupper(unit) : unit;
    };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

std::string Name(FuzzedDataProvider& input, std::size_t longest) {
    std::string name = input.ConsumeRandomLengthString(longest + 2);
    if (input.ConsumeBool())
        name += ".zid";
    return name;
}

// A bag's serial-number property, or "" when it has none.
std::u16string SerialOf(IkcSysPropertyBag* bag) {
    char16_t* text = nullptr;
    if (bag->GetStringProperty(kcSysTagSerialNumber, &text) != S_OK || text == nullptr)
        return u"";
    const std::u16string serial(text);
    FreeWideString(text);
    return serial;
}

std::u16string SerialText(std::uint32_t serial) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(serial));
    return Widened(text);
}

std::uint32_t PropertyCount(IkcSysPropertyBag* bag) {
    IkcSysEnumPropertyTag* tags = nullptr;
    if (bag->EnumProperties(&tags) != S_OK)
        return 0;
    std::uint32_t batch[32];
    std::uint32_t fetched = 0;
    tags->Next(32, batch, &fetched);
    FUZZ_CHECK(tags->Release() == 0);
    return fetched;
}

// The serial number a lookup of name reports: the first record named exactly so, else the
// first whose name matches without regard to case, or "" for none.
std::u16string ExpectedSerial(const std::vector<InterfaceRecord>& records,
                              const std::u16string& name) {
    for (const InterfaceRecord& record : records)
        if (Widened(record.interfaceFileName) == name)
            return SerialText(record.serialNumber);
    for (const InterfaceRecord& record : records)
        if (EqualNoCase(Widened(record.interfaceFileName), name))
            return SerialText(record.serialNumber);
    return u"";
}

void ScriptDriver(FuzzedDataProvider& input) {
    zevadriverReset();
    zevadriverClearBoards();
    zevadriverClearLog();
    for (int n = input.ConsumeIntegralInRange(0, 5); n > 0; --n) {
        const std::string active = input.ConsumeBool() ? Name(input, ZEVADRIVER_MAX_FILE_NAME) : "";
        const std::string claim = input.ConsumeBool() ? Name(input, ZEVADRIVER_MAX_FILE_NAME) : "";
        const std::string boardName =
            input.ConsumeRandomLengthString(ZEVADRIVER_MAX_BOARD_NAME + 2);
        // Each value is taken in the order the fuzzer's corpus was made with.
        zevadriverBoard board{};
        board.size = ZEVADRIVER_BOARD_SIZE;
        board.serialNumber = input.ConsumeIntegral<std::uint32_t>();
        board.activeFile = active.c_str();
        board.claimFile = claim.c_str();
        board.pciBus = input.ConsumeIntegral<std::uint32_t>();
        board.pciDevice = input.ConsumeIntegral<std::uint32_t>();
        board.pciFunction = input.ConsumeIntegral<std::uint32_t>();
        board.pciId = input.ConsumeIntegral<std::uint32_t>();
        board.boardName = boardName.c_str();
        const std::uint32_t serial = board.serialNumber;
        // Any value a driver might report, beyond what a board description may hold.
        if (zevadriverAddBoardUnchecked(&board) == 0 && input.ConsumeIntegralInRange(0, 5) == 0)
            zevadriverSetClaimStatus(serial, ZEVADRIVER_ERROR_CLAIM_REFUSED);
    }
    for (int n = input.ConsumeIntegralInRange(0, 3); n > 0; --n) {
        const auto function = static_cast<zevadriverFunction>(
            input.ConsumeIntegralInRange<int>(0, std::size(k_zevadriverFunctions) - 1));
        if (input.ConsumeBool())
            zevadriverFailOnCall(function, input.ConsumeIntegralInRange(1u, 6u),
                                 ZEVADRIVER_ERROR_INJECTED);
        else
            zevadriverSetUnterminatedTexts(function, 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    ScriptDriver(input);
    auto* expert = MakeComObject<CkcSysZeva>().detach();
    const HRESULT initialized = expert->Initialize();
    FUZZ_CHECK(initialized == S_OK || initialized == S_FALSE);
    if (initialized == S_FALSE)
        FUZZ_CHECK(expert->InterfacesForTesting().empty());

    // The names listed are the records' names after the listing's refresh, in record order.
    IkcSysEnumStringList* names = reinterpret_cast<IkcSysEnumStringList*>(0x1);
    const HRESULT listed = expert->SearchForItemNames(&names);
    const std::vector<InterfaceRecord> records = expert->InterfacesForTesting();
    FUZZ_CHECK(listed == (records.empty() ? S_FALSE : S_OK));
    FUZZ_CHECK(listed == S_OK || names == nullptr);
    std::vector<std::u16string> listedNames;
    if (listed == S_OK) {
        char16_t* name = nullptr;
        while (names->Next(1, &name, nullptr) == S_OK) {
            listedNames.emplace_back(name);
            FreeWideString(name);
        }
        FUZZ_CHECK(names->Release() == 0);
    }
    FUZZ_CHECK(listedNames.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::u16string recordName = Widened(records[i].interfaceFileName);
        // A name with a zero byte cannot be held; the listing stops at it like the record.
        FUZZ_CHECK(listedNames[i] == recordName.substr(0, recordName.find(u'\0')));
    }

    // Every reported bag is whole and belongs to its own record, in record order.
    KeepingCollection collection;
    const HRESULT searched = expert->SearchForItemsAndProperties(&collection);
    const std::vector<InterfaceRecord> after = expert->InterfacesForTesting();
    FUZZ_CHECK(searched == (after.empty() ? S_FALSE : S_OK));
    FUZZ_CHECK(collection.m_bags.size() == after.size());
    for (std::size_t i = 0; i < collection.m_bags.size(); ++i) {
        IkcSysPropertyBag* bag = collection.m_bags[i];
        FUZZ_CHECK(PropertyCount(bag) == QXZEVA_ITEM_PROPERTY_COUNT);
        FUZZ_CHECK(SerialOf(bag) == SerialText(after[i].serialNumber));
    }
    FUZZ_CHECK(collection.ReleaseBags());

    // Lookups by arbitrary names, and by the listed names in another case.
    for (int n = input.ConsumeIntegralInRange(0, 3); n >= 0; --n) {
        std::u16string wanted;
        if (!listedNames.empty() && input.ConsumeBool()) {
            wanted =
                listedNames[input.ConsumeIntegralInRange<std::size_t>(0, listedNames.size() - 1)];
            for (char16_t& unit : wanted)
                unit = unit <= 0xFF ? static_cast<char16_t>(std::tolower(unit)) : unit;
        } else {
            wanted = Widened(input.ConsumeRandomLengthString(40));
        }
        IkcSysPropertyBag* bag = reinterpret_cast<IkcSysPropertyBag*>(0x1);
        const HRESULT found = expert->GetPropertiesOfItem(wanted.c_str(), &bag);
        const std::u16string expected = ExpectedSerial(after, wanted.substr(0, wanted.find(u'\0')));
        FUZZ_CHECK(found == (expected.empty() ? E_ITEM_NOT_FOUND : S_OK));
        if (found == S_OK) {
            FUZZ_CHECK(SerialOf(bag) == expected &&
                       PropertyCount(bag) == QXZEVA_ITEM_PROPERTY_COUNT);
            FUZZ_CHECK(bag->Release() == 0);
        } else {
            FUZZ_CHECK(bag == nullptr);
        }
    }
    FUZZ_CHECK(expert->Finalize() == S_OK);
    FUZZ_CHECK(expert->Release() == 0);
    return 0;
}
