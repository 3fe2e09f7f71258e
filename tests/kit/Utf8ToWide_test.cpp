// UTF-8 decoding into 16-bit units: valid sequences, malformed ones and the buffer form.
#include "qx/kit/Utf8ToWide.h"

#include "expect_raised.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace qx::kit;
using qx::kit::exception::InvalidArgument;
using qx::kit::exception::InvalidSequence;
namespace site = qx::kit::raise_site;

namespace {

// The bytes in a block of exactly their size, so a read past the end is caught.
std::unique_ptr<char[]> Exact(const std::string& bytes) {
    std::unique_ptr<char[]> block(new char[bytes.size()]);
    bytes.copy(block.get(), bytes.size());
    return block;
}

std::u16string Decode(const std::string& bytes) {
    const auto block = Exact(bytes);
    const auto units = Utf8ToWideArray(block.get(), bytes.size());
    return units.get();
}

TEST(Utf8ToWide, Decodes_one_two_and_three_byte_sequences) {
    EXPECT_EQ(u"a\u00E9\u0800\u20AC\uFFFF",
              Decode("a\xC3\xA9\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF"));
    EXPECT_EQ(u"\xD800", Decode("\xED\xA0\x80")) << "an encoded surrogate is taken as a unit";
    const auto empty = Utf8ToWideArray(nullptr, 5);
    EXPECT_EQ(0, empty[0]);
}

TEST(Utf8ToWide, Overlong_four_byte_and_stray_bytes_raise_when_counting_and_decoding) {
    struct Case {
        std::string bytes;
        RaiseSite site;
    };
    const Case cases[] = {
        {"\xC0\x80", site::k_utf8BadLead},         {"\x80", site::k_utf8BadLead},
        {"\xF0\x9F\x98\x80", site::k_utf8BadLead}, {"\xF4\x80\x80", site::k_utf8BadLead},
        {"\xF8\x80\x80", site::k_utf8BadLead},     {"\xFF\x80\x80", site::k_utf8BadLead},
        {"\xE0\x9F\xBF", site::k_utf8BadTrail},    {"\xC3\x41", site::k_utf8BadTrail},
        {"\xE2\x28\xA1", site::k_utf8BadTrail}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const auto block = Exact(c.bytes);
        const char* end = block.get() + c.bytes.size();
        ExpectRaised<InvalidSequence>([&] { Utf8ToWideLength(block.get(), end); }, c.site);
        char16_t out[4];
        const char* next = block.get();
        ExpectRaised<InvalidSequence>([&] { Utf8ToWide(&next, end, out, out + 4); }, c.site);
    }
}

TEST(Utf8ToWide, Sequence_cut_off_by_the_end_raises_without_reading_past_it) {
    const auto block = Exact("a\xE2\x82");
    const char* end = block.get() + 3;
    ExpectRaised<InvalidSequence>([&] { Utf8ToWideLength(block.get(), end); },
                                  site::k_utf8CountCutOff);
    char16_t out[4] = {};
    const char* next = block.get();
    ExpectRaised<InvalidSequence>([&] { Utf8ToWide(&next, end, out, out + 4); },
                                  site::k_utf8DecodeCutOff);
    EXPECT_EQ(block.get() + 1, next) << "the position stays at the cut-off sequence";
    EXPECT_EQ(u'a', out[0]);
}

TEST(Utf8ToWide, Buffer_form_stops_at_a_full_output_and_checks_its_arguments) {
    const std::string bytes = "x\xC3\xA9yz";
    const char* next = bytes.data();
    char16_t out[2] = {};
    EXPECT_EQ(2u, Utf8ToWide(&next, bytes.data() + bytes.size(), out, out + 2));
    EXPECT_EQ(bytes.data() + 3, next);
    EXPECT_EQ(u'\u00E9', out[1]);

    ExpectRaised<InvalidArgument>([&] { Utf8ToWide(&next, next + 1, nullptr, out); },
                                  site::k_utf8BadArguments);
    ExpectRaised<InvalidArgument>([&] { Utf8ToWide(&next, next + 1, out + 1, out); },
                                  site::k_utf8BadArguments);
    EXPECT_EQ(0u, Utf8ToWide(nullptr, next, out, out + 2));
}

} // namespace
