// Toolbars hosted in rebar bands, and the chevron menu of a band that is too narrow.
#pragma once

#include <windows.h>

namespace tov {

// The rebar of the main window: identifier ID_BARS, variable height, band borders, auto-size.
// An empty RB_SETBARINFO is sent; when it fails the rebar is destroyed and nullptr returned.
HWND CreateRebar(HWND parent, UINT control_id);

// Adds the toolbar as the rebar's next band: identifier ID_FIRST_BAND + number of bands present,
// child edge, a chevron when the toolbar has buttons, a new row when `new_row`. Minimum and
// ideal size come from the button rectangles (the window rectangle when there are none).
// Afterwards the toolbar hides clipped buttons.
bool AddToolbarBand(HWND rebar, HWND toolbar, bool new_row);

// A popup menu with one item per clipped button of the toolbar that has a command, labelled
// with the text after the first "\n" of its string (200-byte buffer); clipped separators (and
// items without a command) give one separator between two items, never at either end.
// Disabled buttons give greyed items, checked buttons checked ones. nullptr when no such button
// is clipped.
HMENU BuildChevronMenu(HWND toolbar);

// The chevron of band `band` of `rebar` was pressed at `chevron` (rebar client coordinates):
// shows the menu and sends the chosen command to `command_target`; beeps when no button is
// hidden.
void ShowChevronMenu(HWND rebar, UINT band, const RECT& chevron, HWND command_target);

}  // namespace tov
