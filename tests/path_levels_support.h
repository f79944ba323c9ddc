// Result paths for tests: the levels of a path written as text.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/file_row.h"

namespace tov::test {

// Adds the folders of `path` ("C:\Docs\", each folder followed by "\") as new levels below the
// empty path and returns the last. The levels view `path`, which must outlive them.
inline std::uint32_t AddPathLevels(RowSet& rows, std::string_view path) {
    std::uint32_t level = 0;
    while (!path.empty()) {
        const std::size_t backslash = path.find('\\');
        level = rows.AddLevel(level, path.substr(0, backslash));
        if (backslash == std::string_view::npos) {
            break;
        }
        path.remove_prefix(backslash + 1);
    }
    return level;
}

}  // namespace tov::test
