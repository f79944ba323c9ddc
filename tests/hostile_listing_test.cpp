// Every portable walk over listings whose digest is correct but whose contents are hostile: the
// folder index and each folder's rows, the work summary, searches with typed text and with each
// class under each filter, sorting the results by every column and writing them. Nothing may
// crash, read outside the document or take longer than linear time; where the outcome is
// settled, it is checked.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listing/file_line.h"
#include "listing/listing_digest.h"
#include "listing/listing_document.h"
#include "listing/work_summary.h"
#include "search/csv_writer.h"
#include "search/file_type_class.h"
#include "search/search_walk.h"
#include "tools/writer/hostile_listings.h"
#include "tools/writer/listing_writer.h"
#include "ui/compare_rows.h"
#include "listing/folder_index.h"

namespace tov {
namespace {

using writer::HostileScale;
using writer::MakeHostileListing;

// The million nested folders stay; the cases that only cost time under a sanitizer shrink.
HostileScale NativeScale() {
    HostileScale scale;
    scale.long_line_bytes = std::uint64_t{1} << 20;
    scale.wide_files = 20000;
    scale.marker_lines = 2000;
    return scale;
}

WorkSummaryLabels PlainLabels() {
    WorkSummaryLabels labels;
    for (std::string& label : labels.header) {
        label = "%s";
    }
    for (std::string& label : labels.statistics) {
        label = "%s";
    }
    return labels;
}

bool Within(const ListingDocument& document, std::string_view view) {
    return view.empty() || (view.data() >= document.data() &&
                            view.data() + view.size() <= document.data() + document.size());
}

void ExpectRowsInside(const ListingDocument& document, const RowSet& rows) {
    for (const FileRow& row : rows.rows) {
        const FileLineFields fields = rows.Fields(row);
        ASSERT_TRUE(Within(document, fields.name) && Within(document, fields.size) &&
                    Within(document, fields.date) && Within(document, fields.status));
        ASSERT_LT(row.path_prefix, rows.levels.size());
    }
}

// Sorts by each column both ways, as clicks on the headers do, and saves the rows.
void SortAndSave(const RowSet& rows) {
    std::vector<std::uint32_t> order;
    for (int column = 0; column < 4; ++column) {
        for (const int direction : {1, -1}) {
            order = SortOrder(rows, {column, direction}, order);
            ASSERT_EQ(order.size(), rows.rows.size());
            for (std::size_t i = 1; i < order.size(); ++i) {
                ASSERT_LE(CompareRows(rows, rows.rows[order[i - 1]], rows.rows[order[i]],
                                      {column, direction}),
                          0);
            }
        }
    }
    std::uint64_t bytes = 0;
    ASSERT_TRUE(WriteCsv(rows, order, [&](std::string_view chunk) {
        bytes += chunk.size();
        return true;
    }));
    EXPECT_GE(bytes, 13 * rows.rows.size());
}

struct Walked {
    std::size_t folders = 0;
    std::size_t root_rows = 0;
    std::size_t work_lines = 0;
    std::size_t check_rows = 0;
    std::size_t found_typed = 0;  // "*"
};

// Every walk over one listing. Searches that match every folder ("*", or the class of all files
// without a filter) are left out where the tree is deep: saving their results writes every
// folder's whole path, terabytes for a million levels (see
// SearchingEverythingInDeepNestingStaysLinear).
Walked WalkEverything(const std::string& listing, bool search_everything) {
    Walked walked;
    EXPECT_GE(listing.size(), kDigestLineLength);
    EXPECT_TRUE(VerifyListingDigest(listing.data(), static_cast<std::uint32_t>(listing.size())));
    const ListingDocument document = ListingDocument::FromCopy(listing);

    const FolderIndex index = FolderIndex::Build(document);
    walked.folders = index.size();
    // The rows of the root, of the last folder and, where there are not too many, of all.
    for (FolderIndex::Folder folder = 0; folder < index.size(); ++folder) {
        if (index.size() > 1000 && folder != 0 && folder + 1 != index.size()) {
            continue;
        }
        const RowSet rows = BuildFolderRows(document, index, folder);
        ExpectRowsInside(document, rows);
        if (folder == 0) {
            walked.root_rows = rows.rows.size();
            SortAndSave(rows);
        }
    }

    const WorkSummary summary = ReadWorkSummary(document, PlainLabels());
    walked.work_lines = summary.work_lines.size();
    walked.check_rows = summary.check_rows.size();

    if (search_everything) {
        const SearchOutcome everything = SearchListing(document, "*", false, {});
        EXPECT_FALSE(everything.refused);
        ExpectRowsInside(document, everything.rows);
        SortAndSave(everything.rows);
        walked.found_typed = everything.rows.rows.size();
    }
    // The class of every file and one with alternatives (images); the other classes differ only
    // in their expressions, which the matcher's own tests cover.
    for (const FileTypeClass& type_class : {FileTypeClasses()[0], FileTypeClasses()[6]}) {
        for (const CheckStatusFilters filters :
             {CheckStatusFilters{}, CheckStatusFilters{true, false},
              CheckStatusFilters{false, true}, CheckStatusFilters{true, true}}) {
            if (!search_everything && type_class.expression == FileTypeClasses()[0].expression &&
                !filters.only_good && !filters.only_bad) {
                continue;
            }
            const SearchOutcome found =
                SearchListing(document, type_class.expression, true, filters);
            EXPECT_FALSE(found.refused);
            ExpectRowsInside(document, found.rows);
        }
    }
    return walked;
}

TEST(HostileListing, EveryWalkFinishesOverEveryListing) {
    const HostileScale scale = NativeScale();
    for (const std::string_view name : writer::HostileListingNames()) {
        if (name == "nested") {
            continue;  // below, with its own checks
        }
        SCOPED_TRACE(std::string(name));
        const std::string listing = MakeHostileListing(name, scale);
        const Walked walked = WalkEverything(listing, true);

        if (name == "long-line") {
            EXPECT_EQ(walked.root_rows, 3u);
            EXPECT_EQ(walked.found_typed, 4u);
            EXPECT_EQ(walked.work_lines, 13u);
            EXPECT_EQ(walked.check_rows, 8u);
        } else if (name == "no-final-lf") {
            EXPECT_EQ(walked.work_lines, 13u);
            EXPECT_EQ(walked.check_rows, 2u);  // the last runs into the digest line
        } else if (name == "only-open") {
            EXPECT_EQ(walked.folders, scale.marker_lines);
            EXPECT_EQ(walked.work_lines + walked.check_rows, 0u);
        } else if (name == "only-close") {
            EXPECT_EQ(walked.folders, 0u);
            EXPECT_EQ(walked.found_typed, 0u);
            EXPECT_EQ(walked.work_lines + walked.check_rows, 0u);
        } else if (name == "bars") {
            EXPECT_EQ(walked.folders, 2u);
            EXPECT_EQ(walked.root_rows, 18u);    // the subfolder and the lines before it
            EXPECT_EQ(walked.found_typed, 23u);  // two folders, 21 file lines
        } else if (name == "odd-names") {
            EXPECT_EQ(walked.folders, 6u);
        } else if (name == "empty-line-tree") {
            EXPECT_EQ(walked.root_rows, 1u);
            EXPECT_EQ(walked.found_typed, 2u);
            EXPECT_EQ(walked.work_lines + walked.check_rows, 0u);
        } else if (name == "empty-line-header") {
            EXPECT_EQ(walked.work_lines, 13u);
            EXPECT_EQ(walked.check_rows, 0u);
        } else if (name == "empty-line-statistics") {
            EXPECT_EQ(walked.work_lines, 13u);
            EXPECT_EQ(walked.check_rows, 8u);
        } else if (name == "empty-first-line") {
            EXPECT_EQ(walked.folders + walked.root_rows + walked.found_typed, 0u);
            EXPECT_EQ(walked.work_lines + walked.check_rows, 0u);
        } else if (name == "several-roots") {
            EXPECT_EQ(walked.folders, 6u);  // the stray "<" hides "F:"
            EXPECT_EQ(walked.found_typed, 12u);
            EXPECT_EQ(walked.check_rows, 8u);
        } else if (name == "wide-folder") {
            EXPECT_EQ(walked.root_rows, scale.wide_files);
            EXPECT_EQ(walked.found_typed, scale.wide_files + 1);
        } else if (name == "long-summary") {
            // Shown up to the bounds, then one line for the rest.
            EXPECT_EQ(walked.work_lines, kMaxWorkLines + 1);
            EXPECT_EQ(walked.check_rows, kMaxCheckRows + 1);
        }
    }
}

TEST(HostileListing, FileLinesWithAnyNumberOfBarsSplitInsideTheLine) {
    const ListingDocument document =
        ListingDocument::FromCopy(MakeHostileListing("bars", NativeScale()));
    const FolderIndex index = FolderIndex::Build(document);
    const RowSet rows = BuildFolderRows(document, index, 0);
    std::vector<std::string> names;
    for (const FileRow& row : rows.rows) {
        names.emplace_back(rows.Name(row));
    }
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], "Sub");  // the subfolder first
    EXPECT_EQ(names[1], "bars");
    // Only an exact "bien" or "mal" after the third "|" counts for the filters.
    const SearchOutcome good = SearchListing(document, "*", false, {true, false});
    const SearchOutcome bad = SearchListing(document, "*", false, {false, true});
    ASSERT_EQ(good.rows.rows.size(), 2u);
    EXPECT_EQ(good.rows.Name(good.rows.rows[0]), "bars");
    EXPECT_EQ(good.rows.Name(good.rows.rows[1]), "z");
    ASSERT_EQ(bad.rows.rows.size(), 2u);
    EXPECT_EQ(bad.rows.Name(bad.rows.rows[0]), "nothing");
    EXPECT_EQ(bad.rows.Name(bad.rows.rows[1]), "after-sub");
}

