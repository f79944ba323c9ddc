// "*" on the numeric keypad in the folder tree: every folder below the selected one is put into
// the tree and expanded. The top folder stays collapsed while the work goes on, each folder is
// expanded after everything below it, and the top last, so the control lays the opened subtree
// out once. The work runs in slices at the ticks of a timer, which come only when no input is
// waiting, so the window keeps answering and Escape ends it early.
#include <chrono>

#include "ui/folder_tree_win.h"

namespace tov {
namespace {

// Short enough that the window answers at once, long enough that the pause before the next
// tick costs little.
constexpr std::chrono::milliseconds kSlice{100};

// Tree controls free an item's children with one nested call per level when the window closes,
// so a chain of items deep enough runs the thread out of stack (under Wine, one of 168,000
// levels does; 10,000 close fine). "*" opens no folder this deep below the root; the folders
// there are shown closed, and open one level at a time as ever.
constexpr std::uint32_t kDeepestOpenedLevel = 5000;

}  // namespace

void FolderTree::ExpandAll(HTREEITEM item) {
    EndExpandAll(true);  // a second "*" starts over from the new selection
    const Folder top = FolderOf(item);
    if (top == FolderIndex::kNone || !index_.HasChildren(top)) {
        return;
    }
    std::uint32_t depth = 0;
    for (Folder up = index_.Parent(top); up != FolderIndex::kNone; up = index_.Parent(up)) {
        ++depth;
    }
    if (depth >= kDeepestOpenedLevel) {
        return;
    }
    expand_all_ = ExpandAllWalk(index_, top, kDeepestOpenedLevel - depth);
    expand_all_top_ = item;
    TreeView_Expand(hwnd(), item, TVE_COLLAPSE);
    cursor_before_expand_all_ = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    SetTimer(hwnd(), kExpandAllTimer, USER_TIMER_MINIMUM, nullptr);
}

void FolderTree::StopExpandAll() {
    EndExpandAll(true);
}

void FolderTree::ExpandAllSlice() {
    if (!expanding_all()) {
        KillTimer(hwnd(), kExpandAllTimer);
        return;
    }
    const auto end = std::chrono::steady_clock::now() + kSlice;
    while (!expand_all_.done()) {
        const ExpandAllWalk::Step step = expand_all_.Next();
        HTREEITEM item = items_[step.folder];
        if (step.action == ExpandAllWalk::Action::kInsertChildren) {
            InsertChildren(step.folder);
        } else if (item != expand_all_top_) {
            TreeView_Expand(hwnd(), item, TVE_EXPAND);
        }
        if (std::chrono::steady_clock::now() >= end) {
            return;
        }
    }
    EndExpandAll(true);
}

void FolderTree::EndExpandAll(bool expand_top) {
    if (!expanding_all()) {
        return;
    }
    KillTimer(hwnd(), kExpandAllTimer);
    HTREEITEM top = expand_all_top_;
    expand_all_top_ = nullptr;
    expand_all_ = ExpandAllWalk();
    if (expand_top) {
        TreeView_Expand(hwnd(), top, TVE_EXPAND);
    }
    SetCursor(cursor_before_expand_all_);
}

}  // namespace tov
