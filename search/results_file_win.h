// Saving search results: the CSV bytes go to a temporary file beside the target, which replaces
// the target only once every byte is written and the file is closed, so a failed or stopped save
// never leaves a half-written file or destroys what was there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "listing/file_handle_win.h"
#include "listing/file_row.h"
#include "search/csv_writer.h"

namespace tov {

// A save that can be spread over many steps. Failures raise Win32Error with the platform's code
// (std::bad_alloc when memory runs out); whenever the object goes away before the file was put
// in place, the temporary file goes with it and the target is as it was.
class ResultsFileSave {
  public:
    // Checks the target (a read-only file or a folder there is never replaced) and the room on
    // its disk, and creates the temporary file beside it. `path` is UTF-16: the name as the user
    // typed it. `rows` must outlive the save and stay as they are while it lasts.
    ResultsFileSave(std::wstring path, const RowSet& rows, std::vector<std::uint32_t> order);
    ~ResultsFileSave();
    ResultsFileSave(const ResultsFileSave&) = delete;
    ResultsFileSave& operator=(const ResultsFileSave&) = delete;

    // Writes blocks of rows while `go_on()` holds (at least one block), and once every row is
    // written closes the file and puts it in place. True when the file is in place.
    bool Continue(const std::function<bool()>& go_on);
    std::uint64_t bytes_written() const { return writer_.bytes_formatted(); }

  private:
    // Removes the temporary file unless it was moved into place.
    class TemporaryFile {
      public:
        explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
        ~TemporaryFile();
        TemporaryFile(const TemporaryFile&) = delete;
        TemporaryFile& operator=(const TemporaryFile&) = delete;

        const std::wstring& path() const { return path_; }
        void Release() { path_.clear(); }

      private:
        std::wstring path_;
    };

    std::wstring path_;
    std::vector<std::uint32_t> order_;
    CsvWriter writer_;
    TemporaryFile temporary_;
    FileHandle file_;  // closed before the temporary file is removed
    bool moved_ = false;
};

// The whole save in one step: true when the file was written to `path`. On false the temporary
// file is gone, an existing file at `path` is as it was and `error`, when given, receives the
// platform's code of the failure (0 when there is none to give).
bool SaveResultsFile(const std::wstring& path, const RowSet& rows,
                     std::span<const std::uint32_t> order, DWORD* error = nullptr);

}  // namespace tov