TEST(HostileListing, OddNamesAreTakenAfterTheLastBackslashAndKeptByteForByte) {
    const ListingDocument document =
        ListingDocument::FromCopy(MakeHostileListing("odd-names", NativeScale()));
    const FolderIndex index = FolderIndex::Build(document);
    ASSERT_EQ(index.size(), 6u);
    std::string high;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        high += static_cast<char>(byte);
    }
    EXPECT_EQ(index.Name(0), high);
    EXPECT_EQ(index.Name(1), "");  // "trailing\"
    EXPECT_EQ(index.Name(2), std::string(255, '\xE9'));
    EXPECT_EQ(index.Name(3), "");  // ">" alone
    EXPECT_EQ(index.Name(4), "");  // "\\\"
    EXPECT_EQ(index.Name(5), "\xFF");
    // Names are compared without regard to case in Windows-1252: "É" (0xC9) finds "é" (0xE9).
    const SearchOutcome found =
        SearchListing(document, std::string(255, '\xC9'), false, CheckStatusFilters{});
    ASSERT_FALSE(found.refused);
    EXPECT_EQ(found.rows.rows.size(), 3u);  // the file in the root, the folder and its file
    const SearchOutcome backslash = SearchListing(document, "a\\b\\c.txt", false, {});
    ASSERT_EQ(backslash.rows.rows.size(), 1u);
    EXPECT_EQ(CellText(backslash.rows, backslash.rows.rows[0], 1), high + "\\a\\b\\c.txt");
}

