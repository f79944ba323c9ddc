// The order of rows by column 1 (a result's path and name, or a folder list's names).
#pragma once

#include <cstdint>
#include <vector>

#include "listing/file_row.h"

namespace tov {

// The rows of `current` (row indexes in the order they show now, every one valid) sorted by
// column 1: empty texts first, then subfolder rows, then the rest by their texts without regard
// to case, ascending or descending; rows that tie keep their order both ways.
//
// The texts are never built: paths are taken apart at every "\" into one tree of parts merged
// without regard to case, and the order is a walk through that tree with each part's items
// sorted. A chain of a million folders so sorts in linear time, not in the square of its depth.
// The order is written over `current`, so a sort of a million rows takes no second order.
std::vector<std::uint32_t> NameColumnOrder(const RowSet& rows, std::vector<std::uint32_t> current,
                                           bool ascending);

}  // namespace tov
