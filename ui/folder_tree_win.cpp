#include "ui/folder_tree_win.h"

#include <utility>

#include "res/resource.h"
#include "ui/reflect_win.h"
#include "ui/system_icons_win.h"

namespace tov {

bool FolderTree::Create(HWND parent, HIMAGELIST system_small_images) {
    HWND window = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
        WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
            TVS_SHOWSELALWAYS | TVS_TRACKSELECT | TVS_SINGLEEXPAND,
        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_FOLDER_TREE)),
        GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) {
        return false;
    }
    if (!Subclass(window)) {
        DestroyWindow(window);
        return false;
    }
    SendMessageA(window, TVM_SETUNICODEFORMAT, FALSE, 0);
    if (system_small_images != nullptr) {
        TreeView_SetImageList(window, system_small_images, TVSIL_NORMAL);
    }
    const SystemIcons icons = FetchSystemIcons();
    closed_folder_icon_ = icons.closed_folder;
    open_folder_icon_ = icons.open_folder;
    return true;
}

void FolderTree::Fill(const ListingDocument& document) {
    EndExpandAll(false);
    // Built before the tree is touched: running out of memory leaves it as it was, redrawn.
    FolderIndex index = FolderIndex::Build(document);
    std::vector<HTREEITEM> items(index.size(), nullptr);
    SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(hwnd());
    index_ = std::move(index);
    items_ = std::move(items);
    for (Folder folder = index_.FirstTopLevel(); folder != FolderIndex::kNone;
         folder = index_.NextSibling(folder)) {
        InsertItem(folder, TVI_ROOT);
    }
    SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

HTREEITEM FolderTree::InsertItem(Folder folder, HTREEITEM parent) {
    // A folder's name runs to the end of its line, so it is NUL-terminated in the document.
    const std::string_view name = index_.Name(folder);
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(name.empty() ? "" : name.data());
    insert.item.iImage = closed_folder_icon_;
    insert.item.iSelectedImage = open_folder_icon_;
    insert.item.lParam = static_cast<LPARAM>(index_.Offset(folder));
    insert.item.cChildren = index_.HasChildren(folder) ? 1 : 0;
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageA(hwnd(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    items_[folder] = item;
    return item;
}

HTREEITEM FolderTree::FirstTopLevelItem() const {
    const Folder root = index_.FirstTopLevel();
    return root == FolderIndex::kNone ? nullptr : items_[root];
}

FolderTree::Folder FolderTree::FolderOf(HTREEITEM item) const {
    if (item == nullptr) {
        return FolderIndex::kNone;
    }
    TVITEMA data{};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (!SendMessageA(hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) {
        return FolderIndex::kNone;
    }
    return FolderOf(item, data.lParam);
}

FolderTree::Folder FolderTree::FolderOf(HTREEITEM item, LPARAM data) const {
    if (data < 0 || static_cast<std::uint64_t>(data) > 0xFFFFFFFFu) {
        return FolderIndex::kNone;
    }
    const Folder folder = index_.FindByOffset(static_cast<LineOffset>(data));
    return folder != FolderIndex::kNone && items_[folder] == item ? folder : FolderIndex::kNone;
}

void FolderTree::InsertChildren(Folder folder) {
    if (folder >= index_.size() || items_[folder] == nullptr) {
        return;
    }
    const Folder first = index_.FirstChild(folder);
    if (first == FolderIndex::kNone || items_[first] != nullptr) {
        return;
    }
    for (Folder child = first; child != FolderIndex::kNone; child = index_.NextSibling(child)) {
        InsertItem(child, items_[folder]);
    }
}

HTREEITEM FolderTree::ItemOf(Folder folder) {
    if (folder >= index_.size()) {
        return nullptr;
    }
    // Walk up to the nearest inserted ancestor, then insert downwards; the chain is kept in a
    // vector, since a listing may nest folders a million deep.
    std::vector<Folder> chain;
    for (Folder at = folder; at != FolderIndex::kNone && items_[at] == nullptr;
         at = index_.Parent(at)) {
        chain.push_back(at);
    }
    for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
        const Folder parent = index_.Parent(*at);
        if (parent == FolderIndex::kNone) {
            return nullptr;  // top-level folders are always in the tree
        }
        InsertChildren(parent);
    }
    return items_[folder];
}

void FolderTree::Select(HTREEITEM item) {
    TreeView_SelectItem(hwnd(), item);
}

void FolderTree::Expand(HTREEITEM item) {
    InsertChildren(FolderOf(item));
    TreeView_Expand(hwnd(), item, TVE_EXPAND);
}

LRESULT FolderTree::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_REFLECTED_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lparam);
            if (header != nullptr && header->hwndFrom == hwnd() &&
                (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW)) {
                // Same layout in both character sets for the fields read here. The item data
                // comes with the notification: asking the control for it costs a scan of all
                // items in some implementations.
                const auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
                if (change->action & TVE_EXPAND) {
                    InsertChildren(FolderOf(change->itemNew.hItem, change->itemNew.lParam));
                }
                return FALSE;  // let it expand
            }
            break;
        }
        case WM_KEYDOWN:
            // The control's own expand-all would fill the lazily shown folders one level at a
            // time and relayout the tree at each; this one does it in one pass.
            if (wparam == VK_MULTIPLY) {
                ExpandAll(Selected());
                return 0;
            }
            if (wparam == VK_ESCAPE && expanding_all()) {
                StopExpandAll();
                return 0;
            }
            break;
        case WM_TIMER:
            if (wparam == kExpandAllTimer) {
                ExpandAllSlice();
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (expanding_all()) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
                return TRUE;
            }
            break;
        case WM_DESTROY:
            EndExpandAll(false);
            break;
    }
    return DefaultProc(message, wparam, lparam);
}

}  // namespace tov
