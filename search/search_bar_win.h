// The search controls on the main toolbar: label, pattern box and the Enter key.
#pragma once

#include <windows.h>

namespace tov {

class SearchBar {
public:
    // Creates the label and the pattern box on the main toolbar.
    bool Create(HWND main_toolbar);
    // Places the controls for the toolbar's current width; called on every WM_SIZE.
    void Layout();
    // Sends the search request for the box's text or picked class, if any.
    void RequestSearch();
    HWND toolbar() const { return toolbar_; }

private:
    HWND toolbar_ = nullptr;
};

}  // namespace tov
