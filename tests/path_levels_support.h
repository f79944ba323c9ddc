// Rows for tests: result paths written as text, and rows over a text of their own.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "listing/file_row.h"

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

// Rows whose lines are written into one text as a loaded listing holds them (each ended by a
// NUL), and the path levels they stand in. Movable: the texts stay where they are.
struct RowsBuilder {
    std::unique_ptr<std::string> text = std::make_unique<std::string>();
    std::deque<std::string> store;  // level names: stable addresses, short strings included
    RowSet set;

    std::string_view Keep(std::string name) {
        store.push_back(std::move(name));
        return store.back();
    }
    // The levels of a path written as text ("C:\B\"); the last is returned.
    std::uint32_t Path(std::string path) { return AddPathLevels(set, Keep(std::move(path))); }

    // A file row: its line "name|size|date|status".
    RowsBuilder& File(std::string_view name, std::string_view size = "", std::string_view date = "",
                      std::string_view status = "", std::uint32_t level = 0) {
        return Add(std::string(name) + "|" + std::string(size) + "|" + std::string(date) + "|" +
                       std::string(status),
                   name.size(), level, FileRow::kFile);
    }
    // A folder row: a result folder (FileRow::kFolder) or a subfolder row (1 + folder index).
    RowsBuilder& Folder(std::string_view name, std::uint32_t kind = FileRow::kFolder,
                        std::uint32_t level = 0) {
        return Add(std::string(name), name.size(), level, kind);
    }

  private:
    RowsBuilder& Add(const std::string& line, std::size_t name_length, std::uint32_t level,
                     std::uint32_t kind) {
        const std::size_t at = text->size();
        text->append(line).push_back('\0');
        set.text = *text;
        set.rows.push_back(
            {static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(name_length), level, kind});
        return *this;
    }
};

}  // namespace tov::test
