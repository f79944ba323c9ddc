// The main window driven through its messages: command states, the results pane, the filter
// buttons, splitters, the toolbar bands and tooltips.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "ui/rebar_win.h"
#include "ui/system_icons_win.h"
#include "ui/toolbar_win.h"

namespace tov {
namespace {

using test::FrameOptions;
using test::FrameSession;
using test::SmallListing;

bool ButtonChecked(HWND toolbar, UINT command) {
    return SendMessageA(toolbar, TB_ISBUTTONCHECKED, command, 0) != 0;
}

bool ButtonEnabled(HWND toolbar, UINT command) {
    return SendMessageA(toolbar, TB_ISBUTTONENABLED, command, 0) != 0;
}

// Posted, as a click arrives: the idle step then follows it.
void Command(FrameSession& session, UINT command) {
    PostMessageA(session.hwnd(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    ASSERT_TRUE(session.PumpUntilIdle());
}

SIZE SizeOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void ResizeFrame(FrameSession& session, int width, int height) {
    SetWindowPos(session.hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(session.PumpUntilIdle());
}

FrameOptions WithListing() {
    FrameOptions options;
    options.listing = SmallListing();
    return options;
}

TEST(MainFrame, StartsWithUpAndSaveDisabledResultsHiddenAndFocusInTheFileList) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    MainFrame& frame = session.frame();
    // Right after creation, before the posted open request and about command run.
    const HWND focus = GetFocus();
    EXPECT_TRUE(focus == frame.file_list_hwnd() || IsChild(frame.file_list_hwnd(), focus));
    EXPECT_FALSE(IsWindowVisible(frame.results_pane().hwnd()));
    EXPECT_TRUE(IsWindowVisible(frame.file_list_hwnd()));

    ASSERT_TRUE(session.PumpUntilIdle());
    ASSERT_TRUE(session.alive());
    const HWND toolbar = frame.main_toolbar();
    ASSERT_NE(toolbar, nullptr);
    EXPECT_FALSE(ButtonEnabled(toolbar, ID_FOLDER_UP));
    EXPECT_FALSE(ButtonEnabled(toolbar, ID_SAVE_SEARCH));
    EXPECT_FALSE(ButtonChecked(toolbar, ID_SHOW_RESULTS));
    EXPECT_TRUE(ButtonEnabled(toolbar, ID_SHOW_SUMMARY));
    EXPECT_FALSE(IsWindowVisible(frame.results_pane().hwnd()));

    // The bars: banner first, the main toolbar on a row of its own, both identified as fixed.
    const HWND rebar = frame.rebar();
    ASSERT_NE(rebar, nullptr);
    EXPECT_EQ(GetDlgCtrlID(rebar), ID_BARS);
    EXPECT_EQ(GetDlgCtrlID(toolbar), ID_BARS);
    EXPECT_EQ(GetDlgCtrlID(frame.banner_bar()), ID_BARS);
    ASSERT_EQ(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0), 2);
    for (UINT band = 0; band < 2; ++band) {
        REBARBANDINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_CHILD;
        SendMessageA(rebar, RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.wID, ID_FIRST_BAND + band);
        EXPECT_EQ(info.hwndChild, band == 0 ? frame.banner_bar() : toolbar);
        EXPECT_EQ((info.fStyle & RBBS_BREAK) != 0, band == 1);
    }
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 12);
    EXPECT_EQ(SendMessageA(frame.banner_bar(), TB_COMMANDTOINDEX, ID_WEBSITE, 0), 0);
    EXPECT_EQ(GetDlgCtrlID(frame.folder_tree_hwnd()), IDC_FOLDER_TREE);
    EXPECT_EQ(GetDlgCtrlID(frame.file_list_hwnd()), IDC_FILE_LIST);
    EXPECT_EQ(GetDlgCtrlID(frame.results_list_hwnd()), IDC_RESULTS_LIST);
    EXPECT_EQ(GetParent(frame.results_list_hwnd()), frame.results_pane().hwnd());
}

// Started at the root of a drive (a delivery stick), the program still has the shell's image
// list and its folder icons for the tree and the lists.
TEST(SystemIcons, TheFolderIconsComeAlsoAtTheRootOfADrive) {
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    test::TempFolder folder;
    for (const std::string& directory : {folder.path(), std::string("C:\\")}) {
        SCOPED_TRACE(directory);
        ASSERT_TRUE(SetCurrentDirectoryA(directory.c_str()));
        const SystemIcons icons = FetchSystemIcons();
        EXPECT_NE(icons.images, nullptr);
        EXPECT_GT(icons.closed_folder, 0);  // 0 is the plain document
        EXPECT_GT(icons.open_folder, 0);
    }
    SetCurrentDirectoryA(previous);
}

TEST(MainFrame, CommandStateReachesTheToolbarOnlyOnceTheQueueIsEmpty) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    const HWND toolbar = session.frame().main_toolbar();

