// The tree of the listing's folders.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tov {

class FolderTree {
public:
    bool Create(HWND parent, HIMAGELIST system_small_images);
    HWND hwnd() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace tov
