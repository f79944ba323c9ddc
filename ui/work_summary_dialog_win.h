// The modeless work-summary dialog: job details and check statistics of the listing.
#pragma once

#include <windows.h>

namespace tov {

class WorkSummaryDialog {
public:
    // Creates the dialog from its template, hidden, owned by `owner`.
    bool Create(HWND owner);
    HWND hwnd() const { return window_; }

private:
    HWND window_ = nullptr;
};

}  // namespace tov
