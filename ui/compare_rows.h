// The order of the rows of a file list: by one column, ascending or descending.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "listing/file_row.h"

namespace tov {

struct SortSettings {
    int column = 1;     // 0 status, 1 name, 2 size, 3 date
    int direction = 1;  // +1 ascending, -1 descending
};

// A sort request: column -1 keeps the settings; otherwise the column is taken, and the
// direction too unless it is 0.
SortSettings ApplySortRequest(SortSettings current, int column, int direction);

// A click on a column header: the same column again reverses the direction, another column
// keeps it.
SortSettings ClickColumn(SortSettings current, int column);

// The text a row shows in a column (column 1 with its folder's path), or its first `limit` bytes.
std::string CellText(const RowSet& rows, const FileRow& row, int column,
                     std::size_t limit = std::string::npos);

// Negative, 0 or positive as row a sorts before, with or after row b:
// - an empty cell sorts before a filled one (ascending);
// - Name: subfolder rows before other rows, then names without regard to case;
// - Size: the sizes as numbers; Date: the dates as times, equal dates equal, and dates that
//   read as no valid time before all valid ones;
// - Status and any other column: the texts without regard to case.
// The result is reversed for a descending direction.
int CompareRows(const RowSet& rows, const FileRow& a, const FileRow& b, SortSettings settings);

// The order in which the rows show when sorted by `settings`: for each position the index of its
// row. `current` is the order they show in now (empty: the order of `rows`), and its room is
// reused for the order returned; rows that compare equal keep their places relative to each
// other.
std::vector<std::uint32_t> SortOrder(const RowSet& rows, SortSettings settings,
                                     std::vector<std::uint32_t> current = {});

}  // namespace tov
