// Sizes, dates and rows made of arbitrary text: reading a size or a date never fails, a date key
// is either unreadable or inside the readable years, and sorting by every column in both
// directions gives a permutation in which neighbours are in order and comparing is antisymmetric.
// Each input line (ended by LF or NUL) is one row, split at "|" like a file line; a first byte of "/" makes it a
// subfolder row.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "listing/file_line.h"
#include "listing/sort_keys.h"
#include "ui/compare_rows.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    tov::RowSet rows;
    rows.prefixes.push_back("A\\");
    std::size_t start = 0;
    while (start <= input.size() && rows.rows.size() < 512) {
        // Fields of a loaded listing never hold a NUL: it ends their line.
        std::size_t end = input.find_first_of(std::string_view("\n\0", 2), start);
        if (end == std::string_view::npos) {
            end = input.size();
        }
        const std::string_view line = input.substr(start, end - start);
        const tov::FileLineFields fields = tov::SplitFileLine(line);

        const double bytes = tov::ReadSizeForSorting(fields.size);
        Require(!std::isnan(bytes));
        const std::int64_t date = tov::ReadDateForSorting(fields.date);
        Require(date == tov::kUnreadableDateKey ||
                (date >= 0 && date <= std::int64_t{1031} * 366 * 86400));

        tov::FileRow row;
        row.is_folder = !line.empty() && line[0] == '/';
        row.subfolder = row.is_folder ? 1 : 0;
        row.name = fields.name;
        row.size = fields.size;
        row.date = fields.date;
        row.status = fields.status;
        row.path_prefix = static_cast<std::uint32_t>(rows.rows.size() % 2);
        rows.rows.push_back(row);
        start = end + 1;
    }

    std::vector<std::uint32_t> order;
    for (int column = 0; column < 4; ++column) {
        for (int direction : {1, -1}) {
            const tov::SortSettings settings{column, direction};
            order = tov::SortOrder(rows, settings, order);
            Require(order.size() == rows.rows.size());
            std::vector<char> seen(rows.rows.size(), 0);
            for (std::size_t i = 0; i < order.size(); ++i) {
                Require(order[i] < rows.rows.size() && !seen[order[i]]);
                seen[order[i]] = 1;
                (void)tov::CellText(rows, rows.rows[order[i]], column);
                if (i > 0) {
                    const tov::FileRow& a = rows.rows[order[i - 1]];
                    const tov::FileRow& b = rows.rows[order[i]];
                    Require(tov::CompareRows(rows, a, b, settings) <= 0);
                    Require(Sign(tov::CompareRows(rows, a, b, settings)) ==
                            -Sign(tov::CompareRows(rows, b, a, settings)));
                }
            }
        }
    }
    return 0;
}
