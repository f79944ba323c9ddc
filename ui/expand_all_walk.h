// The order in which the folder tree opens every folder below one ("*" on the numeric keypad).
// A folder's children are put into the tree before any of them is visited, and a folder is
// expanded only after every folder below it: while the work goes on, nothing below the top
// folder is shown, so the tree control lays out the opened subtree once, at the end, instead of
// once per folder. The walk keeps its own stack, so any nesting depth is safe, and it takes two
// steps per folder that has subfolders: linear in the number of folders.
#pragma once

#include <cstdint>
#include <vector>

#include "listing/folder_index.h"

namespace tov {

class ExpandAllWalk {
  public:
    using Folder = FolderIndex::Folder;

    enum class Action {
        kInsertChildren,  // put the folder's children into the tree
        kExpand,          // expand the folder; everything below it is done
    };
    struct Step {
        Action action;
        Folder folder;
    };

    ExpandAllWalk() = default;
    // Everything below `top` (which must be a folder of `index`, which must outlive the walk) down
    // to `levels` levels below it: folders at that level are put into the tree but not opened.
    ExpandAllWalk(const FolderIndex& index, Folder top, std::uint32_t levels);

    bool done() const { return pending_.empty(); }
    // The next step; the last one expands the top folder. Only while !done().
    Step Next();

  private:
    struct Pending {
        Folder folder;
        std::uint32_t level;  // below the top
        bool children_inserted;
    };

    const FolderIndex* index_ = nullptr;
    std::uint32_t levels_ = 0;
    std::vector<Pending> pending_;  // folders with subfolders, each to be finished later
};

}  // namespace tov
