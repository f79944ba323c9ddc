// The search controls on the main toolbar: the "Search:" label, the pattern box with the
// file-type classes, and the Enter key that starts a search.
#pragma once

#include <windows.h>

#include "ui/window_win.h"

namespace tov {

// A label of the program's own class: its window text drawn right-aligned in the GUI font over
// whatever the toolbar painted behind it.
class SearchLabel : public Window {
  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void OnPaint();
};

class SearchBar {
  public:
    SearchBar() : edit_(*this) {}
    SearchBar(const SearchBar&) = delete;
    SearchBar& operator=(const SearchBar&) = delete;

    // Creates the label and the pattern box on the main toolbar.
    bool Create(HWND main_toolbar);
    // Places the controls for the toolbar's current width; called on every WM_SIZE.
    void Layout();
    // Sends the search request for the box's text or picked class, if any.
    void RequestSearch();

    HWND toolbar() const { return toolbar_; }
    HWND label() const { return label_.hwnd(); }
    HWND combo() const { return combo_; }
    HWND edit() const { return edit_.hwnd(); }

  private:
    // The box's edit field: Enter starts the search, everything else is the field's own.
    class PatternEdit : public Window {
      public:
        explicit PatternEdit(SearchBar& bar) : bar_(bar) {}

      protected:
        LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

      private:
        SearchBar& bar_;
    };

    HWND toolbar_ = nullptr;
    SearchLabel label_;
    HWND combo_ = nullptr;
    PatternEdit edit_;
};

}  // namespace tov
