// A pane with a title line and a close button at its right end above one client window that
// fills the rest. The close button hides nothing by itself: it sends WM_COMMAND
// ID_RESULTS_CLOSE to the container's parent. WM_NOTIFY and WM_COMMAND of the client go on to
// the parent unchanged.
#pragma once

#include <windows.h>

#include "ui/window_win.h"

namespace tov {

class PaneContainer : public Window {
  public:
    static constexpr int kTitleCapacity = 80;  // bytes, the final NUL included

    HWND Create(HWND parent, const char* title, DWORD style, DWORD ex_style = 0);

    // Stores at most 79 bytes of the title, shows it, and makes it the window text too.
    void SetTitle(const char* title);
    const char* title() const { return title_; }

    void SetClient(HWND client);
    HWND client() const { return client_; }

    void UpdateLayout();
    int title_height() const;
    // The close button in client coordinates.
    RECT CloseButtonRect() const;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void DescribeClass(WNDCLASSEXA& window_class) const override;

  private:
    void OnPaint();
    void PressClose(bool pressed);

    char title_[kTitleCapacity] = {};
    HWND client_ = nullptr;
    bool tracking_close_ = false;
    bool close_pressed_ = false;
};

}  // namespace tov
