// Refusing, inside the open and save dialogs, a path longer than the platform's dialog can take:
// Wine's dialog copies the chosen path into a buffer of MAX_PATH characters of its own and
// overflows it, whatever buffer the program offers. The user is told why and can choose again.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

namespace tov {

// What the dialog shows when it refuses a path; give its address as the dialog's lCustData.
struct LongPathRefusal {
    std::string text;
    std::string caption;
};

// The dialog's hook (OFN_ENABLEHOOK | OFN_EXPLORER); it handles nothing else.
UINT_PTR CALLBACK LongPathGuardHook(HWND hook_dialog, UINT message, WPARAM wparam, LPARAM lparam);

// Whether a path typed as `spec` while the dialog shows `folder` would be longer than the
// dialog can take (the default extension included): a relative name counts with its folder.
bool IsTooLongForDialog(const std::wstring& folder, const std::wstring& spec);

}  // namespace tov
