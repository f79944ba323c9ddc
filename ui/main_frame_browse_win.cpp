#include <new>
#include <string>
#include <string_view>

#include "res/resource.h"
#include "listing/folder_index.h"
#include "ui/handles_win.h"
#include "ui/main_frame_win.h"
#include "ui/out_of_memory_win.h"

namespace tov {

void MainFrame::FillFolderTree() {
    folder_tree_.Fill(document_);
    HTREEITEM root = folder_tree_.FirstTopLevelItem();
    if (root == nullptr) {
        file_list_.SetRows(RowSet{});
        SetCommandEnabled(ID_FOLDER_UP, false);
        return;
    }
    folder_tree_.Select(root);  // the selection change fills the FileList
    folder_tree_.Expand(root);
}

void MainFrame::FolderUp() {
    HTREEITEM selected = folder_tree_.Selected();
    if (selected == nullptr) {
        return;
    }
    HTREEITEM parent = TreeView_GetParent(folder_tree_.hwnd(), selected);
    if (parent == nullptr) {
        return;
    }
    folder_tree_.Select(parent);
    folder_tree_.Expand(parent);
}

void MainFrame::OnFolderSelected() {
    WaitCursor wait;
    HTREEITEM selected = folder_tree_.Selected();
    ShowFolderContents(selected);
    SetCommandEnabled(ID_FOLDER_UP, selected != nullptr && TreeView_GetParent(folder_tree_.hwnd(),
                                                                              selected) != nullptr);
}

void MainFrame::ShowFolderContents(HTREEITEM item) {
    try {
        file_list_.SetRows(
            BuildFolderRows(document_, folder_tree_.index(), folder_tree_.FolderOf(item)));
    } catch (const std::bad_alloc&) {
        // The list must not go on showing another folder's contents under this one.
        try {
            file_list_.SetRows(RowSet{});
        } catch (const std::bad_alloc&) {
        }
        ReportOutOfMemory(hwnd());
    }
}

void MainFrame::OpenListedFolder() {
    const int position = file_list_.FirstSelected();
    if (position < 0 || static_cast<std::size_t>(position) >= file_list_.RowCount()) {
        return;
    }
    const std::uint32_t subfolder = file_list_.RowAt(position).subfolder();
    if (subfolder == 0) {
        return;  // a file row
    }
    HTREEITEM item = folder_tree_.ItemOf(subfolder - 1);
    if (item != nullptr) {
        folder_tree_.Select(item);
    }
}

void MainFrame::NavigateToResult() {
    WaitCursor wait;
    const int position = results_list_.FirstSelected();
    if (position < 0) {
        return;
    }
    const std::string path = results_list_.CellText(position, 1);

    // Walk down from above the top level by the path's folder names, taking the first child
    // of each level whose name matches byte for byte.
    const FolderIndex& index = folder_tree_.index();
    FolderIndex::Folder folder = FolderIndex::kNone;  // above the top level
    std::size_t start = 0;
    for (;;) {
        const std::size_t backslash = path.find('\\', start);
        if (backslash == std::string::npos) {
            break;
        }
        folder = index.FindChild(folder, std::string_view(path).substr(start, backslash - start));
        if (folder == FolderIndex::kNone) {
            return;  // a folder of the path is not in the tree: nothing is selected
        }
        start = backslash + 1;
    }
    if (folder != FolderIndex::kNone) {
        HTREEITEM item = folder_tree_.ItemOf(folder);
        if (item == nullptr) {
            return;
        }
        folder_tree_.Select(item);  // a different folder refills the FileList at once
    }

    const std::string_view name = std::string_view(path).substr(start);
    for (std::size_t row = 0; row < file_list_.RowCount(); ++row) {
        if (file_list_.CellText(row, 1) == name) {
            file_list_.SelectRow(static_cast<int>(row));
            return;
        }
    }
}

}  // namespace tov
