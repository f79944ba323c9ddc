// Listings whose digest is correct but whose contents are built to break a careless reader: deep
// nesting, huge lines, lines that open or close folders where none should, missing fields, odd
// bytes in names, empty lines. Made at test time by the listing writer, so nothing large is kept
// in the repository. Standard C++ only, for the native and the Windows-side tests alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov::writer {

// The sizes of the largest cases; tests that run under a sanitizer may scale some down.
struct HostileScale {
    std::uint32_t nested_depth = 1000000;  // folders nested in each other below the root
    std::uint32_t deep_level = 10000;      // a folder this deep holds a file named "deep.txt"
    std::uint64_t long_line_bytes = std::uint64_t{100} << 20;  // one file line this long
    std::uint32_t wide_files = 100000;                         // files in one folder
    std::uint32_t marker_lines = 100000;                       // lines of "only <" / "only >"
    std::uint32_t summary_lines = 100000;  // header lines and statistics lines of "long-summary"
};

// The names of the hostile listings, in a fixed order:
//   nested             `nested_depth` folders named "1", "2", ... each in the one before,
//                      "deep.txt" at `deep_level` and "bottom.txt" in the deepest
//   long-line          one file line of `long_line_bytes` bytes between two ordinary ones
//   no-final-lf        the statistics' last line runs straight into the digest line
//   only-open          nothing but folder-open lines (the digest line ends up a file line)
//   only-close         nothing but folder-close lines
//   bars               file lines with zero to ten "|" and every status
//   odd-names          names holding "\", every byte from 0x80 to 0xFF, 255-byte names, a
//                      folder path ending in "\", names that look like markers
//   marker-header      header and statistics lines that begin with ">" or "<"
//   empty-line-tree, empty-line-header, empty-line-statistics, empty-first-line
//                      an empty line inside that section
//   nul-bytes          NUL bytes inside a folder name, a file name and the header
//   several-roots      three top-level folders and a stray "<" after them
//   wide-folder        `wide_files` files in the root and nothing else
//   long-summary       `summary_lines` header lines and as many statistics lines
const std::vector<std::string_view>& HostileListingNames();

// The listing of that name with its digest line; throws std::invalid_argument for another name.
std::string MakeHostileListing(std::string_view name, const HostileScale& scale = {});

// The names of the folders from the root down to `level` levels below it in the "nested" case,
// as a search shows them ("C:\1\2\...\level\").
std::string NestedFolderPath(std::uint32_t level);

// Files that are no listing by their length: 0 and 37 bytes are too short, 38 bytes is the
// digest line of an empty body alone (accepted; an empty tree).
std::string ListingOfLength(std::size_t length);

// One byte more than the largest file the loader accepts.
inline constexpr std::uint64_t kTooLargeListingBytes = 4294967295u;

}  // namespace tov::writer
