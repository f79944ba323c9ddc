#include "ui/row_find.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace tov {
namespace {

// Statuses as a folder shows them: two subfolders (no status), then files.
const std::vector<std::string_view> kStatuses = {"", "", "bien", "mal", "", "Mal", "malo"};

std::int64_t Find(std::string_view wanted, bool prefix, std::int64_t start, bool wrap) {
    return RowFind(wanted, prefix).Find(kStatuses.size(), start, wrap, [](std::size_t row) {
        return kStatuses[row];
    });
}

TEST(RowFind, WholeTextOrPrefixWithoutRegardToCase) {
    EXPECT_EQ(Find("m", true, 0, false), 3);
    EXPECT_EQ(Find("MAL", false, 0, false), 3);  // case ignored, the whole text
    EXPECT_EQ(Find("ma", false, 0, false), RowFind::kNotFound);
    EXPECT_EQ(Find("malo", false, 0, false), 6);
    EXPECT_EQ(Find("bienes", true, 0, false), RowFind::kNotFound);  // longer than every text
    EXPECT_EQ(Find("x", true, 0, true), RowFind::kNotFound);
    EXPECT_EQ(Find("", true, 0, false), 0);  // every text begins with nothing
    EXPECT_EQ(Find("", false, 2, false), 4);
    // Windows-1252 capitals beyond ASCII fold too; the multiplication sign has no lower case.
    const std::vector<std::string_view> accented = {"\xD7", "\xC9TAT", "\x8A"};
    auto in_accented = [&](std::string_view wanted, bool prefix) {
        return RowFind(wanted, prefix).Find(accented.size(), 0, false, [&](std::size_t row) {
            return accented[row];
        });
    };
    EXPECT_EQ(in_accented("\xE9t", true), 1);
    EXPECT_EQ(in_accented("\x9A", false), 2);
    EXPECT_EQ(in_accented("\xF7", false), RowFind::kNotFound);
}

TEST(RowFind, StartsAtTheStartRowAndWrapsOnlyWhenAsked) {
    EXPECT_EQ(Find("mal", false, 3, false), 3);  // the start row itself is tried first
    EXPECT_EQ(Find("mal", false, 4, false), 5);
    EXPECT_EQ(Find("b", true, 3, false), RowFind::kNotFound);
    EXPECT_EQ(Find("b", true, 3, true), 2);
    EXPECT_EQ(Find("b", true, 7, true), 2);  // past the end: only the wrap is left
    EXPECT_EQ(Find("b", true, 100, false), RowFind::kNotFound);
    EXPECT_EQ(Find("b", true, -1, false), 2);  // negative: from the first row
    EXPECT_EQ(RowFind("b", true).Find(0, 0, true, [](std::size_t) { return ""; }),
              RowFind::kNotFound);
}

}  // namespace
}  // namespace tov
