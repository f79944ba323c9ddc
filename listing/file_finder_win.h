// Enumerates the entries of one directory that match one wildcard pattern. Folders that match
// count like files.
#pragma once

#include <windows.h>

#include <string>

namespace tov {

class FileFinder {
  public:
    FileFinder(std::string directory, std::string pattern);
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
    std::string Path() const;

    const WIN32_FIND_DATAA& Entry() const { return entry_; }
    DWORD LastError() const { return last_error_; }

  private:
    std::string directory_;
    std::string pattern_;
    HANDLE search_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA entry_{};
    DWORD last_error_ = ERROR_SUCCESS;
};

}  // namespace tov
