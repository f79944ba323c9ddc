#include "ui/system_icons_win.h"

#include <shellapi.h>

namespace tov {

SystemIcons FetchSystemIcons() {
    SystemIcons icons;
    SHFILEINFOA info{};
    icons.images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(".", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    icons.closed_folder = info.iIcon;
    info = SHFILEINFOA{};
    SHGetFileInfoA(".", 0, &info, sizeof(info),
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    icons.open_folder = info.iIcon;
    return icons;
}

}  // namespace tov
