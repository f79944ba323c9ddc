// The search request that the search bar sends to the main window as a WM_NOTIFY: sender the
// main toolbar, control identifier ID_BARS, code 0. The pointers are valid only while the
// notification is handled; the receiver copies what it keeps.
#pragma once

#include <windows.h>

namespace tov {

struct SearchRequest {
    NMHDR header;
    const char* text;     // the combobox's text
    const char* pattern;  // the picked class's expression, or the text itself
    BYTE is_class;        // 1: pattern is a class expression; 0: typed text
};

}  // namespace tov
