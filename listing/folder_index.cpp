#include "listing/folder_index.h"

#include <algorithm>

#include "listing/file_line.h"

namespace tov {

FolderIndex FolderIndex::Build(const ListingDocument& document) {
    FolderIndex index;
    // One entry per open folder: the folder and the last child added under it so far. The
    // walk's own depth lives here, not on the call stack, so any nesting depth is safe.
    struct OpenFolder {
        Folder folder;
        Folder last_child;
    };
    std::vector<OpenFolder> open;
    Folder last_top_level = kNone;

    LineOffset position = 0;
    while (!document.AtEnd(position)) {
        const LineOffset line = position;
        position = document.NextLine(position);
        const char first = document.FirstByte(line);
        if (first == '<') {
            if (open.empty()) {
                break;  // a close line at the top level ends the tree
            }
            open.pop_back();
        } else if (first == '>') {
            const Folder folder = static_cast<Folder>(index.offsets_.size());
            const Folder parent = open.empty() ? kNone : open.back().folder;
            index.offsets_.push_back(line);
            index.names_.push_back(FolderOwnName(document.Line(line)));
            index.parents_.push_back(parent);
            index.first_children_.push_back(kNone);
            index.next_siblings_.push_back(kNone);
            Folder& previous = open.empty() ? last_top_level : open.back().last_child;
            if (previous != kNone) {
                index.next_siblings_[previous] = folder;
            } else if (parent != kNone) {
                index.first_children_[parent] = folder;
            }
            previous = folder;
            open.push_back({folder, kNone});
        }
    }
    return index;
}

FolderIndex::Folder FolderIndex::FindByOffset(LineOffset offset) const {
    const auto found = std::lower_bound(offsets_.begin(), offsets_.end(), offset);
    if (found == offsets_.end() || *found != offset) {
        return kNone;
    }
    return static_cast<Folder>(found - offsets_.begin());
}

FolderIndex::Folder FolderIndex::FindChild(Folder parent, std::string_view name) const {
    Folder child = parent == kNone ? FirstTopLevel() : FirstChild(parent);
    for (; child != kNone; child = NextSibling(child)) {
        if (Name(child) == name) {
            return child;
        }
    }
    return kNone;
}

RowSet BuildFolderRows(const ListingDocument& document, const FolderIndex& index,
                       FolderIndex::Folder folder) {
    RowSet rows;
    rows.text = std::string_view(document.data(), document.size());
    if (folder == FolderIndex::kNone || folder >= index.size()) {
        return rows;
    }
    for (FolderIndex::Folder child = index.FirstChild(folder); child != FolderIndex::kNone;
         child = index.NextSibling(child)) {
        rows.Add(rows.RowOf(index.Name(child), 0, child + 1), StatusKind::Empty);
    }
    LineOffset position = document.NextLine(index.Offset(folder));
    while (!document.AtEnd(position)) {
        const char first = document.FirstByte(position);
        if (first == '>' || first == '<') {
            break;
        }
        const std::string_view line = document.Line(position);
        const FileLineFields fields = SplitFileLine(line);
        rows.Add(rows.RowOf(fields.name, 0, FileRow::kFile), StatusKindOf(fields.status));
        position = document.NextLine(position);
    }
    return rows;
}

}  // namespace tov
