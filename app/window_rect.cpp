#include "app/window_rect.h"

namespace tov {

Rect CenteredWindowRect(const Rect& desktop) {
    const int dx = (desktop.right - desktop.left - kMainWindowWidth) / 2;
    const int dy = (desktop.bottom - desktop.top - kMainWindowHeight) / 2;
    return Rect{desktop.left + dx, desktop.top + dy, desktop.right - dx, desktop.bottom - dy};
}

}  // namespace tov
