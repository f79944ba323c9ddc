#include "ui/splitter_win.h"

#include <windowsx.h>

#include "ui/handles_win.h"

namespace tov {
namespace {

bool IsWithin(HWND window, HWND ancestor) {
    return window != nullptr && ancestor != nullptr &&
           (window == ancestor || IsChild(ancestor, window));
}

// An 8x8 checkerboard brush for the outline of a dragged bar.
BrushHandle HalftoneBrush() {
    WORD pattern[8];
    for (int i = 0; i < 8; ++i) {
        pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
    }
    BitmapHandle bitmap(CreateBitmap(8, 8, 1, 1, pattern));
    if (!bitmap) {
        return nullptr;
    }
    return BrushHandle(CreatePatternBrush(bitmap.get()));
}

}  // namespace

HWND Splitter::Create(HWND parent, DWORD style, DWORD ex_style) {
    return Window::Create(parent, RECT{0, 0, 0, 0}, nullptr, style, ex_style, 0);
}

void Splitter::DescribeClass(WNDCLASSEXA& window_class) const {
    Window::DescribeClass(window_class);
    window_class.style = CS_DBLCLKS;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
}

int Splitter::bar_thickness() const {
    return GetSystemMetrics(SM_CXSIZEFRAME);
}

int Splitter::min_pane() const {
    return 2 * GetSystemMetrics(SM_CXEDGE);
}

namespace {

int EdgeOf(HWND window) {
    return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
               ? 2 * GetSystemMetrics(SM_CXEDGE)
               : 0;
}

}  // namespace

int Splitter::Extent() const {
    RECT client{};
    if (hwnd() == nullptr || !GetClientRect(hwnd(), &client)) {
        return 0;
    }
    return orientation_ == kVertical ? client.right : client.bottom;
}

int Splitter::ClampPosition(int position) const {
    const int extent = Extent();
    const int bar = bar_thickness() + EdgeOf(hwnd());
    if (position == -1) {
        position = (extent - bar) / 2;
    }
    const int upper = extent - bar - min_pane();
    if (position > upper) {
        position = upper;
    }
    if (position < min_pane()) {
        position = min_pane();
    }
    return position;
}

int Splitter::EffectivePosition() const {
    return ClampPosition(position_);
}

bool Splitter::SetBarPosition(int position, bool update) {
    if (position < -1) {
        position = -1;
    }
    // Without a size yet the wish is kept as it is and held within the limits when shown.
    const int resolved = Extent() > 0 ? ClampPosition(position) : position;
    const bool changed = resolved != position_;
    position_ = resolved;
    last_extent_ = Extent();
    if (update) {
        UpdateLayout();
    }
    return changed;
}

RECT Splitter::BarRect() const {
    RECT bar{0, 0, 0, 0};
    if (hwnd() == nullptr || single_pane_ != kPaneNone) {
        return bar;
    }
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int position = EffectivePosition();
    const int thickness = bar_thickness() + EdgeOf(hwnd());
    if (orientation_ == kVertical) {
        bar = RECT{position, 0, position + thickness, client.bottom};
    } else {
        bar = RECT{0, position, client.right, position + thickness};
    }
    return bar;
}

void Splitter::SetPanes(HWND pane1, HWND pane2, bool update) {
    panes_[kPane1] = pane1;
    panes_[kPane2] = pane2;
    if (update) {
        UpdateLayout();
    }
}

void Splitter::SetSinglePaneMode(int pane, bool update) {
    if (pane != kPane1 && pane != kPane2) {
        pane = kPaneNone;
    }
    if (pane != kPaneNone) {
        HWND shown = panes_[pane];
        HWND hidden = panes_[1 - pane];
        if (hidden != nullptr) {
            if (IsWithin(GetFocus(), hidden) && shown != nullptr) {
                SetFocus(shown);
            }
            ShowWindow(hidden, SW_HIDE);
        }
        if (shown != nullptr) {
            ShowWindow(shown, SW_SHOWNA);
        }
    } else {
        for (HWND window : panes_) {
            if (window != nullptr) {
                ShowWindow(window, SW_SHOWNA);
            }
        }
    }
    single_pane_ = pane;
    if (update) {
        UpdateLayout();
    }
}

void Splitter::SetActivePane(int pane) {
    if (pane != kPane1 && pane != kPane2) {
        return;
    }
    default_pane_ = pane;
    if (panes_[pane] != nullptr) {
        SetFocus(panes_[pane]);
    }
}

void Splitter::UpdateLayout() {
    if (hwnd() == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(hwnd(), &client);
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (single_pane_ != kPaneNone) {
        if (HWND shown = panes_[single_pane_]) {
            SetWindowPos(shown, nullptr, 0, 0, client.right, client.bottom, kFlags);
        }
    } else {
        const RECT bar = BarRect();
        RECT first = client;
        RECT second = client;
        if (orientation_ == kVertical) {
            first.right = bar.left;
            second.left = bar.right;
        } else {
            first.bottom = bar.top;
            second.top = bar.bottom;
        }
        const RECT* rects[2] = {&first, &second};
        for (int i = 0; i < 2; ++i) {
            if (panes_[i] != nullptr) {
                const RECT& r = *rects[i];
                SetWindowPos(panes_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             kFlags);
            }
        }
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Splitter::OnSize() {
    const int extent = Extent();
    if (extent > 0 && last_extent_ > 0 && position_ >= 0 && extent != last_extent_) {
        if (splitter_style_ & kProportional) {
            position_ = MulDiv(position_, extent, last_extent_);
        } else if (splitter_style_ & kPane2Fixed) {
            position_ += extent - last_extent_;
        }
    }
    if (extent > 0) {
        last_extent_ = extent;
    }
    UpdateLayout();
}

void Splitter::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd(), &paint);
    if (dc != nullptr) {
        const RECT bar = BarRect();
        FillRect(dc, &bar, GetSysColorBrush(COLOR_3DFACE));
        EndPaint(hwnd(), &paint);
    }
}

bool Splitter::IsOverBar(POINT client) const {
    const RECT bar = BarRect();
    return single_pane_ == kPaneNone && PtInRect(&bar, client);
}

int Splitter::PositionFromPoint(POINT client) const {
    return (orientation_ == kVertical ? client.x : client.y) - drag_offset_;
}

void Splitter::DrawGhostBar() {
    RECT bar = BarRect();
    if (orientation_ == kVertical) {
        OffsetRect(&bar, drag_position_ - bar.left, 0);
    } else {
        OffsetRect(&bar, 0, drag_position_ - bar.top);
    }
    // Over the panes too: the outline crosses them while it moves.
    WindowDC dc(hwnd(), nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    BrushHandle brush = HalftoneBrush();
    if (dc.get() == nullptr || !brush) {
        return;
    }
    SelectedObject selected(dc.get(), brush.get());
    PatBlt(dc.get(), bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATINVERT);
    ghost_shown_ = !ghost_shown_;
}

void Splitter::OnLeftButtonDown(POINT point) {
    if (!IsOverBar(point)) {
        return;
    }
    BOOL full = TRUE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
    full_drag_ = full != FALSE;
    const RECT bar = BarRect();
    drag_offset_ = orientation_ == kVertical ? point.x - bar.left : point.y - bar.top;
    drag_position_ = bar.left + bar.top;  // one of them is 0
    dragging_ = true;
    SetCapture(hwnd());
    if (!full_drag_) {
        DrawGhostBar();
    }
}

void Splitter::OnMouseMove(POINT point) {
    if (!dragging_) {
        return;
    }
    const int position = ClampPosition(PositionFromPoint(point));
    if (full_drag_) {
        if (SetBarPosition(position)) {
            UpdateWindow(hwnd());
        }
    } else if (position != drag_position_) {
        DrawGhostBar();
        drag_position_ = position;
        DrawGhostBar();
    }
}

void Splitter::EndDrag(bool apply) {
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    if (ghost_shown_) {
        DrawGhostBar();
    }
    if (GetCapture() == hwnd()) {
        ReleaseCapture();
    }
    if (apply && !full_drag_) {
        SetBarPosition(drag_position_);
    }
}

void Splitter::OnLeftButtonUp() {
    EndDrag(true);
}

void Splitter::OnMouseActivate() {
    POINT cursor{};
    GetCursorPos(&cursor);
    for (int i = 0; i < 2; ++i) {
        RECT pane{};
        if (panes_[i] != nullptr && IsWindowVisible(panes_[i]) && GetWindowRect(panes_[i], &pane) &&
            PtInRect(&pane, cursor)) {
            default_pane_ = i;
            return;
        }
    }
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wparam) == hwnd() && LOWORD(lparam) == HTCLIENT) {
                POINT cursor{};
                GetCursorPos(&cursor);
                ScreenToClient(hwnd(), &cursor);
                if (IsOverBar(cursor)) {
                    SetCursor(LoadCursorA(
                        nullptr, reinterpret_cast<LPCSTR>(orientation_ == kVertical ? IDC_SIZEWE
                                                                                    : IDC_SIZENS)));
                    return TRUE;
                }
            }
            break;
        case WM_LBUTTONDOWN:
            OnLeftButtonDown(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
            return 0;
        case WM_LBUTTONUP:
            OnLeftButtonUp();
            return 0;
        case WM_CAPTURECHANGED:
            EndDrag(!full_drag_ && reinterpret_cast<HWND>(lparam) == nullptr);
            return 0;
        case WM_KEYDOWN:
            if (dragging_ && wparam == VK_ESCAPE) {
                EndDrag(false);
                return 0;
            }
            break;
        case WM_LBUTTONDBLCLK:
            if (IsOverBar(POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)})) {
                SetBarPosition(-1);
            }
            return 0;
        case WM_MOUSEACTIVATE: {
            const LRESULT result = DefaultProc(message, wparam, lparam);
            OnMouseActivate();
            return result;
        }
        case WM_SETFOCUS: {
            const int pane = single_pane_ != kPaneNone ? single_pane_ : default_pane_;
            if (panes_[pane] != nullptr && IsWindowVisible(panes_[pane])) {
                SetFocus(panes_[pane]);
            }
            return 0;
        }
        case WM_NOTIFY:
        case WM_COMMAND:
            return SendMessageA(GetParent(hwnd()), message, wparam, lparam);
    }
    return DefaultProc(message, wparam, lparam);
}

}  // namespace tov
