#include "search/search_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/file_type_class.h"
#include "ui/compare_rows.h"

namespace tov {
namespace {

std::string PathOf(const RowSet& results, const FileRow& row) {
    return CellText(results, row, 1);
}

RowSet SearchRows(const ListingDocument& document, std::string_view pattern, bool is_class,
                  CheckStatusFilters filters = {}) {
    SearchOutcome outcome = SearchListing(document, pattern, is_class, filters);
    EXPECT_FALSE(outcome.refused.has_value()) << pattern;
    return std::move(outcome.rows);
}

std::vector<std::string> SearchPaths(const ListingDocument& document, std::string_view pattern,
                                     bool is_class, CheckStatusFilters filters = {}) {
    const RowSet results = SearchRows(document, pattern, is_class, filters);
    std::vector<std::string> paths;
    for (const FileRow& row : results.rows) {
        paths.push_back(PathOf(results, row));
    }
    return paths;
}

using Paths = std::vector<std::string>;

const char kListing[] =
    ">|C:\n"
    "root.txt|10|01/01/01 00:00:00|bien\n"
    "|0|01/01/01 00:00:00|\n"
    ">|C:\\Docs\n"
    "a.doc|1 KB|02/01/01 00:00:00|bien\n"
    "A.DOCX|2 KB|03/01/01 00:00:00|mal\n"
    "x.doc.bak|3|04/01/01 00:00:00|\n"
    "adoc|4|05/01/01 00:00:00|Bien\n"
    "Annual Report.txt|5|06/01/01 00:00:00|mal\n"
    "Copy (1).doc|6|07/01/01 00:00:00|bien\n"
    "a+b.txt|7|08/01/01 00:00:00|\n"
    "abc:d|8|09/01/01 00:00:00|mal \n"
    ">|REPORTS\n"
    "xabcx|9|10/01/01 00:00:00|bien\n"
    "<\n"
    "after.txt|11|11/01/01 00:00:00|mal\n"
    "<\n"
    "<\n"
    "N\xBA de trabajo|123\n"
    "Archivos analizados|3|2\n"
    "Hash|0123456789abcdef0123456789abcdef\n";

TEST(SearchWalk, TypedPatterns) {
    const ListingDocument document = ListingDocument::FromCopy(kListing);
    EXPECT_EQ(SearchPaths(document, "*.doc", false),
              (Paths{"C:\\Docs\\a.doc", "C:\\Docs\\A.DOCX", "C:\\Docs\\x.doc.bak",
                     "C:\\Docs\\Copy (1).doc"}));
    EXPECT_EQ(SearchPaths(document, "a?c", false),
              (Paths{"C:\\Docs\\abc:d", "C:\\Docs\\REPORTS\\xabcx"}));
    EXPECT_EQ(SearchPaths(document, "report", false),
              (Paths{"C:\\Docs\\Annual Report.txt", "C:\\Docs\\REPORTS"}));
    EXPECT_EQ(SearchPaths(document, "copy (1)", false), (Paths{"C:\\Docs\\Copy (1).doc"}));
    EXPECT_EQ(SearchPaths(document, "a+b", false), (Paths{"C:\\Docs\\a+b.txt"}));
    // The root's own name "C:" holds "c:"; the drive is no part of any other name.
    EXPECT_EQ(SearchPaths(document, "c:", false), (Paths{"C:", "C:\\Docs\\abc:d"}));
    EXPECT_EQ(SearchPaths(document, "A|B", false),
              (Paths{"C:\\Docs\\a.doc", "C:\\Docs\\A.DOCX", "C:\\Docs\\x.doc.bak", "C:\\Docs\\adoc",
                     "C:\\Docs\\Annual Report.txt", "C:\\Docs\\a+b.txt", "C:\\Docs\\abc:d",
                     "C:\\Docs\\REPORTS\\xabcx", "C:\\Docs\\after.txt"}));
    // Every name but the empty one, in document order, each folder before its contents.
    const Paths any_one = SearchPaths(document, "?", false);
    ASSERT_EQ(any_one.size(), 14u);
    EXPECT_EQ(any_one.front(), "C:");
    EXPECT_EQ(any_one[1], "C:\\root.txt");
    EXPECT_EQ(any_one[2], "C:\\Docs");
    EXPECT_EQ(any_one[11], "C:\\Docs\\REPORTS");
    EXPECT_EQ(any_one.back(), "C:\\Docs\\after.txt");
    // Header and statistics keys are not names of the tree.
    EXPECT_TRUE(SearchPaths(document, "trabajo", false).empty());
    EXPECT_TRUE(SearchPaths(document, "archivos", false).empty());
    EXPECT_TRUE(SearchPaths(document, "hash", false).empty());
}

TEST(SearchWalk, RowsCarryTheFieldsAsWritten) {
    const ListingDocument document = ListingDocument::FromCopy(kListing);
    const RowSet results = SearchRows(document, FileTypeClasses()[0].expression, true);
    ASSERT_EQ(results.rows.size(), 15u);  // 3 folders, 12 files, the empty name included
    const FileRow& root = results.rows[0];
    EXPECT_TRUE(root.is_folder());
    EXPECT_EQ(root.subfolder(), 0u);         // result rows carry no item data
    EXPECT_EQ(PathOf(results, root), "C:");  // the root shows its bare name
    const FileLineFields root_fields = results.Fields(root);
    EXPECT_TRUE(root_fields.status.empty() && root_fields.size.empty() && root_fields.date.empty());
    const FileRow& bad = results.rows[11];
    EXPECT_FALSE(bad.is_folder());
    EXPECT_EQ(PathOf(results, bad), "C:\\Docs\\abc:d");
    const FileLineFields fields = results.Fields(bad);
    EXPECT_EQ(fields.status, "mal ");
    EXPECT_EQ(fields.size, "8");
    EXPECT_EQ(fields.date, "09/01/01 00:00:00");
    // Each row comes with the kind of its status.
    ASSERT_EQ(results.status_kinds.size(), results.rows.size());
    for (std::size_t row = 0; row < results.rows.size(); ++row) {
        EXPECT_EQ(results.status_kinds[row], StatusKindOf(results.Status(results.rows[row])))
            << row;
    }
    EXPECT_EQ(results.status_kinds[11], StatusKind::Other);
    // The rows point into the document; nothing is copied.
    EXPECT_GE(fields.name.data(), document.data());
    EXPECT_LT(fields.name.data(), document.data() + document.size());
    // One level per folder that holds results, each linked to the folder it is in.
    ASSERT_EQ(results.levels.size(), 4u);
    std::vector<std::string> paths;
    for (std::uint32_t level = 0; level < results.levels.size(); ++level) {
        paths.emplace_back();
        results.AppendPath(paths.back(), level);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"", "C:\\", "C:\\Docs\\", "C:\\Docs\\REPORTS\\"}));
}

