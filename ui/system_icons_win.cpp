#include "ui/system_icons_win.h"

#include <shellapi.h>

namespace tov {
namespace {

// The icons of a folder, asked for by attributes alone: the shell looks at no real folder. Asked
// for the current folder ("."), it gives a drive's icon, or nothing at all, when the program
// runs at the root of a drive (a delivery stick), and the tree and lists lose every icon.
constexpr char kAnyFolder[] = "folder";
constexpr UINT kByAttributes = SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

}  // namespace

SystemIcons FetchSystemIcons() {
    SystemIcons icons;
    SHFILEINFOA info{};
    icons.images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(kAnyFolder, FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info), kByAttributes));
    icons.closed_folder = info.iIcon;
    info = SHFILEINFOA{};
    SHGetFileInfoA(kAnyFolder, FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                   kByAttributes | SHGFI_OPENICON);
    icons.open_folder = info.iIcon;
    return icons;
}

}  // namespace tov
