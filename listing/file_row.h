// The rows of a file list (the folder list or the search results) and the folder levels of the
// result paths. A row is 16 bytes: where its name stands in the listing's text and which folder
// it belongs to. Every other cell is read from the row's line when it is shown, sorted or saved,
// so a search with ten million results holds 160 MB of rows, not copies of their texts.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "listing/file_line.h"

namespace tov {

// Offsets and lengths are 32-bit: a listing is below 4 GiB, so every byte of it has one.
struct FileRow {
    // A file row: its name is the start of its line, and the line goes on with "|size|date|status"
    // (or ends after the name).
    static constexpr std::uint32_t kFile = 0;
    // A folder row of the search results: its name is the end of its folder-open line.
    static constexpr std::uint32_t kFolder = std::numeric_limits<std::uint32_t>::max();

    std::uint32_t name_at = 0;      // byte offset of the name (column 1 after its folder path)
    std::uint32_t name_length = 0;  // bytes of the name
    std::uint32_t path_prefix = 0;  // the PathLevel of the row's folder; 0 is the empty path
    // kFile, kFolder, or for a subfolder row of the folder list 1 + its folder index.
    std::uint32_t kind = kFile;

    bool is_folder() const { return kind != kFile; }
    // Folder list only: 1 + folder index of a subfolder row, else 0.
    std::uint32_t subfolder() const { return kind == kFolder ? 0 : kind; }
};
static_assert(sizeof(FileRow) == 16, "a row is four 32-bit fields");

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

// The rows of one list, with the text they point into (the listing: lines ended by NUL). A
// result's path (column 1) is the path text of levels[path_prefix] followed by its name.
struct RowSet {
    std::string_view text;
    std::vector<PathLevel> levels{PathLevel{}};
    std::vector<FileRow> rows;
    // The StatusKind of each row, made with the rows where their lines are read anyway; a list
    // whose kinds do not match its rows in number reads them itself when it needs them.
    std::vector<StatusKind> status_kinds;

    static constexpr std::uint64_t kWhole = std::numeric_limits<std::uint64_t>::max();

    // A row for `name`, a view into `text` (an empty name may view nothing at all).
    FileRow RowOf(std::string_view name, std::uint32_t path_prefix, std::uint32_t kind) const {
        const std::uint32_t at =
            name.data() == nullptr ? 0 : static_cast<std::uint32_t>(name.data() - text.data());
        return {at, static_cast<std::uint32_t>(name.size()), path_prefix, kind};
    }

    // Appends `row`, whose check status (empty for a folder row) is of kind `status`.
    void Add(const FileRow& row, StatusKind status) {
        rows.push_back(row);
        status_kinds.push_back(status);
    }

    std::string_view Name(const FileRow& row) const {
        return row.name_at <= text.size() ? text.substr(row.name_at, row.name_length)
                                          : std::string_view{};
    }
    // The four fields of a file row as written in its line; a folder row has only its name.
    FileLineFields Fields(const FileRow& row) const;
    std::string_view Status(const FileRow& row) const { return Fields(row).status; }

    // Asks the processor for a row (stage 0) or, some steps later, for the start of its line
    // (stage 1): rows read in a shown order are read at random, and a million of them would
    // otherwise each wait for memory in turn.
    void Prefetch(std::uint32_t index, int stage) const {
        if (index >= rows.size()) {
            return;
        }
        if (stage == 0) {
            __builtin_prefetch(&rows[index]);
        } else if (rows[index].name_at < text.size()) {
            __builtin_prefetch(text.data() + rows[index].name_at);
        }
    }

    // Calls `visit(index)` for each index of `order` until it returns false, fetching rows and
    // lines ahead. Indexes past the rows are visited too.
    template <typename Visit>
    void VisitInOrder(std::span<const std::uint32_t> order, Visit&& visit) const {
        const std::size_t count = order.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (i + kRowsAhead < count) {
                Prefetch(order[i + kRowsAhead], 0);
            }
            if (i + kLinesAhead < count) {
                Prefetch(order[i + kLinesAhead], 1);
                // All of a line is read here, and it often runs into the next cache line.
                const std::uint32_t ahead = order[i + kLinesAhead];
                if (ahead < rows.size() && rows[ahead].name_at + std::size_t{64} < text.size()) {
                    __builtin_prefetch(text.data() + rows[ahead].name_at + 64);
                }
            }
            if (!visit(order[i])) {
                return;
            }
        }
    }
    static constexpr std::size_t kRowsAhead = 32;
    static constexpr std::size_t kLinesAhead = 16;

    // Adds the folder `name` inside `parent` (which must exist) and returns the new level.
    std::uint32_t AddLevel(std::uint32_t parent, std::string_view name);

    // Appends the first `limit` bytes of the path text of `level` (an unknown level has none).
    void AppendPath(std::string& out, std::uint32_t level, std::uint64_t limit = kWhole) const;
    std::uint64_t PathLength(std::uint32_t level) const {
        return level < levels.size() ? levels[level].length : 0;
    }
};

}  // namespace tov
