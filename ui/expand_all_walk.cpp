#include "ui/expand_all_walk.h"

#include <algorithm>

namespace tov {

ExpandAllWalk::ExpandAllWalk(const FolderIndex& index, Folder top, std::uint32_t levels)
    : index_(&index), levels_(levels) {
    if (top < index.size() && index.HasChildren(top) && levels > 0) {
        pending_.push_back({top, 0, false});
    }
}

ExpandAllWalk::Step ExpandAllWalk::Next() {
    Pending& last = pending_.back();
    const Folder folder = last.folder;
    const std::uint32_t child_level = last.level + 1;
    if (last.children_inserted) {
        pending_.pop_back();
        return {Action::kExpand, folder};
    }
    last.children_inserted = true;
    // Children with subfolders of their own are visited next, the first of them first.
    const std::size_t first_pushed = pending_.size();
    for (Folder child = index_->FirstChild(folder);
         child != FolderIndex::kNone && child_level < levels_; child = index_->NextSibling(child)) {
        if (index_->HasChildren(child)) {
            pending_.push_back({child, child_level, false});
        }
    }
    std::reverse(pending_.begin() + static_cast<std::ptrdiff_t>(first_pushed), pending_.end());
    return {Action::kInsertChildren, folder};
}

}  // namespace tov
