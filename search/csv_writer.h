// The search results as a semicolon-separated file: one line per row, four quoted fields
// (check status, path, size, date), CR LF line ends, the listing's bytes as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "listing/file_row.h"

namespace tov {

// Appends one line. A double quote inside a field is written twice, so that readers of the file
// find the field's end; every other byte is written as it stands.
void AppendCsvLine(std::string& out, std::string_view status, std::string_view path_prefix,
                   std::string_view name, std::string_view size, std::string_view date);

// Appends the line of one row; a folder has an empty status, size and date.
void AppendCsvRow(std::string& out, const RowSet& rows, const FileRow& row);

// The exact number of bytes WriteCsv writes for these rows, found without building any path.
std::uint64_t CsvByteCount(const RowSet& rows, std::span<const std::uint32_t> order);

// At least as many bytes as WriteCsv writes for rows of distinct lines (as a search gives), found
// without reading any line when the order holds every row once; otherwise the exact count.
std::uint64_t CsvByteBound(const RowSet& rows, std::span<const std::uint32_t> order);

// Writes rows in a given order as lines, a block of rows at a time, so that a long save can be
// spread over many steps. Rows shown in an order of their own (by status, say) lie at random in
// the listing: each block's rows are read in the order they lie there, each line formatted into
// its place, and the block then written in the given order. The bytes are those of AppendCsvRow
// for each row in turn; indexes past the rows are skipped.
class CsvWriter {
  public:
    using Write = std::function<bool(std::string_view)>;

    // `rows` and `order` must outlive the writer and stay as they are while it writes.
    CsvWriter(const RowSet& rows, std::span<const std::uint32_t> order,
              std::size_t chunk_bytes = std::size_t{1} << 20);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    // Formats the next block of rows and passes its bytes to `write` in chunks of about
    // `chunk_bytes` (the last of all may be shorter). False, and nothing more written, once
    // `write` returned false.
    bool WriteBlock(const Write& write);
    bool done() const { return next_ >= order_.size() && pending_.empty(); }
    // The bytes formatted so far.
    std::uint64_t bytes_formatted() const { return bytes_formatted_; }

  private:
    class LevelPaths;

    void AppendRow(std::string& out, const FileRow& row);
    bool Flush(const Write& write, bool all);

    const RowSet& rows_;
    std::span<const std::uint32_t> order_;
    std::size_t chunk_bytes_;
    std::size_t next_ = 0;  // the first position not yet formatted
    std::uint64_t bytes_formatted_ = 0;
    bool failed_ = false;
    std::unique_ptr<const LevelPaths> paths_;
    std::string path_;  // the path text of path_level_, when not every path is at hand
    std::uint32_t path_level_ = 0;
    std::vector<std::uint64_t> keys_;     // index << 32 | place in the block
    std::vector<std::uint32_t> indexes_;  // the block's rows as they lie in the listing
    std::vector<std::pair<std::size_t, std::size_t>> spans_;  // each place's line in lines_
    std::string lines_;                                       // a block's lines in listing order
    std::string pending_;                                     // bytes not yet passed to `write`
};

// Writes the rows in the given order through `write`, in chunks of about `chunk_bytes`. Stops and
// returns false as soon as `write` does.
bool WriteCsv(const RowSet& rows, std::span<const std::uint32_t> order,
              const std::function<bool(std::string_view)>& write,
              std::size_t chunk_bytes = std::size_t{1} << 20);

}  // namespace tov
