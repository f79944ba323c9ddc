// Hands the laboratory's web-site address to the shell. The shell call goes through one seam
// that tests replace, so that no test ever starts a browser.
#pragma once

#include <windows.h>

namespace tov {

// The signature of ShellExecuteA.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// Replaces the shell call (nullptr restores ShellExecuteA); returns the one it replaces.
ShellExecuteFunction SetShellExecuteForTesting(ShellExecuteFunction replacement);

// Opens `address` with the user's default program: no owner window, the verb "open", no
// parameters, no directory, SW_SHOWDEFAULT. The result is ignored; an empty address does
// nothing (the shell would otherwise open the current folder).
void OpenWebAddress(const char* address);

}  // namespace tov
