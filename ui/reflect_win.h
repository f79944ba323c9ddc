// Notifications that the main window does not handle itself are sent back to the control that
// sent them, under this message, so that a control can handle its own custom drawing and
// column clicks.
#pragma once

#include <windows.h>

namespace tov {

constexpr UINT WM_REFLECTED_NOTIFY = 0x2000 + WM_NOTIFY;  // wParam and lParam as in WM_NOTIFY

}  // namespace tov
