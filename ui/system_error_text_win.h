// The platform's text for a Win32 error code, on one line.
#pragma once

#include <windows.h>

#include <string>

namespace tov {

// The system's message for `code` in the platform's default language, with every CR and LF
// removed; "error <code> (<0xcode>)" when the system has none.
std::string SystemErrorText(DWORD code);

}  // namespace tov