TEST(SearchWalk, CheckStatusFilters) {
    const ListingDocument document = ListingDocument::FromCopy(kListing);
    const char* all = FileTypeClasses()[0].expression;
    EXPECT_EQ(SearchPaths(document, all, true, {true, false}),
              (Paths{"C:\\root.txt", "C:\\Docs\\a.doc", "C:\\Docs\\Copy (1).doc",
                     "C:\\Docs\\REPORTS\\xabcx"}));
    EXPECT_EQ(SearchPaths(document, all, true, {false, true}),
              (Paths{"C:\\Docs\\A.DOCX", "C:\\Docs\\Annual Report.txt", "C:\\Docs\\after.txt"}));
    EXPECT_EQ(
        SearchPaths(document, all, true, {true, true}),
        (Paths{"C:\\root.txt", "C:\\Docs\\a.doc", "C:\\Docs\\A.DOCX", "C:\\Docs\\Annual Report.txt",
               "C:\\Docs\\Copy (1).doc", "C:\\Docs\\REPORTS\\xabcx", "C:\\Docs\\after.txt"}));
    // A filter on means no folder is tested, even one whose name matches.
    EXPECT_EQ(SearchPaths(document, "report", false, {true, true}),
              (Paths{"C:\\Docs\\Annual Report.txt"}));
}

TEST(SearchWalk, AnEmptyLineEndsTheWholeWalk) {
    const ListingDocument document = ListingDocument::FromCopy(
        ">|R\n>|R\\A\na.txt|1|d|\n>|R\\A\\B\nb.txt|1|d|\n\nc.txt|1|d|\n<\nd.txt|1|d|\n<\n<\n");
    EXPECT_EQ(SearchPaths(document, ".txt", false), (Paths{"R\\A\\a.txt", "R\\A\\B\\b.txt"}));
}

TEST(SearchWalk, EmptyDocumentGivesNoRows) {
    const ListingDocument empty;
    const RowSet results = SearchRows(empty, FileTypeClasses()[0].expression, true);
    EXPECT_TRUE(results.rows.empty());
    EXPECT_EQ(results.levels.size(), 1u);
}

TEST(SearchWalk, TopLevelHoldsFoldersOnly) {
    // Top-level lines that open no folder are never files; every top-level folder is searched
    // (the folder tree shows them all); a close line on the top level ends the walk.
    const ListingDocument document = ListingDocument::FromCopy(
        "stray.txt|1|d|\n>|A\na.txt|1|d|\n<\nafter.txt|1|d|\n>|B\nb.txt|1|d|\n<\n<\n"
        ">|C\nc.txt|1|d|\n<\n");
    EXPECT_EQ(SearchPaths(document, "*", false), (Paths{"A", "A\\a.txt", "B", "B\\b.txt"}));
}

