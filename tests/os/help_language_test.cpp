// Which language --help speaks, by the locale variables.
#include <gtest/gtest.h>

#include "os/os.h"

namespace {

constexpr HelpLanguage en = HelpLanguage::english, utf8 = HelpLanguage::japanese_utf8,
                       cp932 = HelpLanguage::japanese_cp932;

TEST(HelpLanguage, FirstVariableSetAndNotEmptyDecides) {
    EXPECT_EQ(help_language_of(nullptr, nullptr, nullptr), en);
    EXPECT_EQ(help_language_of("C", "ja_JP.UTF-8", "ja_JP.UTF-8"), en);
    EXPECT_EQ(help_language_of("", "", "ja_JP.UTF-8"), utf8);
    EXPECT_EQ(help_language_of(nullptr, "ja_JP.SJIS", "en_US.UTF-8"), cp932);
    EXPECT_EQ(help_language_of("", "en_GB.UTF-8", "ja_JP.UTF-8"), en);
}

TEST(HelpLanguage, CodesetSpellings) {
    for (const char* name : {"ja_JP.UTF-8", "ja_JP.utf8", "ja_JP.Utf-8@x", "ja.UTF8"})
        EXPECT_EQ(help_language_of(nullptr, nullptr, name), utf8) << name;
    for (const char* name : {"ja_JP", "ja", "ja_JP.eucJP", "ja_JP.SJIS", "japanese.sjis",
                             "ja_JP.UTF-16", "ja_JP@utf8"})
        EXPECT_EQ(help_language_of(nullptr, nullptr, name), cp932) << name;
    for (const char* name : {"C.UTF-8", "POSIX", "en_JP.UTF-8", "JA_JP.UTF-8", "fr_FR.UTF-8"})
        EXPECT_EQ(help_language_of(nullptr, nullptr, name), en) << name;
}

} // namespace
