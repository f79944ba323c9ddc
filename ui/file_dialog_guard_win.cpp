#include "ui/file_dialog_guard_win.h"

#include <commctrl.h>

#include <vector>

namespace tov {
namespace {

constexpr UINT_PTR kGuardSubclassId = 0x746F76;  // any number of our own
constexpr std::size_t kExtensionRoom = 4;        // ".csv" that the dialog may add
constexpr WPARAM kTextCapacity = 32768;

std::wstring DialogText(HWND dialog, UINT message) {
    std::vector<wchar_t> text(kTextCapacity, L'\0');
    SendMessageW(dialog, message, kTextCapacity, reinterpret_cast<LPARAM>(text.data()));
    text.back() = L'\0';
    return text.data();
}

LRESULT CALLBACK GuardDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                             DWORD_PTR data) {
    if (message == WM_COMMAND && LOWORD(wparam) == IDOK) {
        const std::wstring spec = DialogText(dialog, CDM_GETSPEC);
        const std::wstring folder = DialogText(dialog, CDM_GETFOLDERPATH);
        if (IsTooLongForDialog(folder, spec)) {
            const auto* refusal = reinterpret_cast<const LongPathRefusal*>(data);
            MessageBoxA(dialog, refusal->text.c_str(), refusal->caption.c_str(), MB_OK);
            return 0;  // the dialog stays, with the name, for another choice
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(dialog, GuardDialog, kGuardSubclassId);
    }
    return DefSubclassProc(dialog, message, wparam, lparam);
}

}  // namespace

bool IsTooLongForDialog(const std::wstring& folder, const std::wstring& spec) {
    const bool absolute = spec.size() >= 2 && (spec[1] == L':' || (spec[0] == L'\\'));
    const std::size_t length = absolute ? spec.size() : folder.size() + 1 + spec.size();
    return length + kExtensionRoom >= MAX_PATH;
}

UINT_PTR CALLBACK LongPathGuardHook(HWND hook_dialog, UINT message, WPARAM, LPARAM lparam) {
    if (message == WM_INITDIALOG && lparam != 0) {
        // The hook is a child of the dialog; the dialog itself receives the OK command.
        const auto* dialog = reinterpret_cast<const OPENFILENAMEW*>(lparam);
        if (dialog->lCustData != 0) {
            SetWindowSubclass(GetParent(hook_dialog), GuardDialog, kGuardSubclassId,
                              static_cast<DWORD_PTR>(dialog->lCustData));
        }
    }
    return 0;
}

}  // namespace tov
