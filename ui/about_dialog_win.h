// The about box: the program's name, version and notice, and the help text (IDS_HELP_TEXT) in a
// read-only edit that does not wrap. Modal over its owner; it keeps no state of its own.
#pragma once

#include <windows.h>

#include "ui/dialog_win.h"

namespace tov {

class AboutDialog : public Dialog {
  public:
    // Shows the box centred over `owner` until the user ends it: 1 for OK or Enter, 2 for
    // Escape or the close box; -1 when the dialog could not be created.
    INT_PTR Run(HWND owner);

  protected:
    bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, INT_PTR& result) override;

  private:
    void OnInitDialog();
};

}  // namespace tov
