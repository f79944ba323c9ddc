// Small icons of file names from the shell, by extension: the name is taken as an ordinary file
// that need not exist, so nothing on disk is touched and equal extensions share one lookup.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace tov {

class FileIcons {
  public:
    // The system small image list index for `name`, looked up once per lower-cased extension.
    // A name the shell gives no icon for gets the icon of a name without extension, and when
    // even that has none, no image (I_IMAGENONE).
    int IconFor(std::string_view name);

  private:
    int Lookup(const std::string& extension);

    std::unordered_map<std::string, int> by_extension_;
};

// The extension of a file name, lower-cased in Windows-1252: the text after its last ".",
// empty when there is none.
std::string LowerExtension(std::string_view name);

}  // namespace tov
