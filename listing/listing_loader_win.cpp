#include "listing/listing_loader_win.h"

#include <memory>
#include <new>
#include <utility>

#include "listing/listing_digest.h"

namespace tov {
namespace {

// The open file. Close() reports a failing CloseHandle; on any other way out the handle is
// closed quietly, because an error is already on its way.
class OpenFile {
  public:
    explicit OpenFile(HANDLE handle) : handle_(handle) {}
    ~OpenFile() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    HANDLE get() const { return handle_; }

    void Close() {
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        if (!CloseHandle(handle)) {
            throw Win32Error(GetLastError());
        }
    }

  private:
    HANDLE handle_;
};

}  // namespace

ListingDocument ReadListingFile(const char* path) {
    // Share mode 0: nobody may write the listing while it is being read and verified.
    OpenFile file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        throw Win32Error(GetLastError());
    }

    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        throw Win32Error(GetLastError());
    }
    // The buffer needs one byte more than the file and offsets are 32-bit: the largest file
    // accepted has 4294967294 bytes.
    if (size.HighPart != 0 || size.LowPart == 0xFFFFFFFFu) {
        throw Win32Error(kErrorFileTooLarge);
    }
    const DWORD length = size.LowPart;

    std::unique_ptr<char[]> buffer;
    try {
        buffer = std::make_unique_for_overwrite<char[]>(std::size_t{length} + 1);
    } catch (const std::bad_alloc&) {
        throw Win32Error(kErrorNoMemory);
    }

    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.get(), length, &read, nullptr)) {
        throw Win32Error(GetLastError());
    }
    if (read != length) {
        throw Win32Error(kErrorShortRead);
    }

    if (length < kDigestLineLength || !VerifyListingDigest(buffer.get(), length)) {
        throw Win32Error(kErrorInvalidListing);
    }

    ListingDocument document = ListingDocument::FromFileBytes(std::move(buffer), length);
    file.Close();
    return document;
}

}  // namespace tov
