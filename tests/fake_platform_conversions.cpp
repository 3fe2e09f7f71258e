#include "fake_platform_conversions.h"

#include <sysSymTbl.h>

#include <cerrno>

FakeConversionControl g_fakeConversions;

namespace {

// The eight places where ISO 8859-15 differs from ISO 8859-1.
struct Difference {
    unsigned char byte;
    char16_t unit;
};
constexpr Difference k_latin9[] = {{0xA4, 0x20AC}, {0xA6, 0x0160}, {0xA8, 0x0161}, {0xB4, 0x017D},
                                   {0xB8, 0x017E}, {0xBC, 0x0152}, {0xBD, 0x0153}, {0xBE, 0x0178}};

char16_t Widen(unsigned char byte) {
    for (const Difference& d : k_latin9)
        if (d.byte == byte)
            return d.unit;
    return byte;
}

char Narrow(char16_t unit) {
    for (const Difference& d : k_latin9) {
        if (d.unit == unit)
            return static_cast<char>(d.byte);
        if (d.byte == unit)
            return '?'; // the replaced Latin-1 characters have no byte here
    }
    return unit <= 0xFF ? static_cast<char>(unit) : '?';
}

// Records the call; false when the fake is told to fail it.
bool Admit(std::int32_t inputLength, bool outputNull, std::int32_t capacity) {
    FakeConversionControl& control = g_fakeConversions;
    ++control.calls;
    control.lastInputLength = inputLength;
    control.lastOutputNull = outputNull;
    control.lastOutputCapacity = capacity;
    const bool measuring = outputNull && capacity == 0;
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

SYMTAB_ID EmptyTable() {
    static int table;
    return reinterpret_cast<SYMTAB_ID>(&table);
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t
MultiByteToWideChar(std::uint32_t, std::uint32_t, const char* input, std::int32_t inputBytes,
                    char16_t* output, std::int32_t outputUnits) {
    if (!Admit(inputBytes, output == nullptr, outputUnits))
        return 0;
    for (std::int32_t i = 0; output != nullptr && i < inputBytes; ++i)
        output[i] = Widen(static_cast<unsigned char>(input[i]));
    return inputBytes;
}

__attribute__((visibility("default"))) std::int32_t
WideCharToMultiByte(std::uint32_t, std::uint32_t, const char16_t* input, std::int32_t inputUnits,
                    char* output, std::int32_t outputBytes, const char*, std::int32_t*) {
    if (!Admit(inputUnits, output == nullptr, outputBytes))
        return 0;
    for (std::int32_t i = 0; output != nullptr && i < inputUnits; ++i)
        output[i] = Narrow(input[i]);
    return inputUnits;
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