    for (int i = 0; i < 3; ++i) {
        PostMessageA(session.hwnd(), WM_NULL, 0, 0);
    }
    session.frame().SetCommandChecked(ID_ONLY_GOOD, true);
    session.frame().SetCommandEnabled(ID_SAVE_SEARCH, true);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    session.loop().HandleMessage(&message);
    EXPECT_FALSE(ButtonChecked(toolbar, ID_ONLY_GOOD));
    EXPECT_FALSE(ButtonEnabled(toolbar, ID_SAVE_SEARCH));

    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_TRUE(ButtonChecked(toolbar, ID_ONLY_GOOD));
    EXPECT_TRUE(ButtonEnabled(toolbar, ID_SAVE_SEARCH));
}

TEST(MainFrame, ShowSearchResultsShowsAndHidesThePaneAndFollowsIt) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND pane = frame.results_pane().hwnd();

    Command(session, ID_SHOW_RESULTS);
    EXPECT_TRUE(IsWindowVisible(pane));
    EXPECT_TRUE(ButtonChecked(frame.main_toolbar(), ID_SHOW_RESULTS));
    EXPECT_EQ(frame.inner_splitter().single_pane_mode(), Splitter::kPaneNone);
    char title[100] = {};
    GetWindowTextA(pane, title, sizeof(title));
    EXPECT_STREQ(title, frame.results_pane().title());

    Command(session, ID_SHOW_RESULTS);
    EXPECT_FALSE(IsWindowVisible(pane));
    EXPECT_FALSE(ButtonChecked(frame.main_toolbar(), ID_SHOW_RESULTS));

    Command(session, ID_SHOW_RESULTS);
    ASSERT_TRUE(IsWindowVisible(pane));
    Command(session, ID_RESULTS_CLOSE);
    EXPECT_FALSE(IsWindowVisible(pane));
    EXPECT_FALSE(ButtonChecked(frame.main_toolbar(), ID_SHOW_RESULTS));
}

TEST(MainFrame, ThePaneCloseButtonHidesThePane) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND pane = frame.results_pane().hwnd();
    Command(session, ID_SHOW_RESULTS);
    ASSERT_TRUE(IsWindowVisible(pane));

    const RECT close = frame.results_pane().CloseButtonRect();
    const LPARAM at = MAKELPARAM((close.left + close.right) / 2, (close.top + close.bottom) / 2);
    PostMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(pane, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_FALSE(IsWindowVisible(pane));
    EXPECT_FALSE(ButtonChecked(frame.main_toolbar(), ID_SHOW_RESULTS));
}

TEST(MainFrame, FilterButtonsToggleIndependently) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    const HWND toolbar = session.frame().main_toolbar();

    Command(session, ID_ONLY_GOOD);
    EXPECT_TRUE(ButtonChecked(toolbar, ID_ONLY_GOOD));
    EXPECT_FALSE(ButtonChecked(toolbar, ID_ONLY_BAD));
    Command(session, ID_ONLY_BAD);
    EXPECT_TRUE(ButtonChecked(toolbar, ID_ONLY_GOOD));
    EXPECT_TRUE(ButtonChecked(toolbar, ID_ONLY_BAD));
    Command(session, ID_ONLY_GOOD);
    EXPECT_FALSE(ButtonChecked(toolbar, ID_ONLY_GOOD));
    EXPECT_TRUE(ButtonChecked(toolbar, ID_ONLY_BAD));
}

