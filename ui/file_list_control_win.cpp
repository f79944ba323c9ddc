#include "ui/file_list_control_win.h"

namespace tov {

bool FileListControl::Create(HWND parent, UINT control_id, HIMAGELIST system_small_images) {
    window_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(UINT_PTR{control_id}),
                              GetModuleHandleA(nullptr), nullptr);
    if (window_ && system_small_images) {
        ListView_SetImageList(window_, system_small_images, LVSIL_SMALL);
    }
    return window_ != nullptr;
}

}  // namespace tov
