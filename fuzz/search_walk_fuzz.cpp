// A search over arbitrary bytes as a loaded listing. The first byte chooses the kind of pattern
// (typed text, a class expression of the input, or one of the program's classes) and the two
// check-status filters, the second the column (bits 0-1) and direction (bit 2) the results are
// sorted by; the pattern runs up to the first NUL (its first 64 bytes are used) and the listing
// follows it. The walk never reads outside the buffer, its rows point into the document, every
// result of a filtered search is a file of the status asked for, and sorting and writing the
// results stay within them: sorted neighbours are in order, and the file has a line for each
// row and the bytes counted for it. One sort a run keeps a run cheap; the fuzzer reaches every
// column and direction by changing the second byte.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "listing/file_line.h"
#include "listing/listing_document.h"
#include "search/csv_writer.h"
#include "search/file_type_class.h"
#include "search/search_walk.h"
#include "ui/compare_rows.h"

using tov::fuzz::Require;
using tov::fuzz::Within;

namespace {

constexpr std::size_t kPatternBytes = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    const tov::SortSettings sort{data[1] & 3, (data[1] & 4) != 0 ? -1 : 1};
    const std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t nul = rest.find('\0');
    // Enough for the program's own classes and for what people type; the compiler's long
    // patterns are the pattern targets' work and would only make each walk slower here.
    std::string_view pattern = rest.substr(0, nul).substr(0, kPatternBytes);
    const std::string_view listing =
        nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    bool is_class = (mode & 1) != 0;
    if ((mode & 6) == 6) {
        // One of the program's own classes, as the search bar sends them.
        is_class = true;
        pattern = tov::FileTypeClasses()[(mode >> 3) % tov::kFileTypeClassCount].expression;
    }
    const tov::CheckStatusFilters filters{(mode & 0x40) != 0, (mode & 0x80) != 0};

    const tov::ListingDocument document = tov::ListingDocument::FromCopy(listing);
    const tov::SearchOutcome outcome = tov::SearchListing(document, pattern, is_class, filters);
    if (outcome.refused) {
        Require(outcome.rows.rows.empty() && !outcome.refused->message.empty());
        return 0;
    }
    const tov::RowSet& rows = outcome.rows;
    for (const tov::FileRow& row : rows.rows) {
        const tov::FileLineFields fields = rows.Fields(row);
        Require(Within(document, fields.name) && Within(document, fields.size) &&
                Within(document, fields.date) && Within(document, fields.status));
        Require(row.path_prefix < rows.levels.size());
        if (filters.only_good || filters.only_bad) {
            const tov::CheckStatus status = tov::ReadCheckStatus(fields.status);
            Require(!row.is_folder() && status != tov::CheckStatus::NotChecked);
        }
    }

    // The results as the list shows them: sorted, then saved.
    const std::vector<std::uint32_t> order = tov::SortOrder(rows, sort);
    Require(order.size() == rows.rows.size());
    for (std::size_t i = 1; i < order.size(); ++i) {
        Require(order[i] < rows.rows.size() &&
                tov::CompareRows(rows, rows.rows[order[i - 1]], rows.rows[order[i]], sort) <= 0);
    }
    std::size_t written = 0;
    std::size_t csv_lines = 0;
    const bool complete = tov::WriteCsv(
        rows, order,
        [&](std::string_view chunk) {
            written += chunk.size();
            for (std::size_t at = chunk.find("\r\n"); at != std::string_view::npos;
                 at = chunk.find("\r\n", at + 2)) {
                ++csv_lines;
            }
            return true;
        },
        64);
    Require(complete && written >= 13 * rows.rows.size());
    Require(written == tov::CsvByteCount(rows, order));
    Require(csv_lines >= rows.rows.size());
    return 0;
}
