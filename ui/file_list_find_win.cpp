// Typing into an owner-data list: the control asks its parent for the row whose item text (column
// 0) matches what was typed, and the answer is the row's position or -1.
#include <string>

#include "ui/file_list_control_win.h"
#include "ui/row_find.h"

namespace tov {
namespace {

// LVFI_SUBSTRING, which newer lists take as LVFI_PARTIAL; not every SDK names it.
constexpr UINT kFindSubstring = 0x0004;

LRESULT FindStatus(const FileListControl& list, int start, UINT flags, std::string_view wanted) {
    if (flags & LVFI_PARAM) {
        return -1;  // the rows carry no item data that a find could compare
    }
    // Without a text to compare, every row matches, as in a standard list.
    const bool by_text = (flags & (LVFI_STRING | LVFI_PARTIAL | kFindSubstring)) != 0;
    const RowFind find(wanted, !by_text || (flags & (LVFI_PARTIAL | kFindSubstring)) != 0);
    return static_cast<LRESULT>(
        find.Find(list.RowCount(), start, (flags & LVFI_WRAP) != 0,
                  [&list](std::size_t position) { return list.StatusAt(position); }));
}

}  // namespace

LRESULT FileListControl::FindRow(const NMLVFINDITEMA& request) const {
    const char* wanted = request.lvfi.psz != nullptr ? request.lvfi.psz : "";
    return FindStatus(*this, request.iStart, request.lvfi.flags, wanted);
}

LRESULT FileListControl::FindRow(const NMLVFINDITEMW& request) const {
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
    return FindStatus(*this, request.iStart, request.lvfi.flags, text);
}

}  // namespace tov
