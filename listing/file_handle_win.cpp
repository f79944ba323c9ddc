#include "listing/file_handle_win.h"

#include <utility>

namespace tov {

FileHandle::FileHandle(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                       DWORD attributes)
    : handle_(CreateFileW(path.c_str(), access, share, nullptr, disposition, attributes, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) {
        throw Win32Error(GetLastError());
    }
}

FileHandle::~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
    }
}

std::uint64_t FileHandle::Size() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size)) {
        throw Win32Error(GetLastError());
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

void FileHandle::Seek(std::uint64_t offset) const {
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(handle_, distance, nullptr, FILE_BEGIN)) {
        throw Win32Error(GetLastError());
    }
}

DWORD FileHandle::Read(void* buffer, DWORD length) const {
    DWORD read = 0;
    if (!ReadFile(handle_, buffer, length, &read, nullptr)) {
        throw Win32Error(GetLastError());
    }
    return read;
}

void FileHandle::Write(std::string_view bytes) const {
    constexpr std::size_t kChunk = 0x40000000u;
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(bytes.size() > kChunk ? kChunk : bytes.size());
        DWORD written = 0;
        if (!WriteFile(handle_, bytes.data(), chunk, &written, nullptr)) {
            throw Win32Error(GetLastError());
        }
        if (written == 0) {
            throw Win32Error(ERROR_WRITE_FAULT);
        }
        bytes.remove_prefix(written);
    }
}

void FileHandle::Close() {
    const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
    if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle)) {
        throw Win32Error(GetLastError());
    }
}

std::wstring WideFromAnsi(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
    }
    return wide;
}

}  // namespace tov
