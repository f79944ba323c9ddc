#include "search/csv_writer.h"

#include <cstring>

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
    const std::string_view prefix = row.path_prefix < rows.prefixes.size()
                                        ? std::string_view(rows.prefixes[row.path_prefix])
                                        : std::string_view();
    if (row.is_folder) {
        AppendCsvLine(out, {}, prefix, row.name, {}, {});
    } else {
        AppendCsvLine(out, row.status, prefix, row.name, row.size, row.date);
    }
}

bool WriteCsv(const RowSet& rows, std::span<const std::uint32_t> order,
              const std::function<bool(std::string_view)>& write, std::size_t chunk_bytes) {
    std::string chunk;
    chunk.reserve(chunk_bytes + 1024);
    for (const std::uint32_t index : order) {
        if (index >= rows.rows.size()) {
            continue;
        }
        AppendCsvRow(chunk, rows, rows.rows[index]);
        if (chunk.size() >= chunk_bytes) {
            if (!write(chunk)) {
                return false;
            }
            chunk.clear();
        }
    }
    return chunk.empty() || write(chunk);
}

}  // namespace tov
