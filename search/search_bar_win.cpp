#include "search/search_bar_win.h"

#include <commctrl.h>

#include <string>

#include "res/resource.h"
#include "search/file_type_class.h"
#include "search/search_request_win.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"

namespace tov {
namespace {

constexpr int kLabelWidth = 64;
constexpr int kLabelHeight = 18;
constexpr int kComboWidth = 360;
constexpr int kComboDropHeight = 200;
constexpr int kSelectionFieldHeight = 13;
constexpr int kPatternItem = 7;  // the separator before the Search button, widened to hold us

}  // namespace

// ---- SearchLabel ----

LRESULT SearchLabel::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the toolbar shows through around the text
    }
    return DefaultProc(message, wparam, lparam);
}

void SearchLabel::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd(), &paint);
    if (dc != nullptr) {
        const int length = GetWindowTextLengthA(hwnd());
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd(), text.data(), length + 1)));
        SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SIZE extent{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        RECT client{};
        GetClientRect(hwnd(), &client);
        TextOutA(dc, client.right - extent.cx - 4, (client.bottom - extent.cy) / 2, text.c_str(),
                 static_cast<int>(text.size()));
    }
    EndPaint(hwnd(), &paint);
}

// ---- SearchBar ----

bool SearchBar::Create(HWND main_toolbar) {
    toolbar_ = main_toolbar;
    const std::string label_text = LoadText(IDS_SEARCH_LABEL);
    const RECT label_rect{0, 0, kLabelWidth, kLabelHeight};
    if (label_.Create(toolbar_, label_rect, label_text.c_str(), WS_CHILD | WS_VISIBLE) == nullptr) {
        return false;
    }

    combo_ =
        CreateWindowExA(WS_EX_CLIENTEDGE, "COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWN,
                        0, 0, kComboWidth, kComboDropHeight, toolbar_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SEARCH_COMBO)),
                        ResourceInstance(), nullptr);
    if (combo_ == nullptr) {
        return false;
    }
    SendMessageA(combo_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    SendMessageA(combo_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kSelectionFieldHeight);
    for (const FileTypeClass& type_class : FileTypeClasses()) {
        const std::string text = LoadText(type_class.display_text_id);
        const LRESULT index =
            SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) {
            // The entry refers to the table's constant text; nothing copies or frees it.
            SendMessageA(combo_, CB_SETITEMDATA, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(type_class.expression));
        }
    }
    SendMessageA(combo_, CB_SETCURSEL, 0, 0);

    HWND edit = FindWindowExA(combo_, nullptr, "EDIT", nullptr);
    return edit != nullptr && edit_.Subclass(edit);
}

void SearchBar::Layout() {
    if (toolbar_ == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(toolbar_, &client);
    const int width = client.right - client.left;
    constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (label_.hwnd() != nullptr) {
        SetWindowPos(label_.hwnd(), nullptr, width - 508, 2, 0, 0, kMoveOnly);
    }
    if (combo_ != nullptr) {
        SetWindowPos(combo_, nullptr, width - 444, 1, 0, 0, kMoveOnly);
    }
    TBBUTTONINFOA item{};
    item.cbSize = sizeof(item);
    // No image: the item stands for the space under the label and the box, and the first image
    // (Up) that it would otherwise show centred in that space appears beside the label.
    item.dwMask = TBIF_BYINDEX | TBIF_SIZE | TBIF_STYLE | TBIF_IMAGE;
    item.fsStyle = BTNS_DROPDOWN;
    item.iImage = I_IMAGENONE;
    // Below 210 pixels the width would wrap around as an unsigned 16-bit value and push the
    // buttons after it far off the bar.
    item.cx = static_cast<WORD>(width > 210 ? width - 210 : 0);
    SendMessageA(toolbar_, TB_SETBUTTONINFOA, kPatternItem, reinterpret_cast<LPARAM>(&item));
}

void SearchBar::RequestSearch() {
    if (combo_ == nullptr) {
        return;
    }
    const int length = GetWindowTextLengthA(combo_);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(combo_, text.data(), length + 1)));

    SearchRequest request{};
    request.header.hwndFrom = toolbar_;
    request.header.idFrom = ID_BARS;
    request.header.code = 0;
    request.text = text.c_str();
    const LRESULT selected = SendMessageA(combo_, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
        const LRESULT data = SendMessageA(combo_, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
        if (data == CB_ERR || data == 0) {
            return;
        }
        request.pattern = reinterpret_cast<const char*>(data);
        request.is_class = 1;
    } else if (!text.empty()) {
        request.pattern = request.text;
        request.is_class = 0;
    } else {
        return;
    }
    // The rebar passes its child's notification on to the main window.
    SendMessageA(GetParent(toolbar_), WM_NOTIFY, ID_BARS, reinterpret_cast<LPARAM>(&request));
}

// ---- PatternEdit ----

LRESULT SearchBar::PatternEdit::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_KEYDOWN && wparam == VK_RETURN) {
        bar_.RequestSearch();
        return 0;
    }
    return DefaultProc(message, wparam, lparam);
}

}  // namespace tov