// Commands sent one after another, with no message in between to bring the toolbar up to date,
// still toggle from the state the one before left.
TEST(MainFrame, FilterToggledTwiceBeforeTheToolbarIsUpdatedIsOff) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    SendMessageA(session.hwnd(), WM_COMMAND, ID_ONLY_GOOD, 0);
    SendMessageA(session.hwnd(), WM_COMMAND, ID_ONLY_GOOD, 0);
    SendMessageA(session.hwnd(), WM_COMMAND, ID_ONLY_BAD, 0);
    EXPECT_FALSE(frame.IsCommandChecked(ID_ONLY_GOOD));
    EXPECT_TRUE(frame.IsCommandChecked(ID_ONLY_BAD));
    PostMessageA(session.hwnd(), WM_NULL, 0, 0);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_FALSE(ButtonChecked(frame.main_toolbar(), ID_ONLY_GOOD));
    EXPECT_TRUE(ButtonChecked(frame.main_toolbar(), ID_ONLY_BAD));
}

TEST(MainFrame, ShowWorkSummaryTogglesTheDialogAndFollowsIt) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND dialog = frame.work_summary_hwnd();
    ASSERT_NE(dialog, nullptr);
    for (int i = 0; i < 2; ++i) {
        const bool was_visible = IsWindowVisible(dialog) != FALSE;
        Command(session, ID_SHOW_SUMMARY);
        EXPECT_EQ(IsWindowVisible(dialog) != FALSE, !was_visible);
        EXPECT_EQ(ButtonChecked(frame.main_toolbar(), ID_SHOW_SUMMARY), !was_visible);
    }
}

TEST(MainFrame, ResizingKeepsTheTreeWidthAndTheFileListHeight) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    Command(session, ID_SHOW_RESULTS);

    const SIZE tree = SizeOf(frame.folder_tree_hwnd());
    const SIZE list = SizeOf(frame.file_list_hwnd());
    const SIZE results = SizeOf(frame.results_pane().hwnd());
    EXPECT_EQ(frame.outer_splitter().bar_position(), 212);
    EXPECT_EQ(frame.inner_splitter().bar_position(), 212);
    EXPECT_EQ(tree.cx, 212);
    EXPECT_EQ(list.cy, 212);

    ResizeFrame(session, 700, 520);
    EXPECT_EQ(SizeOf(frame.folder_tree_hwnd()).cx, tree.cx);
    EXPECT_EQ(SizeOf(frame.file_list_hwnd()).cy, list.cy);
    EXPECT_EQ(SizeOf(frame.file_list_hwnd()).cx, list.cx - 100);
    EXPECT_EQ(SizeOf(frame.results_pane().hwnd()).cy, results.cy - 80);

    ResizeFrame(session, 900, 700);
    EXPECT_EQ(SizeOf(frame.folder_tree_hwnd()).cx, tree.cx);
    EXPECT_EQ(SizeOf(frame.file_list_hwnd()).cy, list.cy);
    EXPECT_EQ(SizeOf(frame.results_pane().hwnd()).cy, results.cy + 100);
}

