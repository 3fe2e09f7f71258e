// UTF-8 decoding and encoding, buffer and allocating forms, on arbitrary bytes and units.
// Output buffers are heap blocks of exactly the size handed over, so the sanitizer sees any
// access past them. A reference decoder written from the rules (one to three bytes, no
// overlong forms, no four-byte sequences, encoded surrogates taken as units) says which byte
// strings are valid; every valid one must decode the same in every form and round-trip.
#include "fuzz_check.h"

#include "qx/kit/Exception.h"
#include "qx/kit/Utf8ToWide.h"
#include "qx/kit/WideToUtf8.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using qx::kit::exception::InvalidSequence;

std::optional<std::u16string> ReferenceDecode(const std::string& bytes) {
    std::u16string units;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const auto trail = [&](std::size_t i) { return i < bytes.size() && (at(i) & 0xC0) == 0x80; };
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned lead = at(i);
        if (lead < 0x80) {
            units += static_cast<char16_t>(lead);
            i += 1;
        } else if (lead >= 0xC2 && lead <= 0xDF && trail(i + 1)) {
            units += static_cast<char16_t>((lead & 0x1F) << 6 | (at(i + 1) & 0x3F));
            i += 2;
        } else if (lead >= 0xE0 && lead <= 0xEF && trail(i + 1) && trail(i + 2)) {
            const unsigned unit =
                (lead & 0x0F) << 12 | (at(i + 1) & 0x3F) << 6 | (at(i + 2) & 0x3F);
            if (unit < 0x800)
                return std::nullopt; // overlong
            units += static_cast<char16_t>(unit);
            i += 3;
        } else {
            return std::nullopt;
        }
    }
    return units;
}

