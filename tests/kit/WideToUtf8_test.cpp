// Encoding 16-bit units as UTF-8, and round trips through decoding.
#include "qx/kit/WideToUtf8.h"

#include "qx/kit/Utf8ToWide.h"

#include "expect_raised.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace qx::kit;
using qx::kit::exception::InvalidArgument;

namespace {

TEST(WideToUtf8, Encodes_by_unit_value_and_stops_before_a_unit_that_does_not_fit) {
    const std::u16string text = u"a\u00E9\u20AC";
    const auto encoded = WideToUtf8Array(text.data(), 3);
    EXPECT_STREQ("a\xC3\xA9\xE2\x82\xAC", encoded.get());
    EXPECT_EQ(6u, WideToUtf8Length(text.data(), text.data() + 3));

    char out[4] = {'#', '#', '#', '#'};
    const char16_t* next = text.data();
    EXPECT_EQ(3u, WideToUtf8(&next, text.data() + 3, out, out + 4));
    EXPECT_EQ(text.data() + 2, next);
    EXPECT_EQ('#', out[3]);
    ExpectRaised<InvalidArgument>([&] { WideToUtf8(&next, next + 1, nullptr, out); },
                                  qx::kit::raise_site::k_wideToUtf8BadArguments);
    EXPECT_EQ(0u, WideToUtf8(nullptr, next, out, out + 4));
    const char16_t* nothing = nullptr;
    EXPECT_EQ(0u, WideToUtf8(&nothing, next, out, out + 4));
    EXPECT_EQ('#', out[3]);
    const auto empty = WideToUtf8Array(nullptr, 1);
    EXPECT_STREQ("", empty.get());
}

TEST(WideToUtf8, Every_unit_that_is_not_a_surrogate_survives_a_round_trip) {
    std::u16string units;
    for (std::uint32_t u = 1; u <= 0xFFFF; ++u)
        if (u < 0xD800 || u > 0xDFFF)
            units.push_back(static_cast<char16_t>(u));
    const auto encoded = WideToUtf8Array(units.data(), units.size());
    const std::string bytes = encoded.get();
    EXPECT_EQ(WideToUtf8Length(units.data(), units.data() + units.size()), bytes.size());
    const auto decoded = Utf8ToWideArray(bytes.data(), bytes.size());
    EXPECT_EQ(units, std::u16string(decoded.get()));
}

} // namespace
