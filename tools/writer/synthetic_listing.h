// Synthetic listings of any size for tests and benchmarks: `files` files spread over `folders`
// folders (the root included) nested up to `depth` levels below the root, with realistic
// Spanish names (some accented, in Windows-1252), extensions, sizes, dates and a mix of good,
// bad and unchecked files, all 13 header rows and the 8 statistics rows counted from the tree.
// The same options give the same bytes on every platform.
#pragma once

#include <cstdint>
#include <string>

namespace tov::writer {

class ListingBuilder;

struct SyntheticOptions {
    std::uint64_t files = 1000;
    std::uint64_t folders = 50;  // the root included; at least 1
    std::uint64_t depth = 4;     // levels below the root; the deepest folder reaches it when
                                 // there are enough folders; 0 allows the root alone
    std::uint64_t seed = 1;
    // Folder-open lines carry the full path ("C:\Fotos\Viaje"); otherwise the bare name. Full
    // paths of deep chains grow with the square of the depth: use bare names beyond a few
    // hundred levels.
    bool full_paths = true;
    std::string root = "C:";
};

// Writes tree, header and statistics to `builder` (without the digest line; call Finish()).
// Throws std::invalid_argument when the options cannot be met.
void WriteSyntheticListing(const SyntheticOptions& options, ListingBuilder& builder);

// The whole listing in memory, digest line included.
std::string MakeSyntheticListing(const SyntheticOptions& options);

}  // namespace tov::writer
