// One row of a FileListControl (the folder list or the search results): views into the listing
// document, never copies of its texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

struct FileRow {
    std::string_view status;        // column 0: the check status as written; empty for folders
    std::string_view name;          // column 1 after the row's path prefix
    std::string_view size;          // column 2, as written
    std::string_view date;          // column 3, as written
    std::uint32_t path_prefix = 0;  // index into RowSet::prefixes; 0 is the empty prefix
    std::uint32_t subfolder = 0;    // folder list only: 1 + folder index of a subfolder row
    bool is_folder = false;         // shown with the closed-folder icon
    // Column 1's image in the shell's small image list, looked up when the row is first shown;
    // kIconNotLooked before that.
    std::int32_t icon = kIconNotLooked;

    static constexpr std::int32_t kIconNotLooked = -2;
};

// The rows of one list. Search results share one prefix ("A\B\") per folder level, so a result's
// path (column 1) is prefixes[path_prefix] followed by its name.
struct RowSet {
    std::vector<std::string> prefixes{std::string()};
    std::vector<FileRow> rows;
};

}  // namespace tov