TEST(HostileListing, HeaderAndStatisticsLinesThatOpenOrCloseFolders) {
    const ListingDocument document =
        ListingDocument::FromCopy(MakeHostileListing("marker-header", NativeScale()));
    const WorkSummary summary = ReadWorkSummary(document, PlainLabels());
    EXPECT_EQ(summary.work_lines.size(), 5u);
    EXPECT_EQ(summary.check_rows.size(), 5u);
    // The folders they open on the top level are part of the tree for the index and the search
    // alike; the "<" on the top level ends both.
    const FolderIndex index = FolderIndex::Build(document);
    EXPECT_EQ(index.size(), 4u);
    const SearchOutcome found = SearchListing(document, "*", false, {});
    EXPECT_EQ(found.rows.rows.size(), 7u);
}

TEST(HostileListing, NulBytesEndTheirLines) {
    const ListingDocument document =
        ListingDocument::FromCopy(MakeHostileListing("nul-bytes", NativeScale()));
    const FolderIndex index = FolderIndex::Build(document);
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index.Name(0), "a");
    EXPECT_EQ(BuildFolderRows(document, index, 0).rows.size(), 4u);  // b, x, y.txt, z.txt
}

TEST(HostileListing, AMillionNestedFolders) {
    const HostileScale scale = NativeScale();
    const std::string listing = MakeHostileListing("nested", scale);
    const Walked walked = WalkEverything(listing, false);
    EXPECT_EQ(walked.folders, scale.nested_depth + 1);
    EXPECT_EQ(walked.work_lines, 13u);
    EXPECT_EQ(walked.check_rows, 8u);

    const ListingDocument document = ListingDocument::FromCopy(listing);
    const FolderIndex index = FolderIndex::Build(document);
    // Down from the root by name, as the tree opens a path, to the folder 10,000 levels down.
    FolderIndex::Folder folder = 0;
    for (std::uint32_t level = 1; level <= scale.deep_level; ++level) {
        folder = index.FindChild(folder, std::to_string(level));
        ASSERT_NE(folder, FolderIndex::kNone) << level;
    }
    const RowSet deep_rows = BuildFolderRows(document, index, folder);
    ASSERT_EQ(deep_rows.rows.size(), 2u);
    EXPECT_TRUE(deep_rows.rows[0].is_folder());
    EXPECT_EQ(deep_rows.Name(deep_rows.rows[1]), "deep.txt");
    // And up again from the deepest folder.
    FolderIndex::Folder deepest = static_cast<FolderIndex::Folder>(index.size() - 1);
    const RowSet deepest_rows = BuildFolderRows(document, index, deepest);
    EXPECT_EQ(deepest_rows.Name(deepest_rows.rows.at(0)), "bottom.txt");
    std::uint32_t levels = 0;
    while (index.Parent(deepest) != FolderIndex::kNone) {
        deepest = index.Parent(deepest);
        ++levels;
    }
    EXPECT_EQ(levels, scale.nested_depth);

    const SearchOutcome deep = SearchListing(document, "deep.txt", false, {});
    ASSERT_EQ(deep.rows.rows.size(), 1u);
    EXPECT_EQ(CellText(deep.rows, deep.rows.rows[0], 1),
              writer::NestedFolderPath(scale.deep_level) + "deep.txt");
    const SearchOutcome bad = SearchListing(document, "*", false, {false, true});
    ASSERT_EQ(bad.rows.rows.size(), 1u);
    const SearchOutcome bottom = SearchListing(document, "bottom", false, {});
    ASSERT_EQ(bottom.rows.rows.size(), 1u);
    EXPECT_EQ(CellText(bottom.rows, bottom.rows.rows[0], 1),
              writer::NestedFolderPath(scale.nested_depth) + "bottom.txt");
}

