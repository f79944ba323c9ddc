#include "listing/byte_scan.h"
#include "listing/file_line.h"
#include "listing/listing_document.h"

#include <cstring>
#include <memory>
#include <gtest/gtest.h>
#include <string>

namespace tov {
namespace {

TEST(ListingDocument, EmptyDocumentIsOneNul) {
    ListingDocument empty;
    EXPECT_EQ(empty.size(), 1u);
    EXPECT_TRUE(empty.AtEnd(0));
    EXPECT_EQ(empty.NextLine(0), 0u);
    EXPECT_EQ(empty.Line(0), "");
}

TEST(ListingDocument, WalksLinesAndStopsAtAnEmptyLine) {
    ListingDocument document = ListingDocument::FromCopy(">|C:\na|1|2|bien\r\n\nafter\n");
    EXPECT_EQ(document.size(), 25u);
    LineOffset offset = 0;
    EXPECT_EQ(document.Line(offset), ">|C:");
    offset = document.NextLine(offset);
    EXPECT_EQ(document.Line(offset), "a|1|2|bien\r");  // CR stays part of the line
    offset = document.NextLine(offset);
    EXPECT_TRUE(document.AtEnd(offset));
    EXPECT_EQ(document.NextLine(offset), offset);
    EXPECT_TRUE(document.AtEnd(static_cast<LineOffset>(document.size())));
}

TEST(ListingDocument, LastLineWithoutLineFeedAndEmptyFirstLine) {
    ListingDocument document = ListingDocument::FromCopy("a\nbc");
    EXPECT_EQ(document.Line(2), "bc");  // ended by the appended NUL
    EXPECT_EQ(document.NextLine(2), 5u);
    EXPECT_TRUE(document.AtEnd(5));

    document = ListingDocument::FromCopy("\n>|C:\n");
    EXPECT_TRUE(document.AtEnd(0));  // nothing after an empty first line is seen
    EXPECT_EQ(document.NextLine(0), 0u);

    document = ListingDocument::FromCopy("");
    EXPECT_EQ(document.size(), 1u);
    EXPECT_TRUE(document.AtEnd(0));
}

TEST(FindByte, FindsTheFirstOccurrenceAndLooksNoFurtherThanItsLength) {
    for (std::size_t length = 0; length <= 40; ++length) {
        // On the heap and one byte longer, so that a read past it is caught by the sanitizer
        // and a find of the byte just beyond the length shows in the result.
        auto bytes = std::make_unique<char[]>(length + 1);
        std::memset(bytes.get(), 'a', length);
        bytes[length] = '|';
        EXPECT_EQ(FindByte(bytes.get(), length, '|'), nullptr) << length;
        for (std::size_t at = length; at-- > 0;) {
            bytes[at] = '|';  // every byte from `at` on is one now
            EXPECT_EQ(FindByte(bytes.get(), length, '|'), bytes.get() + at) << length << " " << at;
        }
    }
    EXPECT_EQ(FindByte(std::string_view("ab|c|"), '|'), 2u);
    EXPECT_EQ(FindByte(std::string_view("abc"), '|'), std::string_view::npos);
}

TEST(FileLine, SplitsIntoFourFieldsAndKeepsFurtherBarsInTheStatus) {
    FileLineFields fields = SplitFileLine("a.doc|1,5 KB|01/02/03 04:05:06|bien|x");
    EXPECT_EQ(fields.name, "a.doc");
    EXPECT_EQ(fields.size, "1,5 KB");
    EXPECT_EQ(fields.date, "01/02/03 04:05:06");
    EXPECT_EQ(fields.status, "bien|x");
    fields = SplitFileLine("noseparator");
    EXPECT_EQ(fields.name, "noseparator");
    EXPECT_TRUE(fields.size.empty() && fields.date.empty() && fields.status.empty());
    fields = SplitFileLine("a|b");
    EXPECT_EQ(fields.name, "a");
    EXPECT_EQ(fields.size, "b");
    EXPECT_TRUE(fields.status.empty());
}

TEST(FileLine, CheckStatusIsExact) {
    EXPECT_EQ(ReadCheckStatus("bien"), CheckStatus::Good);
    EXPECT_EQ(ReadCheckStatus("mal"), CheckStatus::Bad);
    EXPECT_EQ(ReadCheckStatus("Bien"), CheckStatus::NotChecked);
    EXPECT_EQ(ReadCheckStatus("bien "), CheckStatus::NotChecked);
    EXPECT_EQ(ReadCheckStatus(""), CheckStatus::NotChecked);
    EXPECT_EQ(StatusKindOf("bien"), StatusKind::Good);
    EXPECT_EQ(StatusKindOf("mal"), StatusKind::Bad);
    EXPECT_EQ(StatusKindOf(""), StatusKind::Empty);
    EXPECT_EQ(StatusKindOf("mal "), StatusKind::Other);
}

TEST(FileLine, FolderOwnNameIsTheTextAfterTheLastBackslash) {
    EXPECT_EQ(FolderOwnName(">|A\\B\\C"), "C");
    EXPECT_EQ(FolderOwnName(">|C:"), "C:");
    EXPECT_EQ(FolderOwnName(">\\Name"), "Name");  // the second byte is never part of the name
    EXPECT_EQ(FolderOwnName(">|A\\"), "");
    EXPECT_EQ(FolderOwnName(">"), "");
}

}  // namespace
}  // namespace tov
