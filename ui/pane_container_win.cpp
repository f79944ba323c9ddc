#include "ui/pane_container_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "res/resource.h"
#include "ui/handles_win.h"

namespace tov {
namespace {

constexpr int kTitlePadding = 3;  // around the title text and the close button

HFONT TitleFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

HWND PaneContainer::Create(HWND parent, const char* title, DWORD style, DWORD ex_style) {
    SetTitle(title);
    if (Window::Create(parent, RECT{0, 0, 0, 0}, title_, style, ex_style, 0) == nullptr) {
        return nullptr;
    }
    return hwnd();
}

void PaneContainer::DescribeClass(WNDCLASSEXA& window_class) const {
    Window::DescribeClass(window_class);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
}

void PaneContainer::SetTitle(const char* title) {
    const std::size_t length = title == nullptr ? 0 : std::strlen(title);
    const std::size_t kept = std::min<std::size_t>(length, kTitleCapacity - 1);
    if (kept > 0) {
        std::memcpy(title_, title, kept);
    }
    title_[kept] = '\0';
    if (hwnd() != nullptr) {
        SetWindowTextA(hwnd(), title_);
        RECT line{};
        GetClientRect(hwnd(), &line);
        line.bottom = title_height();
        InvalidateRect(hwnd(), &line, TRUE);
    }
}

void PaneContainer::SetClient(HWND client) {
    client_ = client;
    UpdateLayout();
}

int PaneContainer::title_height() const {
    int text_height = 13;
    if (hwnd() != nullptr) {
        WindowDC dc(hwnd());
        if (dc.get() != nullptr) {
            SelectedObject font(dc.get(), TitleFont());
            TEXTMETRICA metrics{};
            if (GetTextMetricsA(dc.get(), &metrics)) {
                text_height = metrics.tmHeight;
            }
        }
    }
    const int button = GetSystemMetrics(SM_CYSMSIZE);
    return std::max(text_height, button) + 2 * kTitlePadding;
}

RECT PaneContainer::CloseButtonRect() const {
    RECT client{};
    if (hwnd() != nullptr) {
        GetClientRect(hwnd(), &client);
    }
    const int size = title_height() - 2 * kTitlePadding;
    RECT button;
    button.right = client.right - kTitlePadding;
    button.left = button.right - size;
    button.top = kTitlePadding;
    button.bottom = button.top + size;
    return button;
}

void PaneContainer::UpdateLayout() {
    if (hwnd() == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd(), &client);
    if (client_ != nullptr) {
        const int top = std::min<int>(title_height(), client.bottom);
        SetWindowPos(client_, nullptr, 0, top, client.right, client.bottom - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void PaneContainer::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd(), &paint);
    if (dc == nullptr) {
        return;
    }
    RECT line{};
    GetClientRect(hwnd(), &line);
    line.bottom = title_height();
    FillRect(dc, &line, GetSysColorBrush(COLOR_3DFACE));

    RECT close = CloseButtonRect();
    RECT text = line;
    text.left += 2 * kTitlePadding;
    text.right = close.left - kTitlePadding;
    {
        SelectedObject font(dc, TitleFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, title_, -1, &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    DrawFrameControl(dc, &close, DFC_CAPTION,
                     DFCS_CAPTIONCLOSE | DFCS_FLAT | (close_pressed_ ? DFCS_PUSHED : 0));
    EndPaint(hwnd(), &paint);
}

void PaneContainer::PressClose(bool pressed) {
    if (pressed != close_pressed_) {
        close_pressed_ = pressed;
        const RECT close = CloseButtonRect();
        InvalidateRect(hwnd(), &close, TRUE);
    }
}

LRESULT PaneContainer::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            UpdateLayout();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SETFOCUS:
            if (client_ != nullptr) {
                SetFocus(client_);
            }
            return 0;
        case WM_LBUTTONDOWN: {
            const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            const RECT close = CloseButtonRect();
            if (PtInRect(&close, point)) {
                tracking_close_ = true;
                SetCapture(hwnd());
                PressClose(true);
            }
            return 0;
        }
        case WM_MOUSEMOVE:
            if (tracking_close_) {
                const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
                const RECT close = CloseButtonRect();
                PressClose(PtInRect(&close, point) != FALSE);
            }
            return 0;
        case WM_LBUTTONUP:
            if (tracking_close_) {
                const bool clicked = close_pressed_;
                tracking_close_ = false;
                PressClose(false);
                ReleaseCapture();
                if (clicked) {
                    SendMessageA(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(ID_RESULTS_CLOSE, 0), 0);
                }
            }
            return 0;
        case WM_CAPTURECHANGED:
            tracking_close_ = false;
            PressClose(false);
            return 0;
        case WM_NOTIFY:
        case WM_COMMAND:
            return SendMessageA(GetParent(hwnd()), message, wparam, lparam);
    }
    return DefaultProc(message, wparam, lparam);
}

}  // namespace tov
