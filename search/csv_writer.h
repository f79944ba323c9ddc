// The search results as a semicolon-separated file: one line per row, four quoted fields
// (check status, path, size, date), CR LF line ends, the listing's bytes as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

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

// Writes the rows in the given order through `write`, in chunks of about `chunk_bytes`. Stops and
// returns false as soon as `write` does.
bool WriteCsv(const RowSet& rows, std::span<const std::uint32_t> order,
              const std::function<bool(std::string_view)>& write,
              std::size_t chunk_bytes = std::size_t{1} << 20);

}  // namespace tov
