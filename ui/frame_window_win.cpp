#include "ui/frame_window_win.h"

#include <commctrl.h>

#include <cstring>

#include "ui/rebar_win.h"
#include "ui/reflect_win.h"
#include "ui/toolbar_win.h"

namespace tov {

void FrameWindow::UpdateLayout() {
    if (hwnd() == nullptr || laying_out_) {
        return;
    }
    laying_out_ = true;
    RECT client{};
    GetClientRect(hwnd(), &client);
    int top = 0;
    if (rebar_ != nullptr && (GetWindowLongPtrA(rebar_, GWL_STYLE) & WS_VISIBLE)) {
        // The rebar sizes itself across its parent's top edge when told of a size change.
        SendMessageA(rebar_, WM_SIZE, 0, 0);
        RECT bar{};
        GetWindowRect(rebar_, &bar);
        top = bar.bottom - bar.top;
    }
    if (client_ != nullptr) {
        const int height = client.bottom - top > 0 ? client.bottom - top : 0;
        SetWindowPos(client_, nullptr, 0, top, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    laying_out_ = false;
}

LRESULT FrameWindow::OnFrameNotify(WPARAM wparam, LPARAM lparam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header == nullptr) {
        return 0;
    }
    switch (header->code) {
        case TTN_GETDISPINFOA: {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lparam);
            if (!(info->uFlags & TTF_IDISHWND)) {
                const std::string tip = ToolbarTooltip(static_cast<UINT>(header->idFrom));
                std::memcpy(info->szText, tip.c_str(), tip.size() + 1);
                info->lpszText = info->szText;
                info->hinst = nullptr;
            }
            return 0;
        }
        case TTN_GETDISPINFOW: {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lparam);
            if (!(info->uFlags & TTF_IDISHWND)) {
                const std::string tip = ToolbarTooltip(static_cast<UINT>(header->idFrom));
                const int count = MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, info->szText,
                                                      static_cast<int>(std::size(info->szText)));
                if (count == 0) {
                    info->szText[0] = L'\0';
                }
                info->lpszText = info->szText;
                info->hinst = nullptr;
            }
            return 0;
        }
        case RBN_HEIGHTCHANGE:
            if (header->hwndFrom == rebar_) {
                UpdateLayout();
                return 0;
            }
            break;
        case RBN_CHEVRONPUSHED:
            if (header->hwndFrom == rebar_) {
                const auto* chevron = reinterpret_cast<const NMREBARCHEVRON*>(lparam);
                ShowChevronMenu(rebar_, chevron->uBand, chevron->rc, hwnd());
                return 0;
            }
            break;
    }
    if (header->hwndFrom != nullptr && header->hwndFrom != hwnd() && IsWindow(header->hwndFrom)) {
        return SendMessageA(header->hwndFrom, WM_REFLECTED_NOTIFY, wparam, lparam);
    }
    return 0;
}

LRESULT FrameWindow::FrameDefault(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SETFOCUS:
            if (client_ != nullptr && IsWindow(client_)) {
                SetFocus(client_);
            }
            return 0;
        case WM_ERASEBKGND:
            if (client_ != nullptr) {
                return 1;
            }
            break;
        case WM_NOTIFY:
            return OnFrameNotify(wparam, lparam);
        case WM_DESTROY:
            if (GetWindowLongPtrA(hwnd(), GWL_STYLE) & WS_CHILD) {
                break;
            }
            PostQuitMessage(1);
            return 0;
    }
    return DefaultProc(message, wparam, lparam);
}

}  // namespace tov
