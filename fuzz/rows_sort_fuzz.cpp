// Sizes, dates and rows made of arbitrary text: reading a size or a date never fails, a date key
// is either unreadable or inside the readable years, and sorting by every column in both
// directions gives a permutation in which neighbours are in order, rows that compare equal keep
// their order and comparing is antisymmetric.
// Each input line (ended by LF or NUL) is one row, split at "|" like a file line; a first byte of
// "/" makes it a subfolder row. A line ">name" opens a folder level named "name" inside the
// current one, a line "<" goes back out of it: the rows that follow carry that level's path.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "listing/file_line.h"
#include "listing/sort_keys.h"
#include "ui/compare_rows.h"

using tov::fuzz::Require;

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    tov::RowSet rows;
    std::uint32_t level = 0;
    std::size_t start = 0;
    while (start <= input.size() && rows.rows.size() < 64) {
        // Fields of a loaded listing never hold a NUL: it ends their line.
        std::size_t end = input.find_first_of(std::string_view("\n\0", 2), start);
        if (end == std::string_view::npos) {
            end = input.size();
        }
        const std::string_view line = input.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line[0] == '>') {
            level = rows.AddLevel(level, line.substr(1));
            continue;
        }
        if (line == "<") {
            level = rows.levels[level].parent;
            continue;
        }
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
        row.path_prefix = level;
        rows.rows.push_back(row);
    }

    std::vector<std::uint32_t> order;
    for (int column = 0; column < 4; ++column) {
        for (int direction : {1, -1}) {
            const tov::SortSettings settings{column, direction};
            const std::vector<std::uint32_t> previous = order;
            order = tov::SortOrder(rows, settings, order);
            Require(order.size() == rows.rows.size());
            std::vector<std::size_t> was_at(order.size());
            for (std::size_t i = 0; i < order.size(); ++i) {
                was_at[previous.empty() ? i : previous[i]] = i;
            }
            std::vector<char> seen(rows.rows.size(), 0);
            for (std::size_t i = 0; i < order.size(); ++i) {
                Require(order[i] < rows.rows.size() && !seen[order[i]]);
                seen[order[i]] = 1;
                // What a list shows is the beginning of the whole text.
                const std::string whole = tov::CellText(rows, rows.rows[order[i]], column);
                const std::size_t shown = i % 7;
                Require(tov::CellText(rows, rows.rows[order[i]], column, shown) ==
                        whole.substr(0, shown));
                if (i > 0) {
                    const tov::FileRow& a = rows.rows[order[i - 1]];
                    const tov::FileRow& b = rows.rows[order[i]];
                    const int compared = tov::CompareRows(rows, a, b, settings);
                    Require(compared <= 0);
                    Require(compared != 0 || was_at[order[i - 1]] < was_at[order[i]]);
                    Require(Sign(tov::CompareRows(rows, a, b, settings)) ==
                            -Sign(tov::CompareRows(rows, b, a, settings)));
                }
            }
        }
    }
    return 0;
}
