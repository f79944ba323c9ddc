// The fixed table of search classes: a display string and the expression a class searches with.
#pragma once

#include <array>
#include <cstdint>

namespace tov {

struct FileTypeClass {
    std::uint16_t display_text_id;  // string-table entry, loaded in the interface language
    const char* expression;         // lives as long as the program; entries refer to it
};

inline constexpr std::size_t kFileTypeClassCount = 10;

// In the order of the search bar's drop-down list; row 0 ("All files") matches every name.
const std::array<FileTypeClass, kFileTypeClassCount>& FileTypeClasses();

}  // namespace tov
