#include "listing/file_row.h"

#include <algorithm>

#include "listing/byte_scan.h"

namespace tov {

FileLineFields RowSet::Fields(const FileRow& row) const {
    const std::string_view name = Name(row);
    const std::size_t after = std::size_t{row.name_at} + name.size();
    if (row.is_folder() || after >= text.size() || text[after] != '|') {
        return {name, {}, {}, {}};
    }
    // A file row's name starts its line, which goes on to the NUL that ends it.
    const char* line = text.data() + row.name_at;
    const std::size_t room = text.size() - row.name_at;
    const char* end = FindByte(line + name.size(), room - name.size(), '\0');
    const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - line) : room;
    return SplitFileLine(std::string_view(line, length));
}

std::uint32_t RowSet::AddLevel(std::uint32_t parent, std::string_view name) {
    const PathLevel& up = levels[parent];
    PathLevel level;
    level.parent = parent;
    level.depth = up.depth + 1;
    level.name = name;
    level.length = up.length + name.size() + 1;
    // The jump of a level skips as far as its parent's jump twice over when those two skips are
    // of equal length, else it is the parent: the classic layout that bounds every ancestor
    // search by the logarithm of the depth.
    const PathLevel& up_jump = levels[up.jump];
    level.jump = up.depth - up_jump.depth == up_jump.depth - levels[up_jump.jump].depth
                     ? up_jump.jump
                     : parent;
    levels.push_back(level);
    return static_cast<std::uint32_t>(levels.size() - 1);
}

void RowSet::AppendPath(std::string& out, std::uint32_t level, std::uint64_t limit) const {
    if (level >= levels.size() || limit == 0) {
        return;
    }
    // The shallowest level whose text reaches `limit` holds the last byte wanted; levels below
    // it add nothing.
    while (level != 0 && levels[levels[level].parent].length >= limit) {
        const std::uint32_t jump = levels[level].jump;
        level = levels[jump].length >= limit ? jump : levels[level].parent;
    }
    const std::size_t base = out.size();
    const std::uint64_t wanted = std::min(levels[level].length, limit);
    out.resize(base + wanted);
    // Each level's name and "\" stand at its parent's length; written from the deepest up.
    for (; level != 0; level = levels[level].parent) {
        const PathLevel& at = levels[level];
        const std::uint64_t start =
            levels[at.parent].length;  // below `wanted`, by the search above
        const std::uint64_t room = wanted - start;
        const std::size_t name_bytes =
            static_cast<std::size_t>(std::min<std::uint64_t>(at.name.size(), room));
        std::copy_n(at.name.data(), name_bytes, out.data() + base + start);
        if (room > at.name.size()) {
            out[base + start + at.name.size()] = '\\';
        }
    }
}

}  // namespace tov