TEST(SearchWalk, MalformedLinesStayInsideTheirLine) {
    // A bare ">" and ">x" give folders with an empty own name; a line without "|" is a file
    // whose name is the whole line; an unclosed tree ends with the document.
    const ListingDocument document = ListingDocument::FromCopy(">\nnobar\n>x\nab|c\n>|p\\q\\\n");
    const RowSet results = SearchRows(document, "\\.*", true);
    ASSERT_EQ(results.rows.size(), 5u);
    EXPECT_EQ(PathOf(results, results.rows[0]), "");
    EXPECT_EQ(PathOf(results, results.rows[1]), "\\nobar");
    EXPECT_EQ(PathOf(results, results.rows[2]), "\\");
    EXPECT_EQ(PathOf(results, results.rows[3]), "\\\\ab");
    const FileLineFields fields = results.Fields(results.rows[3]);
    EXPECT_EQ(fields.size, "c");
    EXPECT_TRUE(fields.date.empty() && fields.status.empty());
    EXPECT_EQ(PathOf(results, results.rows[4]), "\\\\");
}

TEST(SearchWalk, DeepNestingUsesNoCallStack) {
    constexpr int kDepth = 200000;
    std::string text;
    for (int level = 0; level < kDepth; ++level) {
        text += ">|f\n";
    }
    text += "deep.txt|1|d|bien\n";
    for (int level = 0; level < kDepth; ++level) {
        text += "<\n";
    }
    const ListingDocument document = ListingDocument::FromCopy(text);
    auto test = [](std::string_view name) { return name == "deep.txt"; };
    RowSet results;
    SearchFolderLevels(document, {true, false}, test, results);
    ASSERT_EQ(results.rows.size(), 1u);
    EXPECT_EQ(PathOf(results, results.rows[0]).size(), kDepth * 2 + 8u);
    // Only the levels down to the one that holds the result are kept.
    EXPECT_EQ(results.levels.size(), kDepth + 1u);
}

// A search holds room for the rows it finds, not for every line it reads.
TEST(SearchWalk, RowMemoryFollowsTheRowsFound) {
    std::string text = ">|C:\n";
    for (int file = 0; file < 100000; ++file) {
        text.append("f").append(std::to_string(file)).append(".txt|1|01/01/01 00:00:00|bien\n");
    }
    text += "<\n";
    const ListingDocument document = ListingDocument::FromCopy(text);
    const SearchOutcome few = SearchListing(document, "f7777.", false, {});
    ASSERT_EQ(few.rows.rows.size(), 1u);
    EXPECT_LE(few.rows.rows.capacity(), 16u);
    const SearchOutcome all = SearchListing(document, "*", false, {});
    ASSERT_EQ(all.rows.rows.size(), 100001u);
    EXPECT_LE(all.rows.rows.capacity(), 2 * all.rows.rows.size());
}

TEST(SearchWalk, NamesAreLowerCasedWithTheWindows1252Mapping) {
    const ListingDocument document = ListingDocument::FromCopy(
        ">|R\n\xC9T\xC9.TXT|1|d|\n\x8A\x8C\x8E\x9F|1|d|\nMULTIPLY\xD7|1|d|\n<\n");
    EXPECT_EQ(SearchPaths(document, "\xE9t\xE9", false), (Paths{"R\\\xC9T\xC9.TXT"}));
    EXPECT_EQ(SearchPaths(document, "\xC9T\xC9", false), (Paths{"R\\\xC9T\xC9.TXT"}));
    EXPECT_EQ(SearchPaths(document, "\x9A\x9C\x9E\xFF", false), (Paths{"R\\\x8A\x8C\x8E\x9F"}));
    EXPECT_EQ(SearchPaths(document, "\xF7", false), (Paths{}));  // 0xD7 has no lower case
    // What the test sees is lower-cased; the row keeps the bytes as written.
    std::vector<std::string> seen;
    auto record = [&](std::string_view name) {
        seen.emplace_back(name);
        return false;
    };
    RowSet results;
    SearchFolderLevels(document, {}, record, results);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"r", "\xE9t\xE9.txt", "\x9A\x9C\x9E\xFF", "multiply\xD7"}));
}

TEST(SearchWalk, ARefusedPatternGivesNoRows) {
    const ListingDocument document = ListingDocument::FromCopy(kListing);
    // A typed "{" that makes no quantifier is a literal; a repetition of nothing is refused.
    EXPECT_TRUE(SearchListing(document, "x{", false, {}).rows.rows.empty());
    EXPECT_FALSE(SearchListing(document, "x{", false, {}).refused.has_value());
    const SearchOutcome refused = SearchListing(document, "{2}", false, {});
    EXPECT_TRUE(refused.refused.has_value());
    EXPECT_TRUE(refused.rows.rows.empty());
    EXPECT_TRUE(SearchListing(document, "(a", true, {}).refused.has_value());
}

TEST(SearchExpression, TypedTextIsEscapedAndClassesAreNot) {
    EXPECT_EQ(SearchExpression("*.DOC", false), "(.*)\\.doc");
    EXPECT_EQ(SearchExpression("\\.(DOC|dot)$", true), "\\.(doc|dot)$");
    EXPECT_EQ(SearchExpression("\xC9", false), "\xE9");
}

}  // namespace
}  // namespace tov