std::string ReferenceEncode(const std::u16string& units) {
    std::string bytes;
    for (const char16_t unit : units) {
        if (unit < 0x80) {
            bytes += static_cast<char>(unit);
        } else if (unit < 0x800) {
            bytes += static_cast<char>(0xC0 | unit >> 6);
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            bytes += static_cast<char>(0xE0 | unit >> 12);
            bytes += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return bytes;
}

// Decodes bytes in pieces of at most `chunk` units into exact-size heap buffers; the pieces
// must add up to the whole text and each must end on a sequence boundary.
std::u16string DecodeInChunks(const std::string& bytes, std::uint32_t chunk) {
    std::u16string decoded;
    const char* next = bytes.data();
    const char* const end = bytes.data() + bytes.size();
    while (next != end) {
        std::unique_ptr<char16_t[]> buffer(new char16_t[chunk]);
        const char* before = next;
        const std::uint32_t written =
            qx::kit::Utf8ToWide(&next, end, buffer.get(), buffer.get() + chunk);
        FUZZ_CHECK(written <= chunk);
        FUZZ_CHECK(next > before && next <= end);
        FUZZ_CHECK(written == chunk || next == end);
        decoded.append(buffer.get(), written);
    }
    return decoded;
}

std::string EncodeInChunks(const std::u16string& units, std::uint32_t chunk) {
    std::string encoded;
    const char16_t* next = units.data();
    const char16_t* const end = units.data() + units.size();
    while (next != end) {
        std::unique_ptr<char[]> buffer(new char[chunk]);
        const char16_t* before = next;
        const std::uint32_t written =
            qx::kit::WideToUtf8(&next, end, buffer.get(), buffer.get() + chunk);
        FUZZ_CHECK(written <= chunk);
        FUZZ_CHECK(next >= before && next <= end);
        // A unit is left for the next piece only when its sequence would not fit this one.
        FUZZ_CHECK(next == end ||
                   written + ReferenceEncode(std::u16string(1, *next)).size() > chunk);
        if (next == before)
            FUZZ_CHECK(chunk < 3); // nothing fitted: only a piece shorter than one sequence
        encoded.append(buffer.get(), written);
        if (next == before)
            return encoded + ReferenceEncode(std::u16string(next, end)); // give up chunking
    }
    return encoded;
}

void CheckEncoding(const std::u16string& units, std::uint32_t chunk) {
    const std::string expected = ReferenceEncode(units);
    const char16_t* first = units.data();
    const char16_t* last = first + units.size();
    FUZZ_CHECK(qx::kit::WideToUtf8Length(first, last) == expected.size());

    std::unique_ptr<char[]> exact(new char[expected.size()]);
    const char16_t* next = first;
    const std::uint32_t written =
        qx::kit::WideToUtf8(&next, last, exact.get(), exact.get() + expected.size());
    FUZZ_CHECK(written == expected.size() && next == last);
    FUZZ_CHECK(std::memcmp(exact.get(), expected.data(), expected.size()) == 0);

    const auto array = qx::kit::WideToUtf8Array(first, static_cast<std::uint32_t>(units.size()));
    FUZZ_CHECK(std::memcmp(array.get(), expected.data(), expected.size() + 1) == 0);
    FUZZ_CHECK(EncodeInChunks(units, chunk) == expected);

    // Every encoding decodes back to the same units.
    const auto back =
        qx::kit::Utf8ToWideArray(expected.data(), static_cast<std::uint32_t>(expected.size()));
    FUZZ_CHECK(std::u16string(back.get(), units.size()) == units && back[units.size()] == 0);
}

void CheckDecoding(const std::string& bytes, std::uint32_t chunk) {
    const std::optional<std::u16string> expected = ReferenceDecode(bytes);
    const char* first = bytes.data();
    const char* last = first + bytes.size();
    const auto length = static_cast<std::uint32_t>(bytes.size());
    if (!expected) {
        bool refused = false;
        try {
            qx::kit::Utf8ToWideLength(first, last);
        } catch (const InvalidSequence&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        refused = false;
        try {
            const auto array = qx::kit::Utf8ToWideArray(first, length);
        } catch (const InvalidSequence&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        // The buffer form decodes the valid beginning, never past its buffer, then refuses.
        std::unique_ptr<char16_t[]> buffer(new char16_t[bytes.size()]);
        const char* next = first;
        try {
            qx::kit::Utf8ToWide(&next, last, buffer.get(), buffer.get() + bytes.size());
            FUZZ_CHECK(false && "an invalid sequence was decoded");
        } catch (const InvalidSequence&) {
        }
        FUZZ_CHECK(next >= first && next < last);
        FUZZ_CHECK(ReferenceDecode(std::string(first, next)).has_value());
        return;
    }
    FUZZ_CHECK(qx::kit::Utf8ToWideLength(first, last) == expected->size());
    const auto array = qx::kit::Utf8ToWideArray(first, length);
    FUZZ_CHECK(std::u16string(array.get(), expected->size()) == *expected);
    FUZZ_CHECK(array[expected->size()] == 0);
    FUZZ_CHECK(DecodeInChunks(bytes, chunk) == *expected);
    // Round trip: valid input has one encoding, so encoding the units gives the bytes again.
    const auto again =
        qx::kit::WideToUtf8Array(expected->data(), static_cast<std::uint32_t>(expected->size()));
    FUZZ_CHECK(std::memcmp(again.get(), bytes.data(), bytes.size()) == 0);
}

void CheckArguments() {
    char16_t unit = 0;
    char byte = 0;
    const char* input = "a";
    bool refused = false;
    try {
        qx::kit::Utf8ToWide(&input, input + 1, nullptr, nullptr);
    } catch (const qx::kit::exception::InvalidArgument&) {
        refused = true;
    }
    FUZZ_CHECK(refused);
    FUZZ_CHECK(qx::kit::Utf8ToWide(nullptr, input, &unit, &unit + 1) == 0);
    const char16_t* wide = u"a";
    FUZZ_CHECK(qx::kit::WideToUtf8(nullptr, wide, &byte, &byte + 1) == 0);
    const auto empty = qx::kit::Utf8ToWideArray(nullptr, 5);
    FUZZ_CHECK(empty[0] == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool asUnits = input.ConsumeBool();
    const std::uint32_t chunk = input.ConsumeIntegralInRange<std::uint32_t>(1, 9);
    if (asUnits) {
        std::u16string units;
        while (input.remaining_bytes() >= 2)
            units += static_cast<char16_t>(input.ConsumeIntegral<std::uint16_t>());
        CheckEncoding(units, chunk);
    } else {
        CheckDecoding(input.ConsumeRemainingBytesAsString(), chunk);
    }
    if (size == 0)
        CheckArguments();
    return 0;
}
