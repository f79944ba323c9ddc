#include "ui/about_dialog_win.h"

#include <algorithm>
#include <string>

#include "res/resource.h"
#include "ui/text_win.h"

namespace tov {

INT_PTR AboutDialog::Run(HWND owner) {
    return RunModal(owner, IDD_ABOUT);
}

bool AboutDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            result = TRUE;  // the system gives the focus to the first tab stop, OK
            return true;
        case WM_COMMAND:
            // Enter and OK arrive as IDOK (1), Escape and the close box as IDCANCEL (2).
            if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
                EndDialog(hwnd(), LOWORD(wparam));
                result = TRUE;
                return true;
            }
            return false;
        default:
            return false;
    }
}

void AboutDialog::OnInitDialog() {
    CenterOverOwner(hwnd());
    // Setting the text leaves the edit scrolled to its first line with nothing selected.
    const std::string help = LoadText(IDS_HELP_TEXT);
    SetDlgItemTextA(hwnd(), IDC_TEXT, help.c_str());
}

}  // namespace tov
