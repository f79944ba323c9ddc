// Sizes, dates and rows made of arbitrary text: reading a size or a date never fails, a date key
// is either unreadable or inside the readable years, and sorting by every column in both
// directions gives a permutation in which neighbours are in order, rows that compare equal keep
// their order and comparing is antisymmetric.
// Each input line (ended by LF or NUL) is one row, split at "|" like a file line; a first byte of
// "/" makes it a subfolder row (its name only: its other cells are empty). A line ">name" opens a
// folder level named "name" inside the current one, a line "<" goes back out of it: the rows that
// follow carry that level's path.
#include <algorithm>
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

    // The rows point into the input as a loaded listing holds it: every line ended by a NUL.
    std::string text(input);
    std::replace(text.begin(), text.end(), '\n', '\0');
    text += '\0';
    tov::RowSet rows;
    rows.text = text;
    std::uint32_t level = 0;
    std::size_t start = 0;
    while (start <= input.size() && rows.rows.size() < 64) {
        const std::size_t end = text.find('\0', start);
        const std::string_view line = rows.text.substr(start, end - start);
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

        const bool is_folder = !line.empty() && line[0] == '/';
        rows.rows.push_back(rows.RowOf(fields.name, level, is_folder ? 1 : tov::FileRow::kFile));
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
