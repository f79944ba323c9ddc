#include "search/search_bar_win.h"

namespace tov {

bool SearchBar::Create(HWND main_toolbar) {
    toolbar_ = main_toolbar;
    return true;
}

void SearchBar::Layout() {}

void SearchBar::RequestSearch() {}

}  // namespace tov
