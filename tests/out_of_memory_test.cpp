// Running out of memory in the middle of any core operation: with the Nth allocation failing,
// for every N up to the operation's last allocation, the operation either ends in
// std::bad_alloc or gives exactly what it gives with memory to spare. Nothing is half done.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "listing/listing_document.h"
#include "listing/work_summary.h"
#include "search/csv_writer.h"
#include "search/search_walk.h"
#include "tests/support/allocation_failure.h"
#include "tools/writer/sample_listing.h"
#include "ui/compare_rows.h"
#include "listing/folder_index.h"

namespace tov {
namespace {

// Runs `operation` with each allocation failing in turn and compares what it gives, when it
// gives anything, with `expected` (compared outside the seam). Returns how many allocations
// the operation makes.
template <typename Operation, typename Expected>
std::uint64_t EachAllocationFailing(Operation operation, const Expected& expected) {
    for (std::uint64_t nth = 1; nth < 200000; ++nth) {
        std::optional<Expected> result;
        bool reached = false;
        {
            test::FailingAllocation failing(nth);
            try {
                result.emplace(operation());
            } catch (const std::bad_alloc&) {
            }
            reached = failing.failed();
        }
        if (result) {
            EXPECT_EQ(*result, expected) << "with allocation " << nth << " failing";
        } else {
            EXPECT_TRUE(reached) << "gave up without running out, at " << nth;
        }
        if (!reached) {
            return nth - 1;
        }
    }
    ADD_FAILURE() << "no end to the allocations";
    return 0;
}

std::string CsvOf(const RowSet& rows, const std::vector<std::uint32_t>& order) {
    std::string csv;
    WriteCsv(rows, order, [&csv](std::string_view chunk) {
        csv += chunk;
        return true;
    });
    return csv;
}

std::string CsvOf(const RowSet& rows) {
    std::vector<std::uint32_t> order(rows.rows.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    return CsvOf(rows, order);
}

std::vector<std::string> SummaryLines(const WorkSummary& summary) {
    std::vector<std::string> lines = summary.work_lines;
    for (const CheckRow& row : summary.check_rows) {
        lines.push_back(row.type + "|" + row.good + "|" + row.bad);
    }
    return lines;
}

TEST(OutOfMemory, EveryCoreOperationFailsWholeOrSucceedsWhole) {
    const std::string bytes = writer::MakeSampleListing();
    const ListingDocument document = ListingDocument::FromCopy(bytes);
    WorkSummaryLabels labels;
    for (std::string& label : labels.header) {
        label = "header %s";
    }
    for (std::string& label : labels.statistics) {
        label = "statistics %s";
    }
    labels.left_out = "%s more";

    // Loading, the summary, the tree and a folder's rows.
    EXPECT_GT(
        EachAllocationFailing([&] { return std::string(ListingDocument::FromCopy(bytes).Line(0)); },
                              std::string(document.Line(0))),
        0u);
    EXPECT_GT(EachAllocationFailing([&] { return SummaryLines(ReadWorkSummary(document, labels)); },
                                    SummaryLines(ReadWorkSummary(document, labels))),
              0u);
    const FolderIndex index = FolderIndex::Build(document);
    auto root_rows = [&] {
        const FolderIndex built = FolderIndex::Build(document);
        return CsvOf(BuildFolderRows(document, built, built.FirstTopLevel()));
    };
    EXPECT_GT(EachAllocationFailing(root_rows,
                                    CsvOf(BuildFolderRows(document, index, index.FirstTopLevel()))),
              0u);

    // Searches, the sorts of their results by every column, and saving them.
    for (const char* pattern : {"*", "*.doc", "a?c*"}) {
        SCOPED_TRACE(pattern);
        const SearchOutcome found = SearchListing(document, pattern, false, {});
        ASSERT_FALSE(found.rows.rows.empty() && std::string(pattern) == "*");
        EachAllocationFailing(
            [&] { return CsvOf(SearchListing(document, pattern, false, {}).rows); },
            CsvOf(found.rows));
        for (int column = 0; column < 4; ++column) {
            for (int direction : {1, -1}) {
                const SortSettings settings{column, direction};
                EachAllocationFailing([&] { return SortOrder(found.rows, settings, {}); },
                                      SortOrder(found.rows, settings, {}));
            }
        }
        const std::vector<std::uint32_t> order = SortOrder(found.rows, {1, 1}, {});
        EachAllocationFailing([&] { return CsvOf(found.rows, order); }, CsvOf(found.rows, order));
    }
}

}  // namespace
}  // namespace tov
