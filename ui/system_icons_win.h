// The shell's small system image list and its folder icons, fetched once by the main window
// and shared by the tree and both lists. The image list belongs to the system: never destroy it.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tov {

struct SystemIcons {
    HIMAGELIST images = nullptr;
    int closed_folder = 0;
    int open_folder = 0;
};

// SHGetFileInfoA of "." with SHGFI_SYSICONINDEX | SHGFI_SMALLICON, then again with
// SHGFI_OPENICON.
SystemIcons FetchSystemIcons();

}  // namespace tov
