#include "listing/sort_keys.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tov {
namespace {

TEST(SizeForSorting, UnitsAndDecimalSeparators) {
    EXPECT_EQ(ReadSizeForSorting("1,5 KB"), 1536.0);
    EXPECT_EQ(ReadSizeForSorting("1.5 KB"), 1536.0);
    EXPECT_EQ(ReadSizeForSorting("2 MB"), 2097152.0);
    EXPECT_EQ(ReadSizeForSorting("3,25 GB"), 3.25 * 1073741824.0);
    EXPECT_EQ(ReadSizeForSorting("700"), 700.0);
    EXPECT_EQ(ReadSizeForSorting("700 bytes"), 700.0);
    EXPECT_EQ(ReadSizeForSorting("3 gb"), 3.0);  // the unit test is case-sensitive
    EXPECT_EQ(ReadSizeForSorting("3 Kb"), 3.0);
    EXPECT_EQ(ReadSizeForSorting("5KB"), 5120.0);  // the last two characters, with or without blank
    EXPECT_EQ(ReadSizeForSorting("  \t12,75"), 12.75);
    EXPECT_EQ(ReadSizeForSorting("0,1"), 0.1);
    EXPECT_EQ(ReadSizeForSorting(",5 KB"), 512.0);
    EXPECT_EQ(ReadSizeForSorting("1,5,7 KB"), 1536.0);  // reading stops at the second separator
    EXPECT_EQ(ReadSizeForSorting("1e3"), 1000.0);
    EXPECT_EQ(ReadSizeForSorting("2e KB"), 2048.0);  // an "e" without digits ends the number
}

TEST(SizeForSorting, NoNumberReadsZero) {
    EXPECT_EQ(ReadSizeForSorting(""), 0.0);
    EXPECT_EQ(ReadSizeForSorting("KB"), 0.0);
    EXPECT_EQ(ReadSizeForSorting("B"), 0.0);
    EXPECT_EQ(ReadSizeForSorting("unknown"), 0.0);
    EXPECT_EQ(ReadSizeForSorting(". MB"), 0.0);
    EXPECT_EQ(ReadSizeForSorting("-"), 0.0);
}

TEST(SizeForSorting, LongAndExtremeNumbersStayFinite) {
    EXPECT_EQ(ReadSizeForSorting("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_EQ(ReadSizeForSorting("0," + std::string(5000, '0') + "1"), 0.0);
    EXPECT_EQ(ReadSizeForSorting(std::string(400, '9') + "e-400"), 1.0);
    EXPECT_TRUE(std::isinf(ReadSizeForSorting("1e999 GB")));
    EXPECT_LT(ReadSizeForSorting("-2 KB"), 0.0);
}

TEST(DateForSorting, FieldsAndCentury) {
    EXPECT_EQ(ReadDateForSorting("01/01/70 00:00:00"), 0);
    EXPECT_EQ(ReadDateForSorting("02/01/70 01:02:03"), 86400 + 3723);
    EXPECT_EQ(ReadDateForSorting("09/09/01 01:46:40"), 1000000000);
    EXPECT_EQ(ReadDateForSorting("29/02/00 12:00:00"), 951825600);  // 2000 was a leap year
    EXPECT_GT(ReadDateForSorting("01/01/69 00:00:00"), ReadDateForSorting("31/12/99 23:59:59"));
    EXPECT_EQ(ReadDateForSorting("01/01/69 00:00:00"), 3124224000);  // 2069
    // Separators are not examined, and text after the seconds is ignored.
    EXPECT_EQ(ReadDateForSorting("09-09-01T01.46.40 and more"), 1000000000);
}

TEST(DateForSorting, OutOfRangeValuesCarryOverLikeACalendar) {
    EXPECT_EQ(ReadDateForSorting("01/13/08 00:00:00"), ReadDateForSorting("01/01/09 00:00:00"));
    EXPECT_EQ(ReadDateForSorting("00/03/08 00:00:00"), ReadDateForSorting("29/02/08 00:00:00"));
    EXPECT_EQ(ReadDateForSorting("15/00/08 00:00:00"), ReadDateForSorting("15/12/07 00:00:00"));
    EXPECT_EQ(ReadDateForSorting("31/12/08 24:60:60"), ReadDateForSorting("01/01/09 01:01:00"));
    // Month 99 of 2069 is March 2077 (2077-03-01 is 3381782400); the other groups add their
    // full amounts.
    EXPECT_EQ(ReadDateForSorting("99/99/69 99:99:99"),
              3381782400 + 98 * 86400 + 99 * 3600 + 99 * 60 + 99);
}

TEST(DateForSorting, UnreadableDatesShareTheLowestKey) {
    const char* unreadable[] = {"",
                                "01/01/08",
                                "01/01/08 00:00:0",
                                "1/1/2008 00:00:00",
                                "ab/01/08 00:00:00",
                                "01/01/08 00:00: 1",
                                "01/01/08 -1:00:00",
                                "00/01/70 00:00:00",  // normalises to 31/12/1969
                                "01/00/70 00:00:00"};
    for (const char* text : unreadable) {
        EXPECT_EQ(ReadDateForSorting(text), kUnreadableDateKey) << text;
    }
    EXPECT_LT(kUnreadableDateKey, ReadDateForSorting("01/01/70 00:00:00"));
}

// Fields made of the characters that matter to both readers, in random order and length:
// every reading ends, a size is never NaN, a date is either unreadable or in range.
TEST(SortKeys, ArbitraryFieldsReadSafely) {
    const char kAlphabet[] = "0123456789.,:/ eE+-KMGBkb\t|x\xE9";
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 16;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string field(next() % 24, ' ');
        for (char& c : field) {
            c = kAlphabet[next() % (sizeof kAlphabet - 1)];
        }
        const double size = ReadSizeForSorting(field);
        EXPECT_FALSE(std::isnan(size)) << field;
        const std::int64_t date = ReadDateForSorting(field);
        EXPECT_TRUE(date == kUnreadableDateKey || (date >= 0 && date < 32535216000)) << field;
    }
}

}  // namespace
}  // namespace tov
