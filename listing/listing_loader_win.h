// Reading a listing file into a ListingDocument. Every failure is raised as the Win32 error
// code that describes it, so that the caller reports all of them in one place.
#pragma once

#include <windows.h>

#include <string>

#include "listing/file_handle_win.h"
#include "listing/listing_document.h"

namespace tov {

// Codes the loader raises on its own, besides those the platform reports.
inline constexpr DWORD kErrorFileTooLarge = ERROR_NOT_SUPPORTED;       // 50
inline constexpr DWORD kErrorNoMemory = ERROR_OUTOFMEMORY;             // 14
inline constexpr DWORD kErrorInvalidListing = ERROR_INVALID_DATATYPE;  // 1804
// ReadFile succeeded but delivered fewer bytes than the size (the file shrank meanwhile).
inline constexpr DWORD kErrorShortRead = ERROR_HANDLE_EOF;  // 38

// Opens the file without sharing it, reads it whole with one read into one allocation,
// verifies its length and digest and turns it into a document. A file whose digest digits are
// not hexadecimal is refused before it is read. Throws Win32Error; the file is closed on every
// path.
ListingDocument ReadListingFile(const std::wstring& path);

}  // namespace tov
