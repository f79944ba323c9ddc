// The main window's first rectangle: 800 x 600 centred on the desktop.
#pragma once

namespace tov {

struct Rect {
    int left;
    int top;
    int right;
    int bottom;
    bool operator==(const Rect&) const = default;
};

inline constexpr int kMainWindowWidth = 800;
inline constexpr int kMainWindowHeight = 600;

// Shrinks the desktop rectangle by dx = (W - 800) / 2 on the left and right and by
// dy = (H - 600) / 2 at the top and bottom, both truncated toward zero. A desktop smaller than
// 800 x 600 gives a rectangle that reaches past it, still centred.
Rect CenteredWindowRect(const Rect& desktop);

}  // namespace tov
