// The program's one way of holding an open file: a handle that is closed on every way out, whose
// operations raise the Win32 error code of a failure (Win32Error), so that each caller reports
// all of its failures in one place. Names are UTF-16: a file is found by the name the user typed
// or picked, whatever the ANSI code page can spell.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tov {

class Win32Error {
  public:
    explicit Win32Error(DWORD code) : code_(code) {}
    DWORD code() const { return code_; }

  private:
    DWORD code_;
};

class FileHandle {
  public:
    // CreateFileW with no security attributes and no template; raises the platform's code.
    FileHandle(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
               DWORD attributes);
    // Closed quietly: an error is already on its way, or Close() reported the closing.
    ~FileHandle();
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return handle_; }

    std::uint64_t Size() const;
    // Moves the file pointer to `offset` from the start.
    void Seek(std::uint64_t offset) const;
    // One ReadFile of up to `length` bytes; returns how many came.
    DWORD Read(void* buffer, DWORD length) const;
    // Writes all of `bytes`, in chunks of at most 1 GiB.
    void Write(std::string_view bytes) const;
    // Closes the file and raises a failing CloseHandle.
    void Close();

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A name in the ANSI code page (as 8-bit texts are) as UTF-16, for the calls that take names.
std::wstring WideFromAnsi(std::string_view text);

}  // namespace tov
