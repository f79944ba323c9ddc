#include "ui/work_summary_dialog_win.h"

namespace tov {

bool WorkSummaryDialog::Create(HWND owner) {
    window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_CAPTION, 0, 0, 300, 200, owner,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    return window_ != nullptr;
}

}  // namespace tov
