// Reading a listing file into a ListingDocument. Every failure is raised as the Win32 error
// code that describes it, so that the caller reports all of them in one place.
#pragma once

#include <windows.h>

#include "listing/listing_document.h"

namespace tov {

// Codes the loader raises on its own, besides those the platform reports.
inline constexpr DWORD kErrorFileTooLarge = ERROR_NOT_SUPPORTED;       // 50
inline constexpr DWORD kErrorNoMemory = ERROR_OUTOFMEMORY;             // 14
inline constexpr DWORD kErrorInvalidListing = ERROR_INVALID_DATATYPE;  // 1804
// ReadFile succeeded but delivered fewer bytes than the size (the file shrank meanwhile).
inline constexpr DWORD kErrorShortRead = ERROR_HANDLE_EOF;  // 38

class Win32Error {
  public:
    explicit Win32Error(DWORD code) : code_(code) {}
    DWORD code() const { return code_; }

  private:
    DWORD code_;
};

// Opens the file without sharing it, reads it whole with one read into one allocation,
// verifies its length and digest and turns it into a document. Throws Win32Error; the file is
// closed on every path.
ListingDocument ReadListingFile(const char* path);

}  // namespace tov
