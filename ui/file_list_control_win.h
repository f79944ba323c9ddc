// The four-column list of folders and files (the folder list and the search results).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "ui/file_row.h"

namespace tov {

class FileListControl {
public:
    // Creates the list view as a child of `parent` with the given control identifier; the
    // shell's small system image list is given, not owned.
    bool Create(HWND parent, UINT control_id, HIMAGELIST system_small_images);
    HWND hwnd() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace tov
