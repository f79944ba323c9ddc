#include "search/csv_writer.h"

#include <algorithm>
#include <vector>

#include "listing/byte_scan.h"

namespace tov {
namespace {

void AppendEscaped(std::string& out, std::string_view field) {
    while (!field.empty()) {
        const char* quote = FindByte(field.data(), field.size(), '"');
        if (quote == nullptr) {
            out.append(field);
            return;
        }
        const std::size_t length = static_cast<std::size_t>(quote - field.data()) + 1;
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

}  // namespace

// The path text of every level, built once when together they are not large beside the listing:
// rows saved in an order of their own (by size, say) change folder at nearly every row, and
// building a path walks up its levels through memory at random. A deep chain of levels, whose
// paths together grow with the square of its depth, keeps building them row by row.
class CsvWriter::LevelPaths {
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

namespace {

// Whether an order holds every row once, as the order a list shows does.
bool HoldsEveryRowOnce(const RowSet& rows, std::span<const std::uint32_t> order) {
    if (order.size() != rows.rows.size()) {
        return false;
    }
    std::vector<bool> seen(rows.rows.size(), false);
    for (const std::uint32_t index : order) {
        if (index >= seen.size() || seen[index]) {
            return false;
        }
        seen[index] = true;
    }
    return true;
}

constexpr std::uint64_t kFraming = 4 * 2 + 3 + 2;  // quotes, semicolons and CR LF

}  // namespace

std::uint64_t CsvByteCount(const RowSet& rows, std::span<const std::uint32_t> order) {
    // A level's path bytes as written, doubled quotes included; parents come before children.
    std::vector<std::uint64_t> path_bytes(rows.levels.size(), 0);
    for (std::size_t i = 1; i < rows.levels.size(); ++i) {
        const PathLevel& level = rows.levels[i];
        path_bytes[i] = path_bytes[level.parent] + QuotedBytes(level.name) + 1;
    }
    auto row_bytes = [&](const FileRow& row) {
        const FileLineFields fields = rows.Fields(row);
        return kFraming + QuotedBytes(fields.name) + QuotedBytes(fields.status) +
               QuotedBytes(fields.size) + QuotedBytes(fields.date) +
               (row.path_prefix < path_bytes.size() ? path_bytes[row.path_prefix] : 0);
    };
    // The order a list shows holds every row once: then the rows are summed as they lie, which
    // reads the listing from start to end rather than at random.
    if (HoldsEveryRowOnce(rows, order)) {
        std::uint64_t total = 0;
        for (const FileRow& row : rows.rows) {
            total += row_bytes(row);
        }
        return total;
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

std::uint64_t CsvByteBound(const RowSet& rows, std::span<const std::uint32_t> order) {
    if (!HoldsEveryRowOnce(rows, order)) {
        return CsvByteCount(rows, order);
    }
    // Each row's fields lie in its own line of the text, every byte at most doubled; a path is
    // at most doubled too.
    std::uint64_t total = 2 * std::uint64_t{rows.text.size()};
    for (const FileRow& row : rows.rows) {
        total += kFraming + 2 * rows.PathLength(row.path_prefix);
    }
    return total;
}

CsvWriter::CsvWriter(const RowSet& rows, std::span<const std::uint32_t> order,
                     std::size_t chunk_bytes)
    : rows_(rows),
      order_(order),
      chunk_bytes_(std::max<std::size_t>(chunk_bytes, 1)),
      paths_(std::make_unique<LevelPaths>(rows)) {}

CsvWriter::~CsvWriter() = default;

void CsvWriter::AppendRow(std::string& out, const FileRow& row) {
    const std::size_t before = out.size();
    if (paths_->has_all()) {
        AppendRowLine(out, rows_, row, paths_->Path(row.path_prefix));
    } else {
        // Without every path at hand, rows near each other mostly share their folder, so its
        // path text is built once for the run.
        if (row.path_prefix != path_level_) {
            path_level_ = row.path_prefix;
            path_.clear();
            rows_.AppendPath(path_, path_level_);
        }
        AppendRowLine(out, rows_, row, path_);
    }
    bytes_formatted_ += out.size() - before;
}

bool CsvWriter::Flush(const Write& write, bool all) {
    if (failed_) {
        return false;
    }
    if (pending_.size() >= chunk_bytes_ || (all && !pending_.empty())) {
        failed_ = !write(pending_);
        pending_.clear();
    }
    return !failed_;
}

bool CsvWriter::WriteBlock(const Write& write) {
    // A block is bounded in rows, and in bytes as far as its paths and names tell beforehand
    // (a deep folder's path can be long); the other fields of a line are never longer than it.
    constexpr std::size_t kBlockRows = std::size_t{1} << 16;
    constexpr std::uint64_t kBlockBytes = std::uint64_t{8} << 20;
    constexpr std::uint64_t kFieldsGuess = 64;
    if (failed_) {
        return false;
    }
    const std::size_t begin = next_;
    std::size_t end = begin;
    std::uint64_t guess = 0;
    keys_.clear();
    while (end < order_.size() && end - begin < kBlockRows && guess < kBlockBytes) {
        if (end + RowSet::kRowsAhead < order_.size()) {
            rows_.Prefetch(order_[end + RowSet::kRowsAhead], 0);
        }
        const std::uint32_t index = order_[end];
        if (index < rows_.rows.size()) {
            const FileRow& row = rows_.rows[index];
            guess += rows_.PathLength(row.path_prefix) + row.name_length + kFieldsGuess;
            keys_.push_back(std::uint64_t{index} << 32 | (end - begin));
        }
        ++end;
    }
    next_ = end;

    // Already in the order the rows lie (the rows as found, or a block of them), the lines go
    // out as they are made.
    const bool in_listing_order = std::is_sorted(keys_.begin(), keys_.end());
    if (!in_listing_order) {
        std::sort(keys_.begin(), keys_.end());
    }
    indexes_.resize(keys_.size());
    std::transform(keys_.begin(), keys_.end(), indexes_.begin(),
                   [](std::uint64_t key) { return static_cast<std::uint32_t>(key >> 32); });
    if (in_listing_order) {
        rows_.VisitInOrder(indexes_, [&](std::uint32_t index) {
            AppendRow(pending_, rows_.rows[index]);
            return Flush(write, false);
        });
        return Flush(write, next_ >= order_.size());
    }

    // Where each place's line stands in `lines_`; a place without a row keeps an empty one.
    spans_.assign(end - begin, {0, 0});
    lines_.clear();
    std::size_t visited = 0;
    rows_.VisitInOrder(indexes_, [&](std::uint32_t index) {
        const std::size_t start = lines_.size();
        AppendRow(lines_, rows_.rows[index]);
        spans_[static_cast<std::uint32_t>(keys_[visited++])] = {start, lines_.size()};
        return true;
    });
    for (const auto& [start, line_end] : spans_) {
        pending_.append(lines_, start, line_end - start);
        if (!Flush(write, false)) {
            return false;
        }
    }
    return Flush(write, next_ >= order_.size());
}

bool WriteCsv(const RowSet& rows, std::span<const std::uint32_t> order,
              const std::function<bool(std::string_view)>& write, std::size_t chunk_bytes) {
    CsvWriter writer(rows, order, chunk_bytes);
    while (!writer.done()) {
        if (!writer.WriteBlock(write)) {
            return false;
        }
    }
    return true;
}

}  // namespace tov