TEST(MainFrame, DoubleClickingASplitterBarCentresIt) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    Command(session, ID_SHOW_RESULTS);

    for (const Splitter* splitter : {&frame.outer_splitter(), &frame.inner_splitter()}) {
        const RECT bar = splitter->BarRect();
        const int thickness = splitter->bar_thickness();
        ASSERT_EQ(bar.right - bar.left == thickness || bar.bottom - bar.top == thickness, true);
        const LPARAM at = MAKELPARAM((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2);
        SendMessageA(splitter->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(splitter->hwnd(), WM_LBUTTONUP, 0, at);
        SendMessageA(splitter->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(splitter->hwnd(), WM_LBUTTONUP, 0, at);
        ASSERT_TRUE(session.PumpUntilIdle());
        RECT client{};
        GetClientRect(splitter->hwnd(), &client);
        const bool vertical = splitter == &frame.outer_splitter();
        const int extent = vertical ? client.right : client.bottom;
        EXPECT_EQ(splitter->bar_position(), (extent - thickness) / 2);
        const SIZE first = SizeOf(splitter->pane(Splitter::kPane1));
        EXPECT_EQ(vertical ? first.cx : first.cy, (extent - thickness) / 2);
    }

    // Afterwards the left pane's width and the top pane's height stay put as well.
    const SIZE tree = SizeOf(frame.folder_tree_hwnd());
    const SIZE list = SizeOf(frame.file_list_hwnd());
    ResizeFrame(session, 1000, 720);
    EXPECT_EQ(SizeOf(frame.folder_tree_hwnd()).cx, tree.cx);
    EXPECT_EQ(SizeOf(frame.file_list_hwnd()).cy, list.cy);
}

TEST(MainFrame, NarrowingHidesTrailingButtonsAndTheChevronMenuOffersThem) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND toolbar = frame.main_toolbar();
    EXPECT_TRUE(ClippedButtons(toolbar).empty());
    EXPECT_EQ(BuildChevronMenu(toolbar), nullptr);

    // Each width hides a different run of trailing items, starting with a button, with a
    // separator, or with the widened item that holds the search box.
    for (int width : {150, 170, 190, 210}) {
        SCOPED_TRACE(width);
        ResizeFrame(session, width, 400);
        const std::vector<int> clipped = ClippedButtons(toolbar);
        ASSERT_FALSE(clipped.empty());
        EXPECT_EQ(clipped.back(), 11);  // the last button, ID_ONLY_BAD
        EXPECT_NE(clipped.front(), 0);  // "Up" still fits
        for (std::size_t i = 1; i < clipped.size(); ++i) {
            EXPECT_EQ(clipped[i], clipped[i - 1] + 1);  // trailing: one run up to the end
        }

        // The clipped buttons with a command in order, one separator where the toolbar
        // separates them, none at either end and no empty item.
        std::vector<UINT> expected;
        for (int index : clipped) {
            TBBUTTON button{};
            SendMessageA(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
            if (!(button.fsStyle & BTNS_SEP) && button.idCommand != 0) {
                expected.push_back(static_cast<UINT>(button.idCommand));
            } else if (!expected.empty() && expected.back() != 0) {
                expected.push_back(0);
            }
        }
        if (!expected.empty() && expected.back() == 0) {
            expected.pop_back();
        }
        MenuHandle menu(BuildChevronMenu(toolbar));
        ASSERT_TRUE(menu);
        std::vector<UINT> items;
        for (int i = 0; i < GetMenuItemCount(menu.get()); ++i) {
            const UINT state = GetMenuState(menu.get(), static_cast<UINT>(i), MF_BYPOSITION);
            char label[200] = {};
            GetMenuStringA(menu.get(), static_cast<UINT>(i), label, sizeof(label), MF_BYPOSITION);
            if (state & MF_SEPARATOR) {
                items.push_back(0);
            } else {
                EXPECT_NE(label[0], '\0') << i;
                items.push_back(GetMenuItemID(menu.get(), i));
            }
        }
        EXPECT_EQ(items, expected);
        // English labels come from the command strings, after their line feed.
        char label[200] = {};
        GetMenuStringA(menu.get(), static_cast<UINT>(items.size() - 1), label, sizeof(label),
                       MF_BYPOSITION);
        EXPECT_EQ(std::string(label), CommandText(ID_ONLY_BAD, 200, 199, true));
    }
}

std::string TooltipFromFrame(FrameSession& session, UINT command) {
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = session.frame().main_toolbar();
    info.hdr.idFrom = command;
    info.hdr.code = TTN_GETDISPINFOA;
    std::memset(info.szText, 'x', sizeof(info.szText) - 1);
    SendMessageA(session.hwnd(), WM_NOTIFY, command, reinterpret_cast<LPARAM>(&info));
    return info.lpszText == nullptr ? std::string("<none>") : std::string(info.lpszText);
}

TEST(MainFrame, TooltipsComeFromTheCommandStringsAndTheFrenchOneOfOnlyBadIsEmpty) {
    {
        FrameOptions options = WithListing();
        options.language = "-l en";
        FrameSession session(options);
        ASSERT_TRUE(session.alive());
        EXPECT_EQ(TooltipFromFrame(session, ID_ONLY_BAD), "Search only incorrect files");
        EXPECT_EQ(TooltipFromFrame(session, ID_SHOW_RESULTS), "Show search results");
    }
    {
        FrameOptions options = WithListing();
        options.language = "-l fr";
        FrameSession session(options);
        ASSERT_TRUE(session.alive());
        EXPECT_EQ(TooltipFromFrame(session, ID_ONLY_BAD), "");
        EXPECT_EQ(TooltipFromFrame(session, ID_ONLY_GOOD).substr(0, 10), "Rechercher");
    }
}

TEST(MainFrame, UnhandledNotificationsAreReflectedToTheirControl) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());

    struct Recorder : Window {
        UINT seen = 0;
        LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
            if (message == 0x2000 + WM_NOTIFY) {
                seen = reinterpret_cast<const NMHDR*>(lparam)->code;
                return 77;
            }
            return DefaultProc(message, wparam, lparam);
        }
    } recorder;
    ASSERT_NE(recorder.Create(session.hwnd(), RECT{0, 0, 10, 10}, "", WS_CHILD, 0, 4242), nullptr);
    NMHDR header{recorder.hwnd(), 4242, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(SendMessageA(session.hwnd(), WM_NOTIFY, 4242, reinterpret_cast<LPARAM>(&header)), 77);
    EXPECT_EQ(recorder.seen, static_cast<UINT>(NM_CLICK));
}

