#include "ui/file_list_control_win.h"

#include <algorithm>
#include <utility>

#include "listing/file_line.h"
#include "res/resource.h"
#include "ui/reflect_win.h"
#include "ui/system_icons_win.h"
#include "ui/text_win.h"

namespace tov {
namespace {

constexpr COLORREF kShadedRow = RGB(248, 248, 248);
constexpr COLORREF kPlainRow = RGB(255, 255, 255);

COLORREF RowBackground(DWORD_PTR position) {
    return position % 2 == 0 ? kShadedRow : kPlainRow;
}

// The check-mark image of a status: 1 the tick, 2 the cross, 0 blank.
int CheckMarkImage(std::string_view status) {
    switch (ReadCheckStatus(status)) {
        case CheckStatus::Good:
            return 1;
        case CheckStatus::Bad:
            return 2;
        default:
            return 0;
    }
}

COLORREF Blend(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

// The shading of a row, or the selection colours of the selected one. The shading would
// otherwise paint over the selection, which must stay visible while the focus is elsewhere (the
// file that a jump from a search result selected): then in a lighter tone of the highlight.
void ShadeRow(HWND list, NMLVCUSTOMDRAW& draw) {
    const auto position = static_cast<int>(draw.nmcd.dwItemSpec);
    if (ListView_GetItemState(list, position, LVIS_SELECTED) == 0) {
        draw.clrTextBk = RowBackground(draw.nmcd.dwItemSpec);
        return;
    }
    // Drawn as selected, the row would get the control's own colours whatever is set here, and
    // the unfocused one is hardly darker than the shading. So the control draws a plain row in
    // the colours set here.
    draw.nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
    if (GetFocus() == list) {
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        draw.clrTextBk = Blend(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW));
        draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
    }
}

}  // namespace

bool FileListControl::Create(HWND parent, UINT control_id, HIMAGELIST system_small_images) {
    HWND window = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA, 0,
        0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control_id)),
        GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) {
        return false;
    }
    if (!Subclass(window)) {
        DestroyWindow(window);
        return false;
    }
    // The rows are 8-bit text: have the control ask for them in that form, whatever its
    // parent answers to WM_NOTIFYFORMAT.
    SendMessageA(window, LVM_SETUNICODEFORMAT, FALSE, 0);
    if (system_small_images != nullptr) {
        ListView_SetImageList(window, system_small_images, LVSIL_SMALL);
    }
    closed_folder_icon_ = FetchSystemIcons().closed_folder;

    check_marks_.reset(ImageList_LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(IDB_CHECK_MARKS),
                                            16, 0, RGB(255, 0, 255), IMAGE_BITMAP, 0));

    struct ColumnSpec {
        UINT text_id;  // 0: no header text
        int width;
        int format;
    };
    const ColumnSpec columns[] = {{0, 24, LVCFMT_LEFT},
                                  {IDS_COLUMN_NAME, 320, LVCFMT_LEFT},
                                  {IDS_COLUMN_SIZE, 72, LVCFMT_RIGHT},
                                  {IDS_COLUMN_DATE, 106, LVCFMT_RIGHT}};
    for (int i = 0; i < 4; ++i) {
        std::string header = columns[i].text_id != 0 ? LoadText(columns[i].text_id) : "";
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = columns[i].format;
        column.cx = columns[i].width;
        column.pszText = header.data();
        column.iSubItem = i;
        SendMessageA(window, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    ListView_SetExtendedListViewStyle(
        window, LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    sort_ = SortSettings{};
    SetRows(RowSet{});
    return true;
}

void FileListControl::SetRows(RowSet rows) {
    // The old rows and order go before the new order is made: a list of ten million rows
    // should not hold two of each at once. Running out of memory leaves the list empty.
    ClearSelection();
    order_ = {};
    rows_ = std::move(rows);
    try {
        order_ = SortOrder(rows_, sort_);
    } catch (const std::bad_alloc&) {
        rows_ = {};
        ListView_SetItemCountEx(hwnd(), 0, 0);
        throw;
    }
    ListView_SetItemCountEx(hwnd(), static_cast<int>(order_.size()), 0);
    if (!order_.empty()) {
        ListView_EnsureVisible(hwnd(), 0, FALSE);
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void FileListControl::SortRows(int column, int direction) {
    const SortSettings requested = ApplySortRequest(sort_, column, direction);
    const int selected = FirstSelected();
    const int selected_row = selected >= 0 && static_cast<std::size_t>(selected) < order_.size()
                                 ? static_cast<int>(order_[selected])
                                 : -1;
    // Sorted from a copy of the order: running out of memory leaves the rows as they were shown.
    std::vector<std::uint32_t> order = SortOrder(rows_, requested, order_);
    sort_ = requested;  // only once the rows are in that order
    ShowSortedRows(std::move(order), selected_row);
}

void FileListControl::ShowSortedRows(std::vector<std::uint32_t> order, int keep_selected_row) {
    order_ = std::move(order);
    ClearSelection();
    if (keep_selected_row >= 0) {
        const auto found =
            std::find(order_.begin(), order_.end(), static_cast<std::uint32_t>(keep_selected_row));
        if (found != order_.end()) {
            const int position = static_cast<int>(found - order_.begin());
            ListView_SetItemState(hwnd(), position, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

std::string FileListControl::CellText(std::size_t position, int column) const {
    if (position >= order_.size()) {
        return {};
    }
    return tov::CellText(rows_, RowAt(position), column);
}

void FileListControl::ClearSelection() {
    // Item by item: asked to clear every row at once, Wine's list view visits each of them.
    for (int guard = 0; guard < 8; ++guard) {
        const int selected = ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED);
        if (selected < 0) {
            break;
        }
        ListView_SetItemState(hwnd(), selected, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (guard == 7) {
            ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED);
        }
    }
    const int focused = ListView_GetNextItem(hwnd(), -1, LVNI_FOCUSED);
    if (focused >= 0) {
        ListView_SetItemState(hwnd(), focused, 0, LVIS_FOCUSED);
    }
}

int FileListControl::FirstSelected() const {
    return ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED);
}

bool FileListControl::SelectRow(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= order_.size()) {
        return false;
    }
    ClearSelection();
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!SendMessageA(hwnd(), LVM_SETITEMSTATE, position, reinterpret_cast<LPARAM>(&item))) {
        return false;
    }
    ListView_EnsureVisible(hwnd(), position, FALSE);
    return true;
}

LRESULT FileListControl::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_XBUTTONUP: {
            // Either extra mouse button means "back"; the parent decides what that does here.
            NMHDR header{};
            header.hwndFrom = hwnd();
            header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd()));
            header.code = static_cast<UINT>(NM_BACK);
            SendMessageA(GetParent(hwnd()), WM_NOTIFY, header.idFrom,
                         reinterpret_cast<LPARAM>(&header));
            return 0;
        }
        case WM_CHAR: {
            // A typed character makes the control find a row and select it (AnswerFind).
            const bool was_typing = std::exchange(typing_, true);
            const LRESULT result = DefaultProc(message, wparam, lparam);
            typing_ = was_typing;
            return result;
        }
        case WM_REFLECTED_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lparam);
            if (header != nullptr && header->hwndFrom == hwnd()) {
                switch (header->code) {
                    case LVN_GETDISPINFOA:
                        FillDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(header)->item);
                        return 0;
                    case LVN_GETDISPINFOW:
                        FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
                        return 0;
                    case LVN_ODFINDITEMA:
                        return FindRow(*reinterpret_cast<NMLVFINDITEMA*>(header));
                    case LVN_ODFINDITEMW:
                        return FindRow(*reinterpret_cast<NMLVFINDITEMW*>(header));
                    case LVN_COLUMNCLICK: {
                        const SortSettings clicked =
                            ClickColumn(sort_, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
                        SortRows(clicked.column, clicked.direction);
                        return 0;
                    }
                    case NM_CUSTOMDRAW:
                        return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
                }
            }
            break;
        }
    }
    return DefaultProc(message, wparam, lparam);
}

