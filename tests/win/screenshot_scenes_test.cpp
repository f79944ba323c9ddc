// The scenes of the README's screenshots, built in the real main window with the sample listing.
// Disabled, so that ctest passes it by: tools/screenshots.sh runs it with
// --gtest_also_run_disabled_tests and names a folder in TOV_SCREENSHOT_DIR. For every scene the
// test writes "<scene>.ready" there, holding the rectangle to keep ("left top width height" in
// desktop pixels), and keeps the window alive until the script has taken the picture and
// deleted the file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "ui/folder_tree_win.h"

namespace tov {
namespace {

using test::FrameOptions;
using test::FrameSession;
using test::ReadFileBytes;

constexpr DWORD kShotTimeoutMs = 60000;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

RECT Union(const RECT& a, const RECT& b) {
    RECT both{};
    UnionRect(&both, &a, &b);
    return both;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Announces a scene to the script; returns the marker's path, empty when it could not be written.
std::string AnnounceScene(const std::string& folder, const std::string& scene, const RECT& rect) {
    const std::string marker = folder + "\\" + scene + ".ready";
    const std::string partial = marker + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        out << rect.left << ' ' << rect.top << ' ' << (rect.right - rect.left) << ' '
            << (rect.bottom - rect.top) << '\n';
        if (!out) {
            return {};
        }
    }
    // Renamed into place so that the script never reads half a line.
    if (!MoveFileExA(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return {};
    }
    return marker;
}

// Waits until the script has taken the picture and deleted the marker, handling the thread's
// messages meanwhile when `pump` is given; false on time-out.
bool WaitForShot(const std::string& folder, const std::string& marker, FrameSession* pump) {
    const HANDLE change =
        FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    const ULONGLONG end = GetTickCount64() + kShotTimeoutMs;
    while (FileExists(marker) && GetTickCount64() < end) {
        const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(end - GetTickCount64(), 1000));
        if (change == INVALID_HANDLE_VALUE) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, pump ? QS_ALLINPUT : 0);
        } else if (MsgWaitForMultipleObjects(1, &change, FALSE, wait, pump ? QS_ALLINPUT : 0) ==
                   WAIT_OBJECT_0) {
            FindNextChangeNotification(change);
        }
        if (pump != nullptr) {
            pump->PumpUntilIdle(200);
        }
    }
    if (change != INVALID_HANDLE_VALUE) {
        FindCloseChangeNotification(change);
    }
    if (FileExists(marker)) {
        DeleteFileA(marker.c_str());
        return false;
    }
    return true;
}

// Keeps the main window painting until the script has taken the picture; false on time-out.
bool HoldScene(FrameSession& session, const std::string& folder, const std::string& scene,
               const RECT& rect) {
    if (!session.PumpUntilIdle()) {
        return false;
    }
    RedrawWindow(session.hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::string marker = AnnounceScene(folder, scene, rect);
    return !marker.empty() && WaitForShot(folder, marker, &session);
}

HTREEITEM ChildEndingWith(HWND tree, HTREEITEM parent, const std::string& suffix) {
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item != nullptr;
         item = TreeView_GetNextSibling(tree, item)) {
        char text[MAX_PATH] = {};
        TVITEMA data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = sizeof(text);
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        const std::string name = text;
        if (name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            return item;
        }
    }
    return nullptr;
}

bool SummaryShown(FrameSession& session) {
    return IsWindowVisible(session.frame().work_summary_hwnd()) != FALSE;
}

void Command(FrameSession& session, UINT command) {
    PostMessageA(session.hwnd(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    session.PumpUntilIdle();
}

TEST(ScreenshotScenes, DISABLED_SampleListing) {
    const std::string folder = Environment("TOV_SCREENSHOT_DIR");
    const std::string listing_path = Environment("TOV_SCREENSHOT_LISTING");
    if (folder.empty() || listing_path.empty()) {
        GTEST_SKIP() << "run by tools/screenshots.sh";
    }
    FrameOptions options;
    options.listing = ReadFileBytes(listing_path);
    ASSERT_FALSE(options.listing.empty()) << listing_path;
    options.listing_name = "sample.tov";
    options.language = Environment("TOV_SCREENSHOT_LANGUAGE").empty()
                           ? "-l en"
                           : std::getenv("TOV_SCREENSHOT_LANGUAGE");
    options.close_dialogs = false;

    // The about box comes up at start, modal: once its loop is idle it is painted; it is
    // announced, and ended once the picture is taken (cancelled, then OK if it stays).
    bool about_taken = false;
    int about_idle = 0;
    auto shoot_and_end = [&](HWND box) {
        if (!test::IsAboutBox(box)) {
            return false;
        }
        if (about_idle++ == 0) {
            const std::string marker = AnnounceScene(folder, "about-box", WindowRect(box));
            about_taken = !marker.empty() && WaitForShot(folder, marker, nullptr);
        }
        test::PostClick(box, about_idle % 2 == 1 ? IDCANCEL : IDOK);
        return true;
    };
    test::DialogHook about_hook({.dialog = nullptr, .idle = shoot_and_end, .menu = nullptr});

    FrameSession session(options);
    session.PumpUntilIdle(kShotTimeoutMs + 20000);
    ASSERT_TRUE(session.alive());
    EXPECT_TRUE(about_taken);
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();

    // The work summary as it opens with the listing, beside or over the browser.
    ASSERT_TRUE(SummaryShown(session));
    // Closing the about box activates the browser; the summary is brought back above it.
    const HWND summary = frame.work_summary_hwnd();
    SetWindowPos(summary, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetActiveWindow(summary);
    ASSERT_TRUE(session.PumpUntilIdle());
    RedrawWindow(summary, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(HoldScene(session, folder, "work-summary",
                          Union(WindowRect(session.hwnd()), WindowRect(summary))));

    // Browsing: a folder whose files are marked correct and incorrect.
    Command(session, ID_SHOW_SUMMARY);
    EXPECT_FALSE(SummaryShown(session));
    const HWND tree = frame.folder_tree_hwnd();
    HTREEITEM accounts = ChildEndingWith(tree, TreeView_GetRoot(tree), "Contabilidad");
    ASSERT_NE(accounts, nullptr);
    TreeView_Expand(tree, accounts, TVE_EXPAND);
    HTREEITEM year = ChildEndingWith(tree, accounts, " 2008");
    TreeView_SelectItem(tree, year != nullptr ? year : accounts);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_TRUE(HoldScene(session, folder, "main-window", WindowRect(session.hwnd())));

    // A search for Word documents, typed and started with Enter as a user does.
    const HWND combo = GetDlgItem(frame.main_toolbar(), IDC_SEARCH_COMBO);
    const HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char c : std::string("*.doc")) {
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_TRUE(IsWindowVisible(frame.results_pane().hwnd()));
    EXPECT_GT(ListView_GetItemCount(frame.results_list_hwnd()), 0);
    EXPECT_TRUE(HoldScene(session, folder, "search-results", WindowRect(session.hwnd())));

    // "*" on the numeric keypad with the root selected: every folder expanded.
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    ASSERT_TRUE(session.PumpUntilIdle());
    SetFocus(tree);
    test::PostKey(tree, VK_MULTIPLY);
    const auto& folder_tree = *static_cast<const FolderTree*>(Window::FromHandle(tree));
    ASSERT_TRUE(test::PumpUntil(session, [&] { return !folder_tree.expanding_all(); }));
    EXPECT_TRUE(HoldScene(session, folder, "expanded-tree", WindowRect(session.hwnd())));
}

}  // namespace
}  // namespace tov
