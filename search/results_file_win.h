// Saving search results: the CSV bytes go to a temporary file beside the target, which replaces
// the target only once every byte is written and the file is closed, so a failed save never
// leaves a half-written file or destroys what was there.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "listing/file_row.h"

namespace tov {

// True when the whole file was written to `path`. On false the temporary file is gone and an
// existing file at `path` is as it was; a read-only file or a folder there is never replaced.
bool SaveResultsFile(const std::string& path, const RowSet& rows,
                     std::span<const std::uint32_t> order);

}  // namespace tov
