// Base of the program's dialogs built from dialog templates: binds the C++ object at
// WM_INITDIALOG and passes every message to HandleMessage. No exception leaves the dialog
// procedure (a message whose handler throws counts as not handled).
//
//     class AboutBox : public Dialog {
//     protected:
//         bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam,
//                            INT_PTR& result) override { ... return true when handled; }
//     };
//     AboutBox box;  box.RunModal(owner, IDD_ABOUT);
#pragma once

#include <windows.h>

namespace tov {

// Centres a dialog over its owner window, kept inside the work area of the owner's monitor (a box
// can be taller than a small main window).
void CenterOverOwner(HWND window);

class Dialog {
  public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND hwnd() const { return window_; }

    // Modal: returns the value given to EndDialog, or -1 when the dialog could not be created.
    INT_PTR RunModal(HWND owner, UINT template_id);
    // Modeless: the dialog's window, nullptr on failure. The object must outlive the window
    // (the destructor destroys a window that is still there).
    HWND CreateModeless(HWND owner, UINT template_id);

  protected:
    // Sets `result` (the dialog procedure's return value, or a DWLP_MSGRESULT through
    // SetWindowLongPtr) and returns true for a handled message; false lets the dialog manager
    // handle it. WM_INITDIALOG: return true with result TRUE to let the system set the focus.
    virtual bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result);

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND window_ = nullptr;
};

}  // namespace tov
