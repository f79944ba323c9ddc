// Typing into an owner-data list: the control asks its parent for the row whose item text (column
// 0) matches what was typed, and the answer is the row's position or -1.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/file_list_control_win.h"
#include "ui/row_find.h"

namespace tov {
namespace {

// LVFI_SUBSTRING, which newer lists take as LVFI_PARTIAL; not every SDK names it.
constexpr UINT kFindSubstring = 0x0004;

}  // namespace

LRESULT FileListControl::FindRow(const NMLVFINDITEMA& request) {
    return AnswerFind(request.iStart, request.lvfi.flags,
                      request.lvfi.psz != nullptr ? request.lvfi.psz : "");
}

LRESULT FileListControl::FindRow(const NMLVFINDITEMW& request) {
    const wchar_t* wanted = request.lvfi.psz != nullptr ? request.lvfi.psz : L"";
    const int wide_length = lstrlenW(wanted);
    std::string text;
    if (wide_length > 0) {
        const int length =
            WideCharToMultiByte(CP_ACP, 0, wanted, wide_length, nullptr, 0, nullptr, nullptr);
        text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
        BOOL lossy = FALSE;
        WideCharToMultiByte(CP_ACP, 0, wanted, wide_length, text.data(), length, nullptr, &lossy);
        if (lossy) {
            return -1;  // a character outside the code page is in no row
        }
    }
    return AnswerFind(request.iStart, request.lvfi.flags, text);
}

LRESULT FileListControl::AnswerFind(int start, UINT flags, std::string_view wanted) {
    if (flags & LVFI_PARAM) {
        return -1;  // the rows carry no item data that a find could compare
    }
    // Without a text to compare, every row matches, as in a standard list.
    const bool by_text = (flags & (LVFI_STRING | LVFI_PARTIAL | kFindSubstring)) != 0;
    const RowFind find(wanted, !by_text || (flags & (LVFI_PARTIAL | kFindSubstring)) != 0);
    // A find reads a byte a row, and the text only of rows of another kind. Rows made without
    // their kinds get them here, in the order the rows lie in the listing: the order shown is
    // random against it, and reading a million lines at random costs several times more.
    std::vector<StatusKind>& kinds = rows_.status_kinds;
    if (kinds.size() != rows_.rows.size()) {
        kinds.clear();
        kinds.reserve(rows_.rows.size());
        for (const FileRow& row : rows_.rows) {
            kinds.push_back(StatusKindOf(rows_.Status(row)));
        }
    }
    const bool kind_matches[] = {find.Matches(""), find.Matches("bien"), find.Matches("mal")};
    const std::int64_t found =
        RowFind::FindIf(RowCount(), start, (flags & LVFI_WRAP) != 0, [&](std::size_t position) {
            const StatusKind kind = kinds[order_[position]];
            return kind == StatusKind::Other ? find.Matches(CheckStatusAt(position))
                                             : kind_matches[static_cast<int>(kind)];
        });
    if (found >= 0 && typing_) {
        // The control selects the row found next. Wine's list, asked to move the selection of
        // an owner-data list from one row to another, takes seconds for a million rows; from
        // no selection it takes no time.
        ClearSelection();
    }
    return static_cast<LRESULT>(found);
}

}  // namespace tov
