// The wide string, the text conversions and the boundary strings with each allocation
// failing in turn: an operation either completes correctly or raises std::bad_alloc (the
// boundary strings give null) and leaves what it worked on as it was.
#include "alloc_sweep.h"
#include "com/widestring.h"
#include "fake_platform_conversions.h"
#include "propertybag/qxbstr.h"
#include "qx/kit/StringBase.h"
#include "qx/kit/Utf8ToWide.h"
#include "qx/kit/WideTextLength.h"
#include "qx/kit/WideToUtf8.h"

#include <sysSymTbl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

using qx::kit::WideString;

const char16_t k_text[] = u"a wide text of some length, \u00E9\u20AC, to need real blocks";

std::u16string Text(const WideString& s) {
    return std::u16string(s.c_str(), s.length());
}

// Runs work; true when it ran out of memory. Any other exception is a wrong result.
template <class Work>
bool OutOfMemory(Injection& injection, Work&& work) {
    bool failed = false;
    injection.During([&] {
        try {
            work();
        } catch (const std::bad_alloc&) {
            failed = true;
        }
    });
    return failed;
}

} // namespace

TEST(AllocationSweepStrings, Wide_string_construction_copies_and_joins) {
    SweepAllocations("wide string construction", [](Injection& injection) {
        const WideString source(k_text);
        std::unique_ptr<WideString> made[5];
        const bool failed = OutOfMemory(injection, [&] {
            made[0] = std::make_unique<WideString>(k_text, 10);
            made[1] = std::make_unique<WideString>(source);
            made[2] = std::make_unique<WideString>(source, 2, 9);
            made[3] = std::make_unique<WideString>(source, source);
            made[4] = std::make_unique<WideString>("8-bit text");
        });
        const std::u16string whole(k_text);
        const std::u16string expected[5] = {whole.substr(0, 10), whole, whole.substr(2, 9),
                                            whole + whole, u"8-bit text"};
        for (int i = 0; i < 5; ++i) {
            if (made[i] == nullptr) {
                EXPECT_TRUE(failed);
            } else {
                EXPECT_EQ(Text(*made[i]), expected[i]);
            }
        }
    });
}

TEST(AllocationSweepStrings, Wide_string_assign_and_append_keep_the_text_on_failure) {
    SweepAllocations("wide string assign and append", [](Injection& injection) {
        WideString grown(u"abc");
        WideString appended(u"abcde");
        WideString self(u"self");
        const bool failedAssign = OutOfMemory(injection, [&] { grown.assign(k_text, 30); });
        const bool failedAppend = OutOfMemory(injection, [&] { appended.append(k_text); });
        const bool failedSelf = OutOfMemory(injection, [&] { self.append(self.c_str(), 4); });
        const std::u16string text(k_text);
        EXPECT_EQ(Text(grown), failedAssign ? u"abc" : text.substr(0, 30));
        EXPECT_EQ(Text(appended), failedAppend ? u"abcde" : u"abcde" + text);
        EXPECT_EQ(Text(self), failedSelf ? u"self" : u"selfself");
        EXPECT_EQ(grown.c_str()[grown.length()], 0);
    });
}

TEST(AllocationSweepStrings, Utf8_arrays_in_both_directions) {
    SweepAllocations("UTF-8 arrays", [](Injection& injection) {
        std::unique_ptr<char[]> encoded;
        std::unique_ptr<char16_t[]> decoded;
        const bool failed = OutOfMemory(injection, [&] {
            encoded = qx::kit::WideToUtf8Array(k_text, WideTextLength(k_text));
            decoded = qx::kit::Utf8ToWideArray(
                encoded.get(), static_cast<std::uint32_t>(std::strlen(encoded.get())));
        });
        if (decoded != nullptr) {
            EXPECT_EQ(std::u16string(decoded.get()), k_text);
        } else {
            EXPECT_TRUE(failed);
        }
    });
}

TEST(AllocationSweepStrings, Boundary_strings_and_their_holder) {
    SweepAllocations("boundary strings", [](Injection& injection) {
        char16_t* block = reinterpret_cast<char16_t*>(0x1);
        CqxBStr held(u"old", false);
        CqxBStr copy;
        bool assigned = false;
        injection.During([&] {
            block = AllocWideString(k_text);
            assigned = held.Assign(k_text);
            copy = held;
        });
        if (block != nullptr) {
            EXPECT_EQ(std::u16string(block), k_text);
        }
        FreeWideString(block);
        EXPECT_EQ(std::u16string(held), assigned ? k_text : u"old"); // kept on failure
        if (!copy.IsNull()) {
            EXPECT_EQ(std::u16string(copy), std::u16string(held));
        }
    });
}

// Both conversion paths: the target's functions (the test program's fakes) and the fallback.
class AllocationSweepConversions : public WithPlatformConversions {};

TEST_F(AllocationSweepConversions, Narrow_and_wide_conversions_on_both_paths) {
    for (const bool platform : {true, false}) {
        qx::kit::osdep::RTSymbolLoader::rebuildForTesting(
            platform ? sysSymTbl : reinterpret_cast<SYMTAB_ID>(&g_fakeConversions));
        SweepAllocations(platform ? "conversions, platform path" : "conversions, fallback path",
                         [&](Injection& injection) {
                             std::unique_ptr<WideString> wide;
                             std::unique_ptr<qx::kit::NarrowString> narrow;
                             const bool failed = OutOfMemory(injection, [&] {
                                 wide = std::make_unique<WideString>("caf\xE9 \xA4 text");
                                 narrow = std::make_unique<qx::kit::NarrowString>(wide->toNarrow());
                             });
                             if (narrow == nullptr) {
                                 EXPECT_TRUE(failed);
                                 return;
                             }
                             EXPECT_EQ(Text(*wide), platform ? u"caf\u00E9 \u20AC text"
                                                             : u"caf\u00E9 \u00A4 text");
                             EXPECT_STREQ(narrow->c_str(), "caf\xE9 \xA4 text");
                         });
    }
    qx::kit::osdep::RTSymbolLoader::rebuildForTesting(sysSymTbl);
}