int FileListControl::IconOf(std::size_t row) {
    const FileRow& file_row = rows_.rows[row];
    return file_row.is_folder() ? closed_folder_icon_ : file_icons_.IconFor(rows_.Name(file_row));
}

void FileListControl::FillDisplayInfo(LVITEMA& item) {
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= order_.size()) {
        return;
    }
    const std::uint32_t row = order_[item.iItem];
    if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
        // Only what the list can show is built: a path may run to megabytes in a deep listing.
        const std::string text = tov::CellText(rows_, rows_.rows[row], item.iSubItem,
                                               static_cast<std::size_t>(item.cchTextMax - 1));
        std::copy_n(text.data(), text.size(), item.pszText);
        item.pszText[text.size()] = '\0';
    }
    if (item.mask & LVIF_IMAGE) {
        item.iImage = item.iSubItem == 1 ? IconOf(row) : I_IMAGENONE;
    }
}

void FileListControl::FillDisplayInfo(LVITEMW& item) {
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= order_.size()) {
        return;
    }
    const std::uint32_t row = order_[item.iItem];
    if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::string text = tov::CellText(rows_, rows_.rows[row], item.iSubItem,
                                               static_cast<std::size_t>(item.cchTextMax - 1));
        const int length =
            MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), item.pszText,
                                item.cchTextMax - 1);
        item.pszText[length > 0 ? length : 0] = L'\0';
    }
    if (item.mask & LVIF_IMAGE) {
        item.iImage = item.iSubItem == 1 ? IconOf(row) : I_IMAGENONE;
    }
}

LRESULT FileListControl::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            if (!order_.empty()) {
                return CDRF_NOTIFYITEMDRAW;
            }
            DrawEmptyText(draw.nmcd.hdc);
            return CDRF_SKIPDEFAULT;
        case CDDS_ITEMPREPAINT:
            ShadeRow(hwnd(), draw);
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            ShadeRow(hwnd(), draw);
            if (draw.iSubItem != 0) {
                return CDRF_DODEFAULT;
            }
            // The status text itself is never painted: its mark is drawn instead.
            const std::size_t position = draw.nmcd.dwItemSpec;
            if (position < order_.size()) {
                RECT icon{};
                icon.left = LVIR_ICON;
                SendMessageA(hwnd(), LVM_GETITEMRECT, position, reinterpret_cast<LPARAM>(&icon));
                ImageList_Draw(check_marks_.get(), CheckMarkImage(CheckStatusAt(position)),
                               draw.nmcd.hdc, icon.left, icon.top, ILD_NORMAL);
            }
            return CDRF_SKIPDEFAULT;
        }
    }
    return CDRF_DODEFAULT;
}

void FileListControl::DrawEmptyText(HDC dc) {
    RECT header{};
    HWND header_window = ListView_GetHeader(hwnd());
    if (header_window != nullptr) {
        GetWindowRect(header_window, &header);
    }
    auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd(), WM_GETFONT, 0, 0));
    SelectedObject selected(
        dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    const int previous_mode = SetBkMode(dc, TRANSPARENT);
    const std::string text = LoadText(IDS_EMPTY_LIST);
    TextOutA(dc, 6, (header.bottom - header.top) + 4, text.data(), static_cast<int>(text.size()));
    SetBkMode(dc, previous_mode);
}

}  // namespace tov
