#include "ui/rebar_win.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"
#include "ui/toolbar_win.h"

namespace tov {

HWND CreateRebar(HWND parent, UINT control_id) {
    HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                     RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER,
                                 0, 0, 100, 100, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control_id)),
                                 ResourceInstance(), nullptr);
    if (rebar == nullptr) {
        return nullptr;
    }
    REBARINFO info{};
    info.cbSize = sizeof(info);
    if (!SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info))) {
        DestroyWindow(rebar);
        return nullptr;
    }
    return rebar;
}

bool AddToolbarBand(HWND rebar, HWND toolbar, bool new_row) {
    if (rebar == nullptr || toolbar == nullptr) {
        return false;
    }
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask =
        RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID | RBBIM_IDEALSIZE;
    const auto buttons = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    band.fStyle = RBBS_CHILDEDGE;
    if (buttons > 0) {
        band.fStyle |= RBBS_USECHEVRON;
    }
    if (new_row) {
        band.fStyle |= RBBS_BREAK;
    }
    band.hwndChild = toolbar;
    band.wID = ID_FIRST_BAND + static_cast<UINT>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));

    int width = 0;
    int height = 0;
    int min_width = 0;
    if (buttons > 0) {
        RECT first{};
        RECT last{};
        SendMessageA(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        SendMessageA(toolbar, TB_GETITEMRECT, buttons - 1, reinterpret_cast<LPARAM>(&last));
        width = last.right;
        height = last.bottom - last.top;
        // Narrower than its buttons, the band shows the first one and the chevron.
        min_width = first.right;
    } else {
        RECT window{};
        GetWindowRect(toolbar, &window);
        width = window.right - window.left;
        height = window.bottom - window.top;
        min_width = width;
    }
    band.cxMinChild = static_cast<UINT>(min_width);
    band.cyMinChild = static_cast<UINT>(height);
    band.cx = static_cast<UINT>(width);
    band.cxIdeal = static_cast<UINT>(width);
    if (!SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(&band))) {
        return false;
    }
    const auto ex_style = static_cast<DWORD>(SendMessageA(toolbar, TB_GETEXTENDEDSTYLE, 0, 0));
    SendMessageA(toolbar, TB_SETEXTENDEDSTYLE, 0, ex_style | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    return true;
}

HMENU BuildChevronMenu(HWND toolbar) {
    const std::vector<int> clipped = ClippedButtons(toolbar);
    if (clipped.empty()) {
        return nullptr;
    }
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return nullptr;
    }
    // Separators only between items: none first, last or twice in a row. An item without a
    // command (the widened place that holds the search box) separates like a separator.
    bool separate = false;
    for (int index : clipped) {
        TBBUTTON button{};
        SendMessageA(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
        if ((button.fsStyle & BTNS_SEP) || button.idCommand == 0) {
            separate = GetMenuItemCount(menu) > 0;
            continue;
        }
        if (separate) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            separate = false;
        }
        const auto command = static_cast<UINT>(button.idCommand);
        // A string without "\n" labels the item with all of it rather than with nothing.
        const std::string label = CommandText(command, 200, 199, true);
        UINT flags = MF_STRING;
        if (!(button.fsState & TBSTATE_ENABLED)) {
            flags |= MF_GRAYED;
        }
        if (button.fsState & TBSTATE_CHECKED) {
            flags |= MF_CHECKED;
        }
        AppendMenuA(menu, flags, command, label.c_str());
    }
    if (GetMenuItemCount(menu) <= 0) {
        DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}

void ShowChevronMenu(HWND rebar, UINT band, const RECT& chevron, HWND command_target) {
    REBARBANDINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILD;
    if (!SendMessageA(rebar, RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info)) ||
        info.hwndChild == nullptr) {
        return;
    }
    MenuHandle menu(BuildChevronMenu(info.hwndChild));
    if (!menu) {
        MessageBeep(MB_OK);
        return;
    }
    RECT screen = chevron;
    MapWindowPoints(rebar, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    TPMPARAMS params{};
    params.cbSize = sizeof(params);
    params.rcExclude = screen;
    const auto command = static_cast<UINT>(
        TrackPopupMenuEx(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD,
                         screen.left, screen.bottom, command_target, &params));
    if (command != 0) {
        SendMessageA(command_target, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                     reinterpret_cast<LPARAM>(info.hwndChild));
    }
}

}  // namespace tov
