// The folders of a listing's tree section, read in one forward pass: for each folder-open line its
// line offset, its own name, its parent and its children in listing order. The folder tree shows
// this index lazily and the file list reads a folder's rows from it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "listing/file_row.h"
#include "listing/listing_document.h"

namespace tov {

class FolderIndex {
  public:
    using Folder = std::uint32_t;
    static constexpr Folder kNone = 0xFFFFFFFFu;

    // Visits the lines exactly as the recursive tree fill does: an empty line ends the walk, "<"
    // closes the innermost open folder (at the top level it ends the walk), ">" adds a folder
    // under the innermost open one, and every other line is passed over. The names are views
    // into `document`, which must outlive the index.
    static FolderIndex Build(const ListingDocument& document);

    std::size_t size() const { return offsets_.size(); }
    bool empty() const { return offsets_.empty(); }

    LineOffset Offset(Folder folder) const { return offsets_[folder]; }
    std::string_view Name(Folder folder) const { return names_[folder]; }
    Folder Parent(Folder folder) const { return parents_[folder]; }
    Folder FirstChild(Folder folder) const { return first_children_[folder]; }
    Folder NextSibling(Folder folder) const { return next_siblings_[folder]; }
    bool HasChildren(Folder folder) const { return first_children_[folder] != kNone; }

    // The first top-level folder (the root), or kNone for an empty tree. Further top-level
    // folders follow it as its siblings.
    Folder FirstTopLevel() const { return empty() ? kNone : Folder{0}; }

    // The folder whose folder-open line starts at `offset`, or kNone.
    Folder FindByOffset(LineOffset offset) const;

    // The first child of `parent` (kNone: the top level) whose name equals `name` byte for byte.
    Folder FindChild(Folder parent, std::string_view name) const;

  private:
    std::vector<LineOffset> offsets_;  // ascending: folders are numbered in listing order
    std::vector<std::string_view> names_;
    std::vector<Folder> parents_;
    std::vector<Folder> first_children_;
    std::vector<Folder> next_siblings_;
};

// The rows a folder shows in the file list: its subfolders in listing order, then the first run
// of file lines after its folder-open line (up to the end of the document or a line that begins
// with ">" or "<").
RowSet BuildFolderRows(const ListingDocument& document, const FolderIndex& index,
                       FolderIndex::Folder folder);

}  // namespace tov
