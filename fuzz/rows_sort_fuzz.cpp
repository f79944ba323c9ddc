// Sizes, dates and rows made of arbitrary text: reading a size or a date never fails, a date key
// is either unreadable or inside the readable years, and sorting by a column gives a permutation
// in which neighbours are in order, rows that compare equal keep the order they showed in before
// and comparing is antisymmetric.
// The first byte chooses the sort: column (bits 0-1), direction (bit 2) and the order the rows
// show in before it (bits 3-7: 0 the order of the rows, 31 a stale order the sort must ignore,
// else a shuffle of the rows seeded by the value). One sort a run keeps a run cheap; the fuzzer
// reaches every column and direction by changing that byte.
// Each following line (ended by LF or NUL) is one row, split at "|" like a file line; a first
// byte of "/" makes it a subfolder row (its name only: its other cells are empty). A line ">name"
// opens a folder level named "name" inside the current one, a line "<" goes back out of it: the
// rows that follow carry that level's path.
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

// The order the rows show in before the sort, as `choice` (bits 3-7 of the first byte) says.
std::vector<std::uint32_t> ShownBefore(unsigned choice, std::size_t count) {
    std::vector<std::uint32_t> order;
    if (choice == 0 || count == 0) {
        return order;
    }
    order.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    if (choice == 31) {
        order.back() = static_cast<std::uint32_t>(count);  // names no row: not an order
        return order;
    }
    std::uint32_t state = choice * 2654435761u;
    for (std::size_t i = count - 1; i > 0; --i) {
        state = state * 1664525u + 1013904223u;
        std::swap(order[i], order[(state >> 8) % (i + 1)]);
    }
    return order;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned mode = data[0];
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

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

    const int column = static_cast<int>(mode & 3);
    const tov::SortSettings settings{column, (mode & 4) != 0 ? -1 : 1};
    const std::size_t count = rows.rows.size();
    const std::vector<std::uint32_t> before = ShownBefore(mode >> 3, count);
    const std::vector<std::uint32_t> order = tov::SortOrder(rows, settings, before);
    Require(order.size() == count);
    // Where each row showed before: a stale order is taken as no order at all.
    const bool before_valid = before.size() == count && (count == 0 || before.back() < count);
    std::vector<std::size_t> was_at(count);
    for (std::size_t i = 0; i < count; ++i) {
        was_at[before_valid ? before[i] : i] = i;
    }
    std::vector<char> seen(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        Require(order[i] < count && !seen[order[i]]);
        seen[order[i]] = 1;
        // What a list shows is the beginning of the whole text.
        const std::string whole = tov::CellText(rows, rows.rows[order[i]], column);
        const std::size_t shown = i % 7;
        Require(tov::CellText(rows, rows.rows[order[i]], column, shown) == whole.substr(0, shown));
        if (i > 0) {
            const tov::FileRow& a = rows.rows[order[i - 1]];
            const tov::FileRow& b = rows.rows[order[i]];
            const int compared = tov::CompareRows(rows, a, b, settings);
            Require(compared <= 0);
            Require(compared != 0 || was_at[order[i - 1]] < was_at[order[i]]);
            Require(Sign(compared) == -Sign(tov::CompareRows(rows, b, a, settings)));
        }
    }
    return 0;
}
