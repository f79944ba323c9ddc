#include "ui/dialog_win.h"

#include "ui/out_of_memory_win.h"
#include "ui/text_win.h"

#include <algorithm>
#include <new>

namespace tov {

Dialog::~Dialog() {
    if (window_ != nullptr) {
        HWND window = window_;
        SetWindowLongPtrA(window, DWLP_USER, 0);
        window_ = nullptr;
        DestroyWindow(window);
    }
}

INT_PTR Dialog::RunModal(HWND owner, UINT template_id) {
    return DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(template_id), owner,
                           &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(HWND owner, UINT template_id) {
    if (window_ != nullptr) {
        return nullptr;
    }
    return CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(template_id), owner,
                              &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::HandleMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lparam);
        if (self != nullptr) {
            self->window_ = window;
            // The dialog's own slot, not a property: under Wine a property lookup at every
            // message is a round trip to the server.
            SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR result = FALSE;
    bool handled = false;
    try {
        handled = self->HandleMessage(message, wparam, lparam, result);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(window);
        handled = false;
    } catch (...) {
        handled = false;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        self->window_ = nullptr;
    }
    return handled ? result : FALSE;
}

void CenterOverOwner(HWND window) {
    const HWND owner = GetWindow(window, GW_OWNER);
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

}  // namespace tov
