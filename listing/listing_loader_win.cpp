#include "listing/listing_loader_win.h"

#include <memory>
#include <new>
#include <utility>

#include "listing/listing_digest.h"

namespace tov {

ListingDocument ReadListingFile(const std::wstring& path) {
    // Share mode 0: nobody may write the listing while it is being read and verified.
    FileHandle file(path, GENERIC_READ, 0, OPEN_EXISTING, 0);
    const std::uint64_t size = file.Size();
    // The buffer needs one byte more than the file and offsets are 32-bit: the largest file
    // accepted has 4294967294 bytes.
    if (size >= 0xFFFFFFFFu) {
        throw Win32Error(kErrorFileTooLarge);
    }
    const auto length = static_cast<DWORD>(size);
    if (length < kDigestLineLength) {
        throw Win32Error(kErrorInvalidListing);
    }

    // Digits that no digest can equal refuse the file at once, whatever its size.
    char digits[kDigestDigits];
    file.Seek(length - kDigestDigitsFromEnd);
    if (file.Read(digits, kDigestDigits) != kDigestDigits) {
        throw Win32Error(kErrorShortRead);
    }
    if (!CouldBeDigestDigits(digits)) {
        throw Win32Error(kErrorInvalidListing);
    }
    file.Seek(0);

    std::unique_ptr<char[]> buffer;
    try {
        buffer = std::make_unique_for_overwrite<char[]>(std::size_t{length} + 1);
    } catch (const std::bad_alloc&) {
        throw Win32Error(kErrorNoMemory);
    }
    if (file.Read(buffer.get(), length) != length) {
        throw Win32Error(kErrorShortRead);
    }
    if (!VerifyListingDigest(buffer.get(), length)) {
        throw Win32Error(kErrorInvalidListing);
    }

    ListingDocument document = ListingDocument::FromFileBytes(std::move(buffer), length);
    file.Close();
    return document;
}

}  // namespace tov
