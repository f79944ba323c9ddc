#include "app/language_switch.h"

#include <gtest/gtest.h>

#include <string>

namespace tov {
namespace {

TEST(LanguageSwitch, EveryCodeOfTheTableGivesItsLocale) {
    EXPECT_EQ(ParseLanguageSwitch("-l es"), 0x000Au);
    EXPECT_EQ(ParseLanguageSwitch("-l en"), 0x0009u);
    EXPECT_EQ(ParseLanguageSwitch("-l fr"), 0x000Cu);
    EXPECT_EQ(ParseLanguageSwitch("-l de"), 0x0007u);
    EXPECT_EQ(ParseLanguageSwitch("-l it"), 0x0010u);
    EXPECT_EQ(ParseLanguageSwitch("-l nl"), 0x0013u);
    EXPECT_EQ(ParseLanguageSwitch("-l pt"), 2070u);
}

TEST(LanguageSwitch, TheResourceLanguagesFollowTheLocales) {
    const LanguageCode* spanish = FindLanguageSwitch("-l es");
    ASSERT_NE(spanish, nullptr);
    EXPECT_EQ(spanish->ui_language, 3082);
    const LanguageCode* portuguese = FindLanguageSwitch("-l pt");
    ASSERT_NE(portuguese, nullptr);
    EXPECT_EQ(portuguese->ui_language, 2070);
    for (const LanguageCode& entry : kLanguageTable) {
        // The primary language of the resources is the language of the locale.
        EXPECT_EQ(entry.ui_language & 0x3FF, entry.locale & 0x3FF) << entry.code;
    }
}

TEST(LanguageSwitch, AnythingButTheExactFormChangesNothing) {
    for (const char* line : {
             "",            // empty
             "-l ES",       // upper-case code
             "-l Es",       // mixed case
             "-l es ",      // trailing blank
             " -l es",      // leading blank
             "-les",        // no blank after the switch
             "-l  es",      // two blanks
             "-l esp",      // three letters
             "-l e",        // one letter
             "-l ",         // no code
             "-L es",       // upper-case switch
             "/l es",       // another switch character
             "-l xx",       // unknown code
             "-l es -l en"  // longer
         }) {
        EXPECT_FALSE(ParseLanguageSwitch(line).has_value()) << '"' << line << '"';
    }
    // An embedded NUL does not end the command line early.
    EXPECT_FALSE(ParseLanguageSwitch(std::string("-l e\0", 5)).has_value());
}

}  // namespace
}  // namespace tov
