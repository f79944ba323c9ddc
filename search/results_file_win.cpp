#include "search/results_file_win.h"

#include <windows.h>

#include <string_view>
#include <utility>

namespace tov {
namespace {

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

// Checks the target and the room for the file, then creates the temporary file beside the
// target and returns its name.
std::wstring PrepareTemporaryFile(const std::wstring& path, const RowSet& rows,
                                  std::span<const std::uint32_t> order) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        throw Win32Error(ERROR_ACCESS_DENIED);
    }

    // Results whose paths repeat deep folders can need far more room than the listing itself;
    // a file that cannot fit is refused before any of it is written. The exact count reads
    // every line, so it is made only when a bound found without them does not fit; a disk that
    // fills up meanwhile fails the write, which removes what was written.
    const std::wstring folder = FolderOf(path);
    ULARGE_INTEGER available{};
    if (GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) &&
        CsvByteBound(rows, order) > available.QuadPart &&
        CsvByteCount(rows, order) > available.QuadPart) {
        throw Win32Error(ERROR_DISK_FULL);
    }

    wchar_t temporary_path[MAX_PATH] = {};
    if (GetTempFileNameW(folder.c_str(), L"tov", 0, temporary_path) == 0) {
        throw Win32Error(GetLastError());
    }
    return temporary_path;
}

}  // namespace

ResultsFileSave::TemporaryFile::~TemporaryFile() {
    if (!path_.empty()) {
        DeleteFileW(path_.c_str());
    }
}

ResultsFileSave::ResultsFileSave(std::wstring path, const RowSet& rows,
                                 std::vector<std::uint32_t> order)
    : path_(std::move(path)),
      order_(std::move(order)),
      writer_(rows, order_),
      temporary_(PrepareTemporaryFile(path_, rows, order_)),
      file_(temporary_.path(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL) {}

ResultsFileSave::~ResultsFileSave() = default;

bool ResultsFileSave::Continue(const std::function<bool()>& go_on) {
    if (moved_) {
        return true;
    }
    const CsvWriter::Write write = [this](std::string_view chunk) {
        file_.Write(chunk);
        return true;
    };
    do {
        if (!writer_.done() && !writer_.WriteBlock(write)) {
            throw Win32Error(ERROR_WRITE_FAULT);
        }
    } while (!writer_.done() && go_on());
    if (!writer_.done()) {
        return false;
    }
    file_.Close();
    if (!MoveFileExW(temporary_.path().c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        throw Win32Error(GetLastError());
    }
    temporary_.Release();
    moved_ = true;
    return true;
}

bool SaveResultsFile(const std::wstring& path, const RowSet& rows,
                     std::span<const std::uint32_t> order, DWORD* error) {
    try {
        ResultsFileSave save(path, rows, std::vector<std::uint32_t>(order.begin(), order.end()));
        save.Continue([] { return true; });
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
