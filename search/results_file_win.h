// Saving search results: the CSV bytes go to a temporary file beside the target, which replaces
// the target only once every byte is written and the file is closed, so a failed save never
// leaves a half-written file or destroys what was there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "listing/file_row.h"

namespace tov {

// True when the whole file was written to `path` (UTF-16: the name as the user typed it). On
// false the temporary file is gone, an existing file at `path` is as it was (a read-only file or
// a folder there is never replaced) and `error`, when given, receives the platform's code of
// the failure (0 when there is none to give).
bool SaveResultsFile(const std::wstring& path, const RowSet& rows,
                     std::span<const std::uint32_t> order, DWORD* error = nullptr);

}  // namespace tov
