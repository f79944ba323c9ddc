#include "search/results_file_win.h"

#include <windows.h>

#include <string_view>

#include "search/csv_writer.h"

namespace tov {
namespace {

class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool Close() {
        if (handle_ == INVALID_HANDLE_VALUE) {
            return true;
        }
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

// Removes the temporary file unless it was moved into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            DeleteFileA(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    void Release() { path_.clear(); }

  private:
    std::string path_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0 || (slash == 2 && path[1] == ':')) {
        return path.substr(0, slash + 1);  // the root of a drive keeps its backslash
    }
    return path.substr(0, slash);
}

}  // namespace

bool SaveResultsFile(const std::string& path, const RowSet& rows,
                     std::span<const std::uint32_t> order) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }

    // Results whose paths repeat deep folders can need far more room than the listing itself;
    // a file that cannot fit is refused before any of it is written.
    ULARGE_INTEGER available{};
    if (GetDiskFreeSpaceExA(FolderOf(path).c_str(), &available, nullptr, nullptr) &&
        CsvByteCount(rows, order) > available.QuadPart) {
        return false;
    }

    char temporary_path[MAX_PATH] = {};
    if (GetTempFileNameA(FolderOf(path).c_str(), "tov", 0, temporary_path) == 0) {
        return false;
    }
    TemporaryFile temporary(temporary_path);

    FileHandle file(CreateFileA(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        return false;
    }
    const bool written = WriteCsv(
        rows, order, [&file](std::string_view chunk) { return WriteAll(file.get(), chunk); });
    if (!written || !file.Close()) {
        return false;
    }
    if (!MoveFileExA(temporary.path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return false;
    }
    temporary.Release();
    return true;
}

}  // namespace tov
