// The tree of the listing's folders. It shows the folder index lazily: a folder's children are
// inserted when it is first expanded or walked into, and until then the item only tells the
// control whether it has any. Each item's data is the line offset of its folder-open line.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "listing/listing_document.h"
#include "ui/expand_all_walk.h"
#include "listing/folder_index.h"
#include "ui/window_win.h"

namespace tov {

class FolderTree : public Window {
  public:
    using Folder = FolderIndex::Folder;

    bool Create(HWND parent, HIMAGELIST system_small_images);

    // Rebuilds the tree from `document` (which must outlive the tree's contents): redrawing
    // off, all items deleted, the top-level folders inserted, redrawing on.
    void Fill(const ListingDocument& document);

    const FolderIndex& index() const { return index_; }

    // The item of the first top-level folder, nullptr for an empty tree.
    HTREEITEM FirstTopLevelItem() const;
    // The folder an item stands for, kNone for nullptr or an unknown item.
    Folder FolderOf(HTREEITEM item) const;
    // The item of a folder, inserting the items of its ancestors' children on the way.
    HTREEITEM ItemOf(Folder folder);
    // Inserts the children of a folder unless they are in the tree already.
    void InsertChildren(Folder folder);

    HTREEITEM Selected() const { return TreeView_GetSelection(hwnd()); }
    // Makes `item` the selected (caret) item; the control notifies the parent when it changes.
    void Select(HTREEITEM item);
    void Expand(HTREEITEM item);

    // Expands every folder below `item` (down to 5,000 levels below the root) and the item
    // itself, as "*" on the numeric keypad does, in slices between messages under the wait
    // cursor; Escape or StopExpandAll ends it early with `item` expanded.
    void ExpandAll(HTREEITEM item);
    void StopExpandAll();
    bool expanding_all() const { return expand_all_top_ != nullptr; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    HTREEITEM InsertItem(Folder folder, HTREEITEM parent);
    // The folder of an item whose item data is known (as in a notification).
    Folder FolderOf(HTREEITEM item, LPARAM data) const;
    // One slice of the expand-all work, at each tick of its timer.
    void ExpandAllSlice();
    // Ends the expand-all work; the top item is expanded unless the tree is going away.
    void EndExpandAll(bool expand_top);

    static constexpr UINT_PTR kExpandAllTimer = 1;

    ExpandAllWalk expand_all_;
    HTREEITEM expand_all_top_ = nullptr;  // set while expanding all
    HCURSOR cursor_before_expand_all_ = nullptr;

    FolderIndex index_;
    std::vector<HTREEITEM> items_;  // by folder; nullptr until inserted
    int closed_folder_icon_ = 0;
    int open_folder_icon_ = 0;
};

}  // namespace tov
