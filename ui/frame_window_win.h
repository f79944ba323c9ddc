// A top-level frame with a rebar across the top and one client window filling the rest, and
// the handling such a frame does after its own handlers: the focus goes to the client, the
// background is not erased while a client exists, rebar height changes lay the frame out
// again, toolbar tooltips and chevron menus come from the command strings, a top-level frame
// posts WM_QUIT (exit code 1) when destroyed, and notifications nobody handled are sent back
// to their control as WM_REFLECTED_NOTIFY.
#pragma once

#include <windows.h>

#include "ui/window_win.h"

namespace tov {

class FrameWindow : public Window {
  public:
    HWND rebar() const { return rebar_; }
    HWND client() const { return client_; }

    // The rebar across the top (when there is one), the client below it.
    void UpdateLayout();

  protected:
    // The default frame handling; a derived HandleMessage ends with it.
    LRESULT FrameDefault(UINT message, WPARAM wparam, LPARAM lparam);
    // WM_NOTIFY: tooltips, rebar height and chevron; otherwise reflected to the sender.
    LRESULT OnFrameNotify(WPARAM wparam, LPARAM lparam);

    HWND rebar_ = nullptr;
    HWND client_ = nullptr;

  private:
    bool laying_out_ = false;  // the rebar reports height changes while it is being placed
};

}  // namespace tov
