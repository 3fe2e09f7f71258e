#include "fake_platform_conversions.h"

#include <sysSymTbl.h>

#include <cerrno>

FakeConversionControl g_fakeConversions;

namespace {

// Where ISO 8859-15 and the fallback part ways for the tests: 0xA4 is the euro sign, and
// U+00A4 has no byte.
char16_t Widen(unsigned char byte) {
    return byte == 0xA4 ? u'\u20AC' : byte;
}

char Narrow(char16_t unit) {
    if (unit == 0x20AC)
        return static_cast<char>(0xA4);
    return unit <= 0xFF && unit != 0xA4 ? static_cast<char>(unit) : '?';
}

// The library passes code page 0, no flags and, narrowing, neither a default character nor a
// place to report its use. Anything else fails the test and is refused, as the platform
// refuses a flag it does not know.
bool Refused(std::uint32_t codePage, std::uint32_t flags, bool defaultsGiven) {
    if (codePage == 0 && flags == 0 && !defaultsGiven)
        return false;
    ADD_FAILURE() << "platform conversion called with code page " << codePage << ", flags " << flags
                  << (defaultsGiven ? " and a default character" : "");
    errno = EINVAL;
    return true;
}

// Records the call; false when the fake is told to fail it.
bool Admit(std::int32_t inputLength, bool outputNull, std::int32_t capacity) {
    FakeConversionControl& control = g_fakeConversions;
    ++control.calls;
    control.lastInputLength = inputLength;
    control.lastOutputNull = outputNull;
    control.lastOutputCapacity = capacity;
    const bool measuring = outputNull && capacity == 0;
    if (control.fail == FakeConversionControl::Fail::Overstating && !measuring)
        return true;
    if ((control.fail == FakeConversionControl::Fail::Measuring && measuring) ||
        (control.fail == FakeConversionControl::Fail::Converting && !measuring)) {
        errno = control.failErrno;
        return false;
    }
    if (inputLength <= 0 || (!measuring && capacity < inputLength)) {
        errno = inputLength <= 0 ? EINVAL : ENOSPC;
        return false;
    }
    return true;
}

// How much a converting call writes (an overstating one no more than the output holds), and
// the count it reports.
std::int32_t Written(std::int32_t inputLength, std::int32_t capacity) {
    const bool overstate = g_fakeConversions.fail == FakeConversionControl::Fail::Overstating;
    return overstate && capacity < inputLength ? capacity : inputLength;
}
std::int32_t Reported(std::int32_t inputLength, std::int32_t capacity) {
    const bool overstate = g_fakeConversions.fail == FakeConversionControl::Fail::Overstating;
    return overstate ? capacity + 1 : inputLength;
}

SYMTAB_ID EmptyTable() {
    static int table;
    return reinterpret_cast<SYMTAB_ID>(&table);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t
MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* input,
                    std::int32_t inputBytes, char16_t* output, std::int32_t outputUnits) {
    if (Refused(codePage, flags, false) || !Admit(inputBytes, output == nullptr, outputUnits))
        return 0;
    const std::int32_t written = Written(inputBytes, outputUnits);
    for (std::int32_t i = 0; output != nullptr && i < written; ++i)
        output[i] = Widen(static_cast<unsigned char>(input[i]));
    return Reported(inputBytes, outputUnits);
}

__attribute__((visibility("default"))) std::int32_t
WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const char16_t* input,
                    std::int32_t inputUnits, char* output, std::int32_t outputBytes,
                    const char* defaultChar, std::int32_t* usedDefaultChar) {
    if (Refused(codePage, flags, defaultChar != nullptr || usedDefaultChar != nullptr) ||
        !Admit(inputUnits, output == nullptr, outputBytes))
        return 0;
    const std::int32_t written = Written(inputUnits, outputBytes);
    for (std::int32_t i = 0; output != nullptr && i < written; ++i)
        output[i] = Narrow(input[i]);
    return Reported(inputUnits, outputBytes);
}
}

void WithPlatformConversions::SetUp() {
    g_fakeConversions = FakeConversionControl();
    qx::kit::osdep::RTSymbolLoader::rebuildForTesting(sysSymTbl);
}
void WithPlatformConversions::TearDown() {
    g_fakeConversions = FakeConversionControl();
}

void WithoutPlatformConversions::SetUp() {
    g_fakeConversions = FakeConversionControl();
    qx::kit::osdep::RTSymbolLoader::rebuildForTesting(EmptyTable());
}
void WithoutPlatformConversions::TearDown() {
    qx::kit::osdep::RTSymbolLoader::rebuildForTesting(sysSymTbl);
}
