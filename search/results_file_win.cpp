#include "search/results_file_win.h"

#include <windows.h>

#include <string_view>
#include <utility>

#include "listing/file_handle_win.h"

#include "search/csv_writer.h"

namespace tov {
namespace {

// Removes the temporary file unless it was moved into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            DeleteFileW(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& path() const { return path_; }
    void Release() { path_.clear(); }

  private:
    std::wstring path_;
};

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return L".";
    }
    if (slash == 0 || (slash == 2 && path[1] == L':')) {
        return path.substr(0, slash + 1);  // the root of a drive keeps its backslash
    }
    return path.substr(0, slash);
}

void WriteResults(const std::wstring& path, const RowSet& rows,
                  std::span<const std::uint32_t> order) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        throw Win32Error(ERROR_ACCESS_DENIED);
    }

    // Results whose paths repeat deep folders can need far more room than the listing itself;
    // a file that cannot fit is refused before any of it is written.
    const std::wstring folder = FolderOf(path);
    ULARGE_INTEGER available{};
    if (GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) &&
        CsvByteCount(rows, order) > available.QuadPart) {
        throw Win32Error(ERROR_DISK_FULL);
    }

    wchar_t temporary_path[MAX_PATH] = {};
    if (GetTempFileNameW(folder.c_str(), L"tov", 0, temporary_path) == 0) {
        throw Win32Error(GetLastError());
    }
    TemporaryFile temporary(temporary_path);

    FileHandle file(temporary.path(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    const bool written = WriteCsv(rows, order, [&file](std::string_view chunk) {
        file.Write(chunk);
        return true;
    });
    if (!written) {
        throw Win32Error(ERROR_WRITE_FAULT);
    }
    file.Close();
    if (!MoveFileExW(temporary.path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        throw Win32Error(GetLastError());
    }
    temporary.Release();
}

}  // namespace

bool SaveResultsFile(const std::wstring& path, const RowSet& rows,
                     std::span<const std::uint32_t> order, DWORD* error) {
    try {
        WriteResults(path, rows, order);
    } catch (const Win32Error& failure) {
        if (error != nullptr) {
            *error = failure.code();
        }
        return false;
    }
    if (error != nullptr) {
        *error = ERROR_SUCCESS;
    }
    return true;
}

}  // namespace tov
