// One row of a FileListControl (the folder list or the search results): views into the listing
// document, never copies of its texts.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

struct FileRow {
    std::string_view status;        // column 0: the check status as written; empty for folders
    std::string_view name;          // column 1 after the row's folder path
    std::string_view size;          // column 2, as written
    std::string_view date;          // column 3, as written
    std::uint32_t path_prefix = 0;  // the PathLevel of the row's folder; 0 is the empty path
    std::uint32_t subfolder = 0;    // folder list only: 1 + folder index of a subfolder row
    bool is_folder = false;         // shown with the closed-folder icon
    // Column 1's image in the shell's small image list, looked up when the row is first shown;
    // kIconNotLooked before that.
    std::int32_t icon = kIconNotLooked;

    static constexpr std::int32_t kIconNotLooked = -2;
};

// One folder level of the result paths: the folder's own name, linked to the level it is in.
// The path text of a level ("A\B\") is its parent's path text, its name and "\"; it is built only
// where it is shown, sorted or saved, so a chain of a million levels takes a million links rather
// than a million whole paths.
struct PathLevel {
    std::uint32_t parent = 0;  // the empty path is its own parent
    // An ancestor found by skew-binary steps: reaching any ancestor takes logarithmic steps.
    std::uint32_t jump = 0;
    std::uint32_t depth = 0;
    std::string_view name;
    std::uint64_t length = 0;  // bytes of the path text
};

// The rows of one list. A result's path (column 1) is the path text of levels[path_prefix]
// followed by its name.
struct RowSet {
    std::vector<PathLevel> levels{PathLevel{}};
    std::vector<FileRow> rows;

    static constexpr std::uint64_t kWhole = std::numeric_limits<std::uint64_t>::max();

    // Adds the folder `name` inside `parent` (which must exist) and returns the new level.
    std::uint32_t AddLevel(std::uint32_t parent, std::string_view name);

    // Appends the first `limit` bytes of the path text of `level` (an unknown level has none).
    void AppendPath(std::string& out, std::uint32_t level, std::uint64_t limit = kWhole) const;
    std::uint64_t PathLength(std::uint32_t level) const {
        return level < levels.size() ? levels[level].length : 0;
    }
};

}  // namespace tov
