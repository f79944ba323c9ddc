// Keeping a main window's owned windows where the user expects them: a dialog that waits for an
// answer stays the one in front, and windows it owns stay above their owner.
#pragma once

#include <windows.h>

namespace tov {

// The window that takes the user's input for `owner` at this moment: `owner` itself while it is
// enabled, otherwise the enabled dialog of this thread that it (or such a dialog) owns, which
// is the modal dialog that disabled it. `ignore` (a modeless dialog that stays enabled) is never
// chosen. A box shown now should be owned by this window, so that closing the box hands the
// input back to it rather than re-enabling `owner` under a dialog that still waits.
HWND InputOwner(HWND owner, HWND ignore);

// Brings the visible windows that `owner` owns, directly or through other owned windows, back
// in front of it, in their present order. Wine's own desktop raises an activated owner over its
// owned windows on screen while its z-order still has them above it; call this once the
// activation is complete (after WM_ACTIVATE has returned).
void RaiseOwnedWindows(HWND owner);

}  // namespace tov
