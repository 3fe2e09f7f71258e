// Character attributes: the locale a name selects and the environment's default.
#include "qx/kit/CharacterAttributes.h"

#include <gtest/gtest.h>

using namespace qx::kit;

namespace {

TEST(CharacterAttributes, Unknown_locale_name_falls_back_to_C) {
    EXPECT_EQ("C", MakeSystemLocale("no-such-locale.XYZ").name());
    EXPECT_EQ("C", MakeSystemLocale("C").name());
}

TEST(CharacterAttributes, Default_locale_is_the_environments_built_once) {
    const std::locale* first = &GetDefaultSystemLocale();
    ConstructDefaultSystemLocale(); // the entry may run again
    EXPECT_EQ(first, &GetDefaultSystemLocale());
    EXPECT_EQ(MakeSystemLocale("").name(), first->name());
}

} // namespace
