#include "ui/dialog_win.h"

#include "ui/text_win.h"

namespace tov {
namespace {

constexpr char kDialogProperty[] = "Tov.Dialog";

}  // namespace

Dialog::~Dialog() {
    if (window_ != nullptr) {
        HWND window = window_;
        RemovePropA(window, kDialogProperty);
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
            SetPropA(window, kDialogProperty, self);
        }
    } else {
        self = static_cast<Dialog*>(GetPropA(window, kDialogProperty));
    }
    if (self == nullptr) {
        return FALSE;
    }
    INT_PTR result = FALSE;
    bool handled = false;
    try {
        handled = self->HandleMessage(message, wparam, lparam, result);
    } catch (...) {
        handled = false;
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kDialogProperty);
        self->window_ = nullptr;
    }
    return handled ? result : FALSE;
}

}  // namespace tov
