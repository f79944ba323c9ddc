#include "ui/file_icons_win.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "listing/cp1252.h"

namespace tov {
namespace {

// The shell reads only the extension of a name it is told not to look up on disk, so a short
// stand-in name with the same extension gives the same icon and keeps any length of listed
// name away from the shell's fixed path buffers.
int ShellIconOf(const std::string& extension) {
    if (extension.size() > 200) {
        return -1;
    }
    std::string name = extension.empty() ? std::string("file") : "file." + extension;
    SHFILEINFOA info{};
    const DWORD_PTR images =
        SHGetFileInfoA(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return images != 0 ? info.iIcon : -1;
}

}  // namespace

std::string LowerExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.find('\\', dot) != std::string_view::npos) {
        return {};
    }
    return LowerCp1252Copy(name.substr(dot + 1));
}

int FileIcons::IconFor(std::string_view name) {
    std::string extension = LowerExtension(name);
    const auto found = by_extension_.find(extension);
    if (found != by_extension_.end()) {
        return found->second;
    }
    const int icon = Lookup(extension);
    by_extension_.emplace(std::move(extension), icon);
    return icon;
}

int FileIcons::Lookup(const std::string& extension) {
    int icon = ShellIconOf(extension);
    if (icon < 0 && !extension.empty()) {
        icon = IconFor("");
    }
    return icon < 0 ? I_IMAGENONE : icon;
}

}  // namespace tov
