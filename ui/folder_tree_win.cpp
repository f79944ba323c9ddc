#include "ui/folder_tree_win.h"

#include "res/resource.h"

namespace tov {

bool FolderTree::Create(HWND parent, HIMAGELIST system_small_images) {
    window_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_TRACKSELECT |
                                  TVS_SINGLEEXPAND,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(UINT_PTR{IDC_FOLDER_TREE}),
                              GetModuleHandleA(nullptr), nullptr);
    if (window_ && system_small_images) {
        TreeView_SetImageList(window_, system_small_images, TVSIL_NORMAL);
    }
    return window_ != nullptr;
}

}  // namespace tov