// The document outlives the windows: the tree's index and the lists' rows point into it until
// the main window's object is gone.
TEST(MainFrame, DestroyingTheWindowPostsQuitWithExitCodeOneAndKeepsTheDocument) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    const std::size_t listing_bytes = session.frame().document().size();
    ASSERT_GT(listing_bytes, 1u);
    SendMessageA(session.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(session.alive());
    EXPECT_EQ(session.frame().document().size(), listing_bytes);
    EXPECT_FALSE(session.PumpUntilIdle(3000));
    EXPECT_TRUE(session.quit_received());
    EXPECT_EQ(session.exit_code(), 1);
}

}  // namespace
}  // namespace tov

namespace tov {
namespace {

// Picks the last item of the thread's next popup menu with the keyboard as the menu comes up,
// and records the menu's item count.
class MenuPicker {
  public:
    MenuPicker()
        : hook_({.dialog = nullptr, .idle = nullptr, .menu = [this](HMENU menu, HWND owner) {
                     return OnMenu(menu, owner);
                 }}) {}
    // The item count of the menu it saw (0 when none showed up).
    int items() const { return items_; }

  private:
    bool OnMenu(HMENU menu, HWND owner) {
        items_ = GetMenuItemCount(menu);
        // The menu's own loop takes the keys of the thread, whichever window they are for.
        PostMessageA(owner, WM_KEYDOWN, VK_UP, 0);
        PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    }
    int items_ = 0;
    test::DialogHook hook_;
};

TEST(MainFrame, ChoosingFromTheChevronMenuSendsTheHiddenButtonsCommand) {
    FrameSession session(WithListing());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    ResizeFrame(session, 200, 400);
    const std::vector<int> clipped = ClippedButtons(frame.main_toolbar());
    ASSERT_FALSE(clipped.empty());
    ASSERT_FALSE(ButtonChecked(frame.main_toolbar(), ID_ONLY_BAD));

    NMREBARCHEVRON chevron{};
    chevron.hdr.hwndFrom = frame.rebar();
    chevron.hdr.idFrom = ID_BARS;
    chevron.hdr.code = RBN_CHEVRONPUSHED;
    chevron.uBand = 1;
    GetClientRect(frame.rebar(), &chevron.rc);
    chevron.rc.left = chevron.rc.right - 14;
    MenuPicker picker;
    // Returns once the menu has been closed by the pick.
    SendMessageA(session.hwnd(), WM_NOTIFY, ID_BARS, reinterpret_cast<LPARAM>(&chevron));
    EXPECT_EQ(picker.items(), static_cast<int>(clipped.size()));
    PostMessageA(session.hwnd(), WM_NULL, 0, 0);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_TRUE(ButtonChecked(frame.main_toolbar(), ID_ONLY_BAD));  // the last hidden button
}

}  // namespace
}  // namespace tov
