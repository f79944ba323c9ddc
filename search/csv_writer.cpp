#include "search/csv_writer.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tov {
namespace {

void AppendEscaped(std::string& out, std::string_view field) {
    while (!field.empty()) {
        const void* quote = std::memchr(field.data(), '"', field.size());
        if (quote == nullptr) {
            out.append(field);
            return;
        }
        const std::size_t length = static_cast<const char*>(quote) - field.data() + 1;
        out.append(field.data(), length);
        out += '"';
        field.remove_prefix(length);
    }
}

void AppendRowLine(std::string& out, const RowSet& rows, const FileRow& row,
                   std::string_view path) {
    const FileLineFields fields = rows.Fields(row);
    AppendCsvLine(out, fields.status, path, fields.name, fields.size, fields.date);
}

std::uint64_t QuotedBytes(std::string_view field) {
    return field.size() + static_cast<std::uint64_t>(std::count(field.begin(), field.end(), '"'));
}

// The path text of every level, built once when together they are not large beside the listing:
// rows saved in an order of their own (by size, say) change folder at nearly every row, and
// building a path walks up its levels through memory at random. A deep chain of levels, whose
// paths together grow with the square of its depth, keeps building them row by row.
class LevelPaths {
  public:
    explicit LevelPaths(const RowSet& rows) {
        std::uint64_t total = 0;
        for (const PathLevel& level : rows.levels) {
            total += level.length;
        }
        const std::uint64_t bound = std::max<std::uint64_t>(rows.text.size() / 8, 1u << 24);
        if (total > bound) {
            return;
        }
        text_.reserve(static_cast<std::size_t>(total));
        starts_.resize(rows.levels.size(), 0);
        for (std::size_t i = 1; i < rows.levels.size(); ++i) {
            const PathLevel& level = rows.levels[i];
            if (level.parent >= i) {
                text_.clear();
                starts_.clear();
                return;
            }
            starts_[i] = text_.size();
            // Within the room reserved above: the parent's text stays where it is.
            text_.append(text_.data() + starts_[level.parent],
                         static_cast<std::size_t>(rows.levels[level.parent].length));
            text_.append(level.name);
            text_ += '\\';
        }
        levels_ = &rows.levels;
    }

    bool has_all() const { return levels_ != nullptr; }
    std::string_view Path(std::uint32_t level) const {
        if (level >= starts_.size()) {
            return {};
        }
        return std::string_view(text_).substr(starts_[level],
                                              static_cast<std::size_t>((*levels_)[level].length));
    }

  private:
    std::string text_;
    std::vector<std::size_t> starts_;
    const std::vector<PathLevel>* levels_ = nullptr;
};

}  // namespace

void AppendCsvLine(std::string& out, std::string_view status, std::string_view path_prefix,
                   std::string_view name, std::string_view size, std::string_view date) {
    out += '"';
    AppendEscaped(out, status);
    out += "\";\"";
    AppendEscaped(out, path_prefix);
    AppendEscaped(out, name);
    out += "\";\"";
    AppendEscaped(out, size);
    out += "\";\"";
    AppendEscaped(out, date);
    out += "\"\r\n";
}

void AppendCsvRow(std::string& out, const RowSet& rows, const FileRow& row) {
    std::string path;
    rows.AppendPath(path, row.path_prefix);
    AppendRowLine(out, rows, row, path);
}

std::uint64_t CsvByteCount(const RowSet& rows, std::span<const std::uint32_t> order) {
    // A level's path bytes as written, doubled quotes included; parents come before children.
    std::vector<std::uint64_t> path_bytes(rows.levels.size(), 0);
    for (std::size_t i = 1; i < rows.levels.size(); ++i) {
        const PathLevel& level = rows.levels[i];
        path_bytes[i] = path_bytes[level.parent] + QuotedBytes(level.name) + 1;
    }
    constexpr std::uint64_t kFraming = 4 * 2 + 3 + 2;  // quotes, semicolons and CR LF
    auto row_bytes = [&](const FileRow& row) {
        const FileLineFields fields = rows.Fields(row);
        return kFraming + QuotedBytes(fields.name) + QuotedBytes(fields.status) +
               QuotedBytes(fields.size) + QuotedBytes(fields.date) +
               (row.path_prefix < path_bytes.size() ? path_bytes[row.path_prefix] : 0);
    };
    // The order a list shows holds every row once: then the rows are summed as they lie, which
    // reads the listing from start to end rather than at random.
    if (order.size() == rows.rows.size()) {
        std::vector<bool> seen(rows.rows.size(), false);
        bool every_row_once = true;
        for (const std::uint32_t index : order) {
            if (index >= seen.size() || seen[index]) {
                every_row_once = false;
                break;
            }
            seen[index] = true;
        }
        if (every_row_once) {
            std::uint64_t total = 0;
            for (const FileRow& row : rows.rows) {
                total += row_bytes(row);
            }
            return total;
        }
    }
    std::uint64_t total = 0;
    rows.VisitInOrder(order, [&](std::uint32_t index) {
        if (index < rows.rows.size()) {
            total += row_bytes(rows.rows[index]);
        }
        return true;
    });
    return total;
}

bool WriteCsv(const RowSet& rows, std::span<const std::uint32_t> order,
              const std::function<bool(std::string_view)>& write, std::size_t chunk_bytes) {
    std::string chunk;
    chunk.reserve(chunk_bytes + 1024);
    const LevelPaths paths(rows);
    // Without every path at hand, rows in a row mostly share their folder, so its path text is
    // built once for the run.
    std::string path;
    std::uint32_t path_level = 0;
    bool failed = false;
    rows.VisitInOrder(order, [&](std::uint32_t index) {
        if (index >= rows.rows.size()) {
            return true;
        }
        const FileRow& row = rows.rows[index];
        if (paths.has_all()) {
            AppendRowLine(chunk, rows, row, paths.Path(row.path_prefix));
        } else {
            if (row.path_prefix != path_level) {
                path_level = row.path_prefix;
                path.clear();
                rows.AppendPath(path, path_level);
            }
            AppendRowLine(chunk, rows, row, path);
        }
        if (chunk.size() >= chunk_bytes) {
            failed = !write(chunk);
            chunk.clear();
        }
        return !failed;
    });
    return !failed && (chunk.empty() || write(chunk));
}

}  // namespace tov
