// Toolbars built from toolbar resources (RT_TOOLBAR): a version, the image width and height,
// the count and the command identifiers, 0 standing for a separator. Each command becomes an
// enabled push button with the next image of the bitmap of the same identifier.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace tov {

constexpr WORD kToolbarResourceType = 241;  // RT_TOOLBAR

// The styles of the program's toolbars.
constexpr DWORD kToolbarStyle = WS_CHILD | WS_VISIBLE | CCS_NODIVIDER | CCS_NORESIZE |
                                CCS_NOPARENTALIGN | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT;

struct ToolbarResource {
    WORD image_width = 0;
    WORD image_height = 0;
    std::vector<WORD> items;  // 0 = separator
};

// Reads a toolbar resource; false when it is missing or malformed.
bool LoadToolbarResource(HINSTANCE instance, UINT id, ToolbarResource& resource);

// Creates the toolbar as a child of `parent`. A missing resource gives a toolbar without
// buttons; nullptr only when the window itself cannot be created.
HWND CreateToolbarFromResource(HWND parent, UINT resource_id, DWORD style, UINT control_id);

// The text after the first "\n" of the string `id`, loaded into a buffer of `buffer_size`
// bytes (so at most buffer_size - 1 bytes of it are read) and cut to `max_length` bytes.
// Empty when the string has no "\n"; the whole string instead when `whole_if_no_newline`.
std::string CommandText(UINT id, std::size_t buffer_size, std::size_t max_length,
                        bool whole_if_no_newline = false);

// The tooltip of a button: CommandText with a 256-byte buffer, cut to 79 characters.
std::string ToolbarTooltip(UINT command);

// Indexes of the buttons and separators that the toolbar does not show whole in its
// client area (they are hidden with TBSTYLE_EX_HIDECLIPPEDBUTTONS), in button order.
std::vector<int> ClippedButtons(HWND toolbar);

}  // namespace tov
