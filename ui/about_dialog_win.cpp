#include "ui/about_dialog_win.h"

#include <algorithm>
#include <string>

#include "res/resource.h"
#include "ui/text_win.h"

namespace tov {
namespace {

// Centres `window` over `owner`, kept inside the work area of the owner's monitor (the box is
// taller than a small main window).
void CentreOver(HWND window, HWND owner) {
    RECT window_rect{};
    GetWindowRect(window, &window_rect);
    RECT owner_rect{};
    if (owner == nullptr || !GetWindowRect(owner, &owner_rect)) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &owner_rect, 0);
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromRect(&owner_rect, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const int width = window_rect.right - window_rect.left;
    const int height = window_rect.bottom - window_rect.top;
    int left = (owner_rect.left + owner_rect.right) / 2 - width / 2;
    int top = (owner_rect.top + owner_rect.bottom) / 2 - height / 2;
    left =
        std::max(static_cast<int>(area.left), std::min(left, static_cast<int>(area.right) - width));
    top =
        std::max(static_cast<int>(area.top), std::min(top, static_cast<int>(area.bottom) - height));
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

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
    CentreOver(hwnd(), GetWindow(hwnd(), GW_OWNER));
    // Setting the text leaves the edit scrolled to its first line with nothing selected.
    const std::string help = LoadText(IDS_HELP_TEXT);
    SetDlgItemTextA(hwnd(), IDC_TEXT, help.c_str());
}

}  // namespace tov
