#include "ui/owned_windows_win.h"

#include <cstring>
#include <vector>

namespace tov {
namespace {

// Ownership chains are short; the bound only guards against a cycle.
constexpr int kMaxOwnerDepth = 64;

bool IsDialogWindow(HWND window) {
    char name[8] = {};
    GetClassNameA(window, name, sizeof(name));
    return std::strcmp(name, "#32770") == 0;
}

bool IsOwnedBy(HWND window, HWND owner) {
    HWND current = GetWindow(window, GW_OWNER);
    for (int depth = 0; current != nullptr && depth < kMaxOwnerDepth; ++depth) {
        if (current == owner) {
            return true;
        }
        current = GetWindow(current, GW_OWNER);
    }
    return false;
}

struct OwnedDialogSearch {
    HWND owner;
    HWND ignore;
    HWND found;
};

BOOL CALLBACK FindEnabledOwnedDialog(HWND window, LPARAM lparam) {
    auto* search = reinterpret_cast<OwnedDialogSearch*>(lparam);
    if (window != search->ignore && GetWindow(window, GW_OWNER) == search->owner &&
        IsWindowEnabled(window) && IsDialogWindow(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND InputOwner(HWND owner, HWND ignore) {
    HWND current = owner;
    for (int depth = 0; current != nullptr && !IsWindowEnabled(current) && depth < kMaxOwnerDepth;
         ++depth) {
        OwnedDialogSearch search{current, ignore, nullptr};
        EnumThreadWindows(GetWindowThreadProcessId(owner, nullptr), FindEnabledOwnedDialog,
                          reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            break;  // disabled by something else: the owner is the best there is
        }
        current = search.found;
    }
    return current != nullptr ? current : owner;
}

void RaiseOwnedWindows(HWND owner) {
    std::vector<HWND> owned;  // from the top down
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (window != owner && IsWindowVisible(window) && IsOwnedBy(window, owner)) {
            owned.push_back(window);
        }
    }
    // The lowest first, so that the one on top ends on top. Asked to move a window to the
    // place it already has, Wine changes nothing on screen; a trip through the topmost band is
    // a real move.
    constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
        SetWindowPos(*it, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
    }
}

}  // namespace tov
