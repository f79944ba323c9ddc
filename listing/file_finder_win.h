// Enumerates the entries of one directory that match one wildcard pattern. Folders that match
// count like files. Names are UTF-16, so that a folder or listing whose name the ANSI code page
// cannot spell is still found and opened.
#pragma once

#include <windows.h>

#include <string>

namespace tov {

class FileFinder {
  public:
    FileFinder(std::wstring directory, std::wstring pattern);
    ~FileFinder();
    FileFinder(const FileFinder&) = delete;
    FileFinder& operator=(const FileFinder&) = delete;

    // Starts the search on the first call (or after Reset), continues it afterwards. False
    // when there is no further entry or the search could not start; LastError() then holds
    // the platform's code.
    bool Next();

    // Calls Next until it fails and returns how many entries it found.
    unsigned Count();

    // Closes the search, so that the next call of Next starts again from the first entry.
    void Reset();

    // "directory\name" of the entry found last.
    std::wstring Path() const;

    const WIN32_FIND_DATAW& Entry() const { return entry_; }
    DWORD LastError() const { return last_error_; }

  private:
    std::wstring directory_;
    std::wstring pattern_;
    HANDLE search_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW entry_{};
    DWORD last_error_ = ERROR_SUCCESS;
};

}  // namespace tov
