#include "ui/work_summary_dialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "listing/work_summary.h"
#include "res/resource.h"
#include "ui/text_win.h"

namespace tov {
namespace {

// How the controls follow the dialog's size. The edit, the list's caption, the list and the
// note share the extra width by their place in the group; the edit takes all extra height
// while the list and the note move down in proportion. The picture and the caption of the
// edit are left where they are.
constexpr std::array<AnchorRule, 4> kResizeRules = {{
    {IDC_TEXT, Anchor::Scale, Anchor::Stretch, true},
    {IDC_CHECK_CAPTION, Anchor::Shift, Anchor::Fixed, true},
    {IDC_CHECK_LIST, Anchor::Scale, Anchor::Scale, true},
    {IDC_NOTE, Anchor::Scale, Anchor::Shift, true},
}};

constexpr int kTabStopDialogUnits = 72;

struct ColumnSpec {
    UINT title;
    int format;
    int width;
};

constexpr std::array<ColumnSpec, 3> kColumns = {{
    {IDS_COLUMN_TYPE, LVCFMT_LEFT, 185},
    {IDS_COLUMN_CORRECT, LVCFMT_CENTER, 75},
    {IDS_COLUMN_INCORRECT, LVCFMT_CENTER, 78},
}};

LayoutRect ChildRect(HWND dialog, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

WorkSummaryDialog::~WorkSummaryDialog() {
    // The base destroys a window that is still there, but no longer through this class.
    RemoveFilter();
}

bool WorkSummaryDialog::Create(HWND owner) {
    return CreateModeless(owner, IDD_WORK_SUMMARY) != nullptr;
}

bool WorkSummaryDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            result = TRUE;
            return true;
        case WM_CLOSE:
            // The dialog lives as long as its owner; the owner's command hides it and keeps
            // the toolbar button in step.
            SendMessageA(GetWindow(hwnd(), GW_OWNER), WM_COMMAND, MAKEWPARAM(ID_SHOW_SUMMARY, 0),
                         0);
            result = TRUE;
            return true;
        case WM_COMMAND:
            if (LOWORD(wparam) == IDC_TEXT && HIWORD(wparam) == EN_SETFOCUS) {
                // Tabbing into an edit selects all of it; show it from its start instead.
                const HWND edit = reinterpret_cast<HWND>(lparam);
                SendMessageA(edit, EM_SETSEL, 0, 0);
                SendMessageA(edit, EM_SCROLLCARET, 0, 0);
                result = TRUE;
                return true;
            }
            return false;
        case WM_SIZE:
            if (wparam != SIZE_MINIMIZED) {
                OnSize(LOWORD(lparam), HIWORD(lparam));
            }
            return false;
        case WM_DESTROY:
            RemoveFilter();
            return false;
        default:
            return false;
    }
}

void WorkSummaryDialog::RemoveFilter() {
    if (filter_loop_ != nullptr) {
        filter_loop_->RemoveMessageFilter(this);
        filter_loop_ = nullptr;
    }
}

void WorkSummaryDialog::OnInitDialog() {
    // Children are moved on every resize; clipping them keeps the dialog's background from
    // painting over them.
    SetWindowLongPtrA(hwnd(), GWL_STYLE, GetWindowLongPtrA(hwnd(), GWL_STYLE) | WS_CLIPCHILDREN);

    RECT client{};
    GetClientRect(hwnd(), &client);
    std::vector<LayoutRect> originals;
    layout_ids_.clear();
    for (const AnchorRule& rule : kResizeRules) {
        originals.push_back(ChildRect(hwnd(), GetDlgItem(hwnd(), rule.id)));
        layout_ids_.push_back(rule.id);
    }
    layout_.emplace(kResizeRules, originals, client.right, client.bottom);

    CenterOverOwner(hwnd());

    SetDlgItemTextA(hwnd(), IDC_TEXT, "");

    const HINSTANCE instance = ResourceInstance();
    const auto small_icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    const auto large_icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                          IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                          GetSystemMetrics(SM_CYICON), LR_SHARED));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large_icon));

    if (MessageLoop* loop = MessageLoop::Current()) {
        if (loop->AddMessageFilter(this)) {
            filter_loop_ = loop;
        }
    }

    // One stop repeats every 72 dialog units, so the values after ":\t" line up.
    int tab_stop = kTabStopDialogUnits;
    SendDlgItemMessageA(hwnd(), IDC_TEXT, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tab_stop));

    const HWND list = GetDlgItem(hwnd(), IDC_CHECK_LIST);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        std::string title = LoadText(kColumns[i].title);
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = kColumns[i].width;
        column.pszText = title.data();
        column.iSubItem = static_cast<int>(i);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void WorkSummaryDialog::OnSize(int width, int height) {
    if (!layout_) {
        return;
    }
    const std::vector<LayoutRect> arranged = layout_->Arrange(width, height);
    HDWP positions = BeginDeferWindowPos(static_cast<int>(arranged.size()));
    for (std::size_t i = 0; i < arranged.size() && positions != nullptr; ++i) {
        const LayoutRect& rect = arranged[i];
        positions =
            DeferWindowPos(positions, GetDlgItem(hwnd(), layout_ids_[i]), nullptr, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (positions != nullptr) {
        EndDeferWindowPos(positions);
    }
    // Everything is painted anew, frames and scroll bars included: moved statics do not repaint
    // on their own, and pictures copied along with the controls left half-erased labels and a
    // scroll bar where none is.
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool WorkSummaryDialog::PreTranslateMessage(MSG* message) {
    return hwnd() != nullptr && IsDialogMessageA(hwnd(), message) != FALSE;
}

std::string WorkSummaryDialog::WorkText() const {
    const HWND edit = GetDlgItem(hwnd(), IDC_TEXT);
    const int length = GetWindowTextLengthA(edit);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void WorkSummaryDialog::AppendWorkLine(std::string_view line) {
    AppendWorkLines({std::string(line)});
}

void WorkSummaryDialog::AppendWorkLines(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    std::string text = WorkText();
    std::size_t total = text.size();
    for (const std::string& line : lines) {
        total += line.size() + 2;
    }
    text.reserve(total);
    for (const std::string& line : lines) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += line;
    }
    SetDlgItemTextA(hwnd(), IDC_TEXT, text.c_str());
}

void WorkSummaryDialog::AddCheckRow(const std::string& type, const std::string& good,
                                    const std::string& bad) {
    const HWND list = GetDlgItem(hwnd(), IDC_CHECK_LIST);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(type.c_str());
    const int index =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) {
        return;
    }
    LVITEMA column{};
    column.iSubItem = 1;
    column.pszText = const_cast<char*>(good.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&column));
    column.iSubItem = 2;
    column.pszText = const_cast<char*>(bad.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&column));
}

namespace {

WorkSummaryLabels LoadWorkSummaryLabels() {
    WorkSummaryLabels labels;
    for (std::size_t i = 0; i < kHeaderKeyCount; ++i) {
        labels.header[i] = LoadText(IDS_HEADER_LABEL_FIRST + static_cast<UINT>(i));
    }
    for (std::size_t i = 0; i < kStatisticsKeyCount; ++i) {
        labels.statistics[i] = LoadText(IDS_STATS_LABEL_FIRST + static_cast<UINT>(i));
    }
    labels.left_out = LoadText(IDS_LINES_LEFT_OUT);
    return labels;
}

}  // namespace

void FillWorkSummary(WorkSummaryDialog& dialog, const ListingDocument& document) {
    const WorkSummary summary = ReadWorkSummary(document, LoadWorkSummaryLabels());
    dialog.AppendWorkLines(summary.work_lines);
    const HWND list = GetDlgItem(dialog.hwnd(), IDC_CHECK_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (const CheckRow& row : summary.check_rows) {
        dialog.AddCheckRow(row.type, row.good, row.bad);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SetFocus(dialog.hwnd());
}

}  // namespace tov
