// The four-column list of folders and files: check mark, Name, Size, Date. Its instances are the
// FileList (the selected folder's contents) and the ResultsList (search results). The list view
// runs in owner-data mode over the rows held here: the control asks for the texts and icons of
// the rows it shows, so a list of a million rows fills and sorts at once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listing/file_row.h"
#include "ui/compare_rows.h"
#include "ui/file_icons_win.h"
#include "ui/handles_win.h"
#include "ui/window_win.h"

namespace tov {

class FileListControl : public Window {
  public:
    static constexpr int kNoRow = -1;

    // Creates the list view as a child of `parent` with the given control identifier; the
    // shell's small system image list is given, not owned (nullptr: set later).
    bool Create(HWND parent, UINT control_id, HIMAGELIST system_small_images);

    // Replaces all rows and shows them sorted by the current sort column and direction; the
    // selection is cleared and the list scrolled to the top.
    void SetRows(RowSet rows);
    // Sorts by a column and direction: column -1 keeps the settings, direction 0 keeps the
    // direction. The selected row stays selected where it moves to.
    void SortRows(int column, int direction);
    SortSettings sort_settings() const { return sort_; }

    // Rows by displayed position (the current sort order).
    std::size_t RowCount() const { return order_.size(); }
    const FileRow& RowAt(std::size_t position) const { return rows_.rows[order_[position]]; }
    std::string CellText(std::size_t position, int column) const;
    // Column 0 of the row at a displayed position, the check status as written (empty for a
    // folder): the text that typing into the list finds, as in a standard list whose items carry
    // that text.
    std::string_view CheckStatusAt(std::size_t position) const {
        return rows_.Status(RowAt(position));
    }
    const RowSet& rows() const { return rows_; }

    // The first selected row's position, or kNoRow.
    int FirstSelected() const;
    // Selects and focuses the row at `position` and scrolls it fully into view.
    bool SelectRow(int position);

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    // The control's find request (typing into the list): the position found, or -1.
    LRESULT FindRow(const NMLVFINDITEMA& request);
    LRESULT FindRow(const NMLVFINDITEMW& request);
    LRESULT AnswerFind(int start, UINT flags, std::string_view wanted);
    void FillDisplayInfo(LVITEMA& item);
    void FillDisplayInfo(LVITEMW& item);
    int IconOf(std::size_t row);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    void DrawEmptyText(HDC dc);
    void ClearSelection();
    void ShowSortedRows(std::vector<std::uint32_t> order, int keep_selected_row);

    RowSet rows_;
    std::vector<std::uint32_t> order_;  // displayed position -> index into rows_.rows
    SortSettings sort_;
    ImageListHandle check_marks_;
    FileIcons file_icons_;
    int closed_folder_icon_ = I_IMAGENONE;
    bool typing_ = false;  // while the control handles a typed character
};

}  // namespace tov