// Every folder of a deep chain matches "*": the results link each folder to the one it is in,
// so a million levels take a million links, and sorting and saving them takes linear time where
// their texts are not themselves that long.
TEST(HostileListing, SearchingEverythingInDeepNestingStaysLinear) {
    const HostileScale scale = NativeScale();
    const std::string listing = MakeHostileListing("nested", scale);
    const ListingDocument document = ListingDocument::FromCopy(listing);
    const SearchOutcome everything = SearchListing(document, "*", false, {});
    const RowSet& rows = everything.rows;
    ASSERT_EQ(rows.rows.size(), std::size_t{scale.nested_depth} + 1 + 3);
    EXPECT_EQ(rows.levels.size(), std::size_t{scale.nested_depth} + 2);

    // By name the folders stand in the order of their depth; a file comes after the folder
    // beside it ("1..." before "d..." and "t...").
    std::vector<std::uint32_t> order = SortOrder(rows, {1, 1});
    ASSERT_EQ(order.size(), rows.rows.size());
    EXPECT_EQ(CellText(rows, rows.rows[order[0]], 1), "C:");
    EXPECT_EQ(CellText(rows, rows.rows[order[1]], 1), "C:\\1");
    EXPECT_EQ(CellText(rows, rows.rows[order[2]], 1), "C:\\1\\2");
    const std::size_t last = order.size() - 1;
    EXPECT_EQ(rows.Name(rows.rows[order[last - 2]]), "bottom.txt");
    EXPECT_EQ(rows.Name(rows.rows[order[last - 1]]), "deep.txt");
    EXPECT_EQ(rows.Name(rows.rows[order[last]]), "top.txt");
    const FileRow& bottom = rows.rows[order[last - 2]];
    order = SortOrder(rows, {1, -1}, order);
    EXPECT_EQ(rows.Name(rows.rows[order.front()]), "top.txt");
    EXPECT_EQ(rows.Name(rows.rows[order.back()]), "C:");

    // What a list shows of the deepest path is only its beginning, found without the rest.
    EXPECT_EQ(CellText(rows, bottom, 1, 259),
              writer::NestedFolderPath(scale.nested_depth).substr(0, 259));
    EXPECT_EQ(CellText(rows, bottom, 1, 3), "C:\\");

    // Saving would write every path whole: far more than the listing, known before writing.
    const std::uint64_t bytes = CsvByteCount(rows, order);
    EXPECT_GT(bytes, std::uint64_t{1} << 40);
    const std::vector<std::uint32_t> first_rows(order.end() - 3, order.end());
    std::string written;
    ASSERT_TRUE(WriteCsv(rows, first_rows, [&](std::string_view chunk) {
        written += chunk;
        return true;
    }));
    EXPECT_EQ(written,
              "\"\";\"C:\\1\\2\";\"\";\"\"\r\n\"\";\"C:\\1\";\"\";\"\"\r\n"
              "\"\";\"C:\";\"\";\"\"\r\n");
    EXPECT_EQ(CsvByteCount(rows, first_rows), written.size());
}

TEST(HostileListing, FilesOfTheLengthsAroundTheDigestLine) {
    EXPECT_EQ(writer::ListingOfLength(0).size(), 0u);
    EXPECT_EQ(writer::ListingOfLength(37).size(), 37u);
    const std::string shortest = writer::ListingOfLength(38);
    ASSERT_EQ(shortest.size(), 38u);
    ASSERT_TRUE(VerifyListingDigest(shortest.data(), 38));
    const Walked walked = WalkEverything(shortest, true);
    EXPECT_EQ(walked.folders + walked.found_typed + walked.work_lines + walked.check_rows, 0u);
    const std::string longer = writer::ListingOfLength(40);
    EXPECT_TRUE(VerifyListingDigest(longer.data(), 40));
}

}  // namespace
}  // namespace tov
