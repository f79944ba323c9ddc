// Windows-1252 letter case, as the platform's lower-casing maps it in that code page, so that
// searching and case-insensitive sorting agree byte for byte on every system.
#pragma once

#include <string>
#include <string_view>

namespace tov {

unsigned char LowerCp1252(unsigned char byte);
void LowerCp1252InPlace(std::string& text);
std::string LowerCp1252Copy(std::string_view text);

// Byte-string comparison without regard to case: negative, 0 or positive.
int CompareNoCaseCp1252(std::string_view a, std::string_view b);

}  // namespace tov
