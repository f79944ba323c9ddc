#include "ui/expand_all_walk.h"

#include <algorithm>

namespace tov {

ExpandAllWalk::ExpandAllWalk(const FolderIndex& index, Folder top) : index_(&index) {
    if (top < index.size() && index.HasChildren(top)) {
        pending_.push_back({top, false});
    }
}

ExpandAllWalk::Step ExpandAllWalk::Next() {
    Pending& last = pending_.back();
    const Folder folder = last.folder;
    if (last.children_inserted) {
        pending_.pop_back();
        return {Action::kExpand, folder};
    }
    last.children_inserted = true;
    // Children with subfolders of their own are visited next, the first of them first.
    const std::size_t first_pushed = pending_.size();
    for (Folder child = index_->FirstChild(folder); child != FolderIndex::kNone;
         child = index_->NextSibling(child)) {
        if (index_->HasChildren(child)) {
            pending_.push_back({child, false});
        }
    }
    std::reverse(pending_.begin() + static_cast<std::ptrdiff_t>(first_pushed), pending_.end());
    return {Action::kInsertChildren, folder};
}

}  // namespace tov
