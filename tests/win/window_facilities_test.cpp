// The window facilities on their own: the window base, splitter, pane container, command
// states, toolbars from resources and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/app_module_win.h"
#include "app/message_loop_win.h"
#include "res/resource.h"
#include "ui/command_states_win.h"
#include "ui/pane_container_win.h"
#include "ui/splitter_win.h"
#include "ui/toolbar_win.h"
#include "ui/window_win.h"

namespace tov {
namespace {

// A top-level window that records the notifications and commands its children send.
class Host : public Window {
  public:
    struct Received {
        UINT message;
        WPARAM wparam;
        LPARAM lparam;
    };
    std::vector<Received> received;

    bool Open(int width = 400, int height = 300) {
        return Create(nullptr, RECT{0, 0, width, height}, "host",
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE) != nullptr;
    }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_NOTIFY || message == WM_COMMAND) {
            received.push_back({message, wparam, lparam});
            return 1234;
        }
        return DefaultProc(message, wparam, lparam);
    }
};

HWND MakeEdit(HWND parent) {
    return CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Pump() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

struct SplitterFixture : testing::Test {
    Host host;
    Splitter splitter{Splitter::kVertical};
    HWND left = nullptr;
    HWND right = nullptr;

    void SetUp() override {
        ASSERT_TRUE(host.Open());
        ASSERT_NE(splitter.Create(host.hwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), nullptr);
        RECT client{};
        GetClientRect(host.hwnd(), &client);
        MoveWindow(splitter.hwnd(), 0, 0, client.right, client.bottom, TRUE);
        left = MakeEdit(splitter.hwnd());
        right = MakeEdit(splitter.hwnd());
        splitter.SetPanes(left, right);
    }
    int Extent() const {
        RECT client{};
        GetClientRect(splitter.hwnd(), &client);
        return client.right;
    }
};

TEST_F(SplitterFixture, BarPositionIsHeldWithinThePaneMinimums) {
    const int bar = splitter.bar_thickness();
    EXPECT_EQ(bar, GetSystemMetrics(SM_CXSIZEFRAME));
    EXPECT_EQ(splitter.min_pane(), 2 * GetSystemMetrics(SM_CXEDGE));

    splitter.SetBarPosition(100);
    EXPECT_EQ(splitter.bar_position(), 100);
    EXPECT_EQ(ChildRect(left).right, 100);
    EXPECT_EQ(ChildRect(right).left, 100 + bar);
    EXPECT_EQ(ChildRect(right).right, Extent());

    splitter.SetBarPosition(0);
    EXPECT_EQ(splitter.bar_position(), splitter.min_pane());
    splitter.SetBarPosition(100000);
    EXPECT_EQ(splitter.bar_position(), Extent() - bar - splitter.min_pane());
    splitter.SetBarPosition(-1);
    EXPECT_EQ(splitter.bar_position(), (Extent() - bar) / 2);
}

TEST_F(SplitterFixture, PaneOneKeepsItsSizeUnlessProportional) {
    splitter.SetBarPosition(120);
    MoveWindow(splitter.hwnd(), 0, 0, 300, 200, TRUE);
    EXPECT_EQ(ChildRect(left).right, 120);
    EXPECT_EQ(ChildRect(right).right, 300);
    // Too narrow for the kept position: shown within the limits, kept for later.
    MoveWindow(splitter.hwnd(), 0, 0, 100, 200, TRUE);
    EXPECT_EQ(ChildRect(right).right - ChildRect(right).left, splitter.min_pane());
    MoveWindow(splitter.hwnd(), 0, 0, 300, 200, TRUE);
    EXPECT_EQ(ChildRect(left).right, 120);

    splitter.SetExtendedStyle(Splitter::kProportional);
    MoveWindow(splitter.hwnd(), 0, 0, 600, 200, TRUE);
    EXPECT_EQ(splitter.bar_position(), 240);
}

TEST_F(SplitterFixture, SinglePaneModeHidesTheOtherPaneAndKeepsThePosition) {
    splitter.SetBarPosition(90);
    splitter.SetSinglePaneMode(Splitter::kPane2);
    EXPECT_FALSE(IsWindowVisible(left));
    EXPECT_TRUE(IsWindowVisible(right));
    EXPECT_EQ(ChildRect(right).left, 0);
    EXPECT_EQ(ChildRect(right).right, Extent());

    splitter.SetSinglePaneMode(Splitter::kPaneNone);
    EXPECT_TRUE(IsWindowVisible(left));
    EXPECT_TRUE(IsWindowVisible(right));
    EXPECT_EQ(ChildRect(left).right, 90);
}

TEST_F(SplitterFixture, FocusGoesToTheSinglePaneOrElseTheDefaultPane) {
    SetFocus(splitter.hwnd());
    EXPECT_EQ(GetFocus(), left);
    splitter.SetActivePane(Splitter::kPane2);
    EXPECT_EQ(GetFocus(), right);
    SetFocus(splitter.hwnd());
    EXPECT_EQ(GetFocus(), right);
    splitter.SetSinglePaneMode(Splitter::kPane1);
    EXPECT_EQ(GetFocus(), left);  // the hidden pane had it
    SetFocus(splitter.hwnd());
    EXPECT_EQ(GetFocus(), left);
}

TEST_F(SplitterFixture, NotificationsAndCommandsReachTheParentUnchanged) {
    NMHDR header{left, 17, static_cast<UINT>(NM_DBLCLK)};
    EXPECT_EQ(SendMessageA(splitter.hwnd(), WM_NOTIFY, 17, reinterpret_cast<LPARAM>(&header)),
              1234);
    EXPECT_EQ(SendMessageA(splitter.hwnd(), WM_COMMAND, MAKEWPARAM(9, EN_CHANGE),
                           reinterpret_cast<LPARAM>(left)),
              1234);
    ASSERT_EQ(host.received.size(), 2u);
    EXPECT_EQ(host.received[0].message, static_cast<UINT>(WM_NOTIFY));
    EXPECT_EQ(host.received[0].wparam, 17u);
    EXPECT_EQ(host.received[0].lparam, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(host.received[1].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(host.received[1].wparam, MAKEWPARAM(9, EN_CHANGE));
    EXPECT_EQ(host.received[1].lparam, reinterpret_cast<LPARAM>(left));
}

// Drags the bar by `distance` and reports the position seen while the button is still down.
int DragBar(Splitter& splitter, int distance) {
    const RECT bar = splitter.BarRect();
    const int x = (bar.left + bar.right) / 2;
    const int y = (bar.top + bar.bottom) / 2;
    SendMessageA(splitter.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(splitter.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + distance, y));
    const int during = splitter.bar_position();
    SendMessageA(splitter.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x + distance, y));
    return during;
}

TEST_F(SplitterFixture, DraggingFollowsTheDragFullWindowsSetting) {
    BOOL saved = TRUE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &saved, 0);

    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    splitter.SetBarPosition(100);
    EXPECT_EQ(DragBar(splitter, 40), 140);  // live
    EXPECT_EQ(splitter.bar_position(), 140);

    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
    EXPECT_EQ(DragBar(splitter, -60), 140);  // an outline moves; the bar waits
    EXPECT_EQ(splitter.bar_position(), 80);
    EXPECT_EQ(ChildRect(left).right, 80);

    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, saved, nullptr, 0);
}

TEST(PaneContainer, TitleIsCutTo79BytesAndIsTheWindowTextToo) {
    Host host;
    ASSERT_TRUE(host.Open());
    PaneContainer pane;
    const std::string long_title(100, 'a');
    ASSERT_NE(pane.Create(host.hwnd(), long_title.c_str(), WS_CHILD | WS_VISIBLE), nullptr);
    EXPECT_EQ(std::string(pane.title()), std::string(79, 'a'));
    char text[200] = {};
    GetWindowTextA(pane.hwnd(), text, sizeof(text));
    EXPECT_EQ(std::string(text), std::string(79, 'a'));

    pane.SetTitle("Search results - abc - 12 file(s)");
    GetWindowTextA(pane.hwnd(), text, sizeof(text));
    EXPECT_STREQ(text, "Search results - abc - 12 file(s)");
    EXPECT_STREQ(pane.title(), text);
}

TEST(PaneContainer, ClientFillsBelowTheTitleAndCloseSendsTheCommandToTheParent) {
    Host host;
    ASSERT_TRUE(host.Open());
    PaneContainer pane;
    ASSERT_NE(pane.Create(host.hwnd(), "Title", WS_CHILD | WS_VISIBLE), nullptr);
    MoveWindow(pane.hwnd(), 0, 0, 300, 200, TRUE);
    const HWND client = MakeEdit(pane.hwnd());
    pane.SetClient(client);
    const RECT placed = ChildRect(client);
    EXPECT_EQ(placed.top, pane.title_height());
    EXPECT_EQ(placed.bottom, 200);
    EXPECT_EQ(placed.right, 300);
    const RECT close = pane.CloseButtonRect();
    EXPECT_LE(close.right, 300);
    EXPECT_LE(close.bottom, pane.title_height());

    const LPARAM at = MAKELPARAM((close.left + close.right) / 2, (close.top + close.bottom) / 2);
    SendMessageA(pane.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(pane.hwnd(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(host.received.size(), 1u);
    EXPECT_EQ(host.received[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(LOWORD(host.received[0].wparam), ID_RESULTS_CLOSE);
    EXPECT_TRUE(IsWindowVisible(pane.hwnd()));  // hiding is the parent's business

    // A press that leaves the button before release sends nothing.
    SendMessageA(pane.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(pane.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 100));
    SendMessageA(pane.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 100));
    EXPECT_EQ(host.received.size(), 1u);
}

TEST(ToolbarResource, MainToolbarHasItsButtonsSeparatorsAndSizes) {
    ToolbarResource resource;
    ASSERT_TRUE(LoadToolbarResource(GetModuleHandleA(nullptr), IDR_MAINFRAME, resource));
    EXPECT_EQ(resource.image_width, 16);
    EXPECT_EQ(resource.image_height, 16);
    const std::vector<WORD> expected = {
        ID_FOLDER_UP, 0, ID_SHOW_RESULTS, ID_SAVE_SEARCH, 0, ID_SHOW_SUMMARY, ID_ABOUT, 0,
        ID_SEARCH,    0, ID_ONLY_GOOD,    ID_ONLY_BAD};
    EXPECT_EQ(resource.items, expected);
    EXPECT_FALSE(LoadToolbarResource(GetModuleHandleA(nullptr), 4321, resource));

    Host host;
    ASSERT_TRUE(host.Open());
    const HWND toolbar =
        CreateToolbarFromResource(host.hwnd(), IDR_MAINFRAME, kToolbarStyle, ID_BARS);
    ASSERT_NE(toolbar, nullptr);
    ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 12);
    RECT first{};
    SendMessageA(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(first.right - first.left, 23);
    EXPECT_EQ(first.bottom - first.top, 23);
    TBBUTTON button{};
    SendMessageA(toolbar, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&button));
    EXPECT_TRUE(button.fsStyle & BTNS_SEP);
    SendMessageA(toolbar, TB_GETBUTTON, 11, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(button.idCommand, ID_ONLY_BAD);
    EXPECT_EQ(button.iBitmap, 7);
    EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);

    // A missing resource still gives a toolbar, without buttons.
    const HWND empty = CreateToolbarFromResource(host.hwnd(), 4321, kToolbarStyle, ID_BARS);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SendMessageA(empty, TB_BUTTONCOUNT, 0, 0), 0);
}

TEST(CommandStates, OnlyChangesArePendingAndTheUpdateWritesEveryToolbar) {
    Host host;
    ASSERT_TRUE(host.Open());
    const HWND first = CreateToolbarFromResource(host.hwnd(), IDR_MAINFRAME, kToolbarStyle, 1);
    const HWND second = CreateToolbarFromResource(host.hwnd(), IDR_MAINFRAME, kToolbarStyle, 2);
    CommandStates states;
    states.AddCommand(ID_FOLDER_UP);
    states.AddCommand(ID_ONLY_GOOD);
    states.AddToolbar(first);
    states.AddToolbar(second);

    EXPECT_TRUE(states.SetEnabled(ID_FOLDER_UP, true));   // already enabled
    EXPECT_TRUE(states.SetChecked(ID_ONLY_GOOD, false));  // already unchecked
    EXPECT_FALSE(states.HasPending());
    EXPECT_FALSE(states.SetChecked(ID_ABOUT, true));  // no entry

    states.SetEnabled(ID_FOLDER_UP, false);
    states.SetChecked(ID_ONLY_GOOD, true);
    EXPECT_TRUE(states.HasPending());
    EXPECT_TRUE(SendMessageA(first, TB_ISBUTTONENABLED, ID_FOLDER_UP, 0));
    EXPECT_FALSE(states.UpdateToolbars());
    EXPECT_FALSE(states.HasPending());
    for (HWND toolbar : {first, second}) {
        EXPECT_FALSE(SendMessageA(toolbar, TB_ISBUTTONENABLED, ID_FOLDER_UP, 0));
        EXPECT_TRUE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, ID_ONLY_GOOD, 0));
    }

    // Setting a value back and forth before the update still writes the final state.
    states.SetChecked(ID_ONLY_GOOD, false);
    states.SetChecked(ID_ONLY_GOOD, true);
    SendMessageA(first, TB_CHECKBUTTON, ID_ONLY_GOOD, FALSE);
    states.UpdateToolbars();
    EXPECT_TRUE(SendMessageA(first, TB_ISBUTTONCHECKED, ID_ONLY_GOOD, 0));
}

struct Recorder final : MessageFilter, IdleHandler {
    std::vector<int>* order;
    int id;
    bool take;
    int idle_calls = 0;
    Recorder(std::vector<int>* o, int i, bool t) : order(o), id(i), take(t) {}
    bool PreTranslateMessage(MSG* message) override {
        if (message->message == WM_APP + 7) {
            order->push_back(id);
            return take;
        }
        return false;
    }
    bool OnIdle() override {
        ++idle_calls;
        order->push_back(100 + id);
        return false;
    }
};

TEST(MessageLoop, FiltersAreAskedLastRegisteredFirstUntilOneTakesTheMessage) {
    MessageLoop loop;
    std::vector<int> order;
    Recorder first(&order, 1, false), second(&order, 2, true), third(&order, 3, false);
    loop.AddMessageFilter(&first);
    loop.AddMessageFilter(&second);
    loop.AddMessageFilter(&third);
    EXPECT_FALSE(loop.AddMessageFilter(&third));  // once only
    MSG message{};
    message.message = WM_APP + 7;
    EXPECT_TRUE(loop.PreTranslateMessage(&message));
    EXPECT_EQ(order, (std::vector<int>{3, 2}));

    order.clear();
    loop.RemoveMessageFilter(&second);
    EXPECT_FALSE(loop.PreTranslateMessage(&message));
    EXPECT_EQ(order, (std::vector<int>{3, 1}));

    order.clear();
    loop.AddIdleHandler(&first);
    loop.AddIdleHandler(&third);
    loop.RunIdleHandlers();
    EXPECT_EQ(order, (std::vector<int>{101, 103}));
}

TEST(MessageLoop, IdleIsDueAgainAfterEveryMessageButMouseMovesPaintsAndTheSystemTimer) {
    Host host;
    ASSERT_TRUE(host.Open());
    Pump();
    MessageLoop loop;
    std::vector<int> order;
    Recorder idle(&order, 1, false);
    loop.AddIdleHandler(&idle);
    ASSERT_EQ(loop.PumpUntilIdle(2000), MessageLoop::PumpResult::kIdle);
    const int after_start = idle.idle_calls;
    EXPECT_GE(after_start, 1);

    for (UINT quiet : {UINT{WM_MOUSEMOVE}, UINT{WM_NCMOUSEMOVE}, UINT{0x0118}}) {
        PostMessageA(host.hwnd(), quiet, 0, 0);
        ASSERT_EQ(loop.PumpUntilIdle(2000), MessageLoop::PumpResult::kIdle);
        EXPECT_EQ(idle.idle_calls, after_start) << quiet;
    }
    PostMessageA(host.hwnd(), WM_NULL, 0, 0);
    PostMessageA(host.hwnd(), WM_NULL, 0, 0);
    ASSERT_EQ(loop.PumpUntilIdle(2000), MessageLoop::PumpResult::kIdle);
    EXPECT_EQ(idle.idle_calls, after_start + 1);  // once for the batch

    MSG paint{};
    paint.message = WM_PAINT;
    EXPECT_FALSE(MessageLoop::IsIdleMessage(paint));
    PostQuitMessage(5);
    int code = 0;
    EXPECT_EQ(loop.PumpUntilIdle(2000, &code), MessageLoop::PumpResult::kQuit);
    EXPECT_EQ(code, 5);
}

TEST(AppModule, EachThreadFindsOnlyItsOwnLoop) {
    MessageLoop loop;
    AppModule& module = Module();
    MessageLoop* previous = module.AddMessageLoop(&loop);
    EXPECT_EQ(MessageLoop::Current(), &loop);
    MessageLoop* seen_elsewhere = &loop;
    std::thread([&] { seen_elsewhere = MessageLoop::Current(); }).join();
    EXPECT_EQ(seen_elsewhere, nullptr);
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(MessageLoop::Current(), nullptr);
    EXPECT_FALSE(module.RemoveMessageLoop());
    if (previous != nullptr) {
        module.AddMessageLoop(previous);
    }
}

class Throwing : public Window {
  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == WM_APP + 3) {
            throw std::runtime_error("handler failed");
        }
        return DefaultProc(message, wparam, lparam);
    }
};

TEST(WindowBase, BindsTheObjectNamesTheClassAndStopsExceptions) {
    Throwing window;
    ASSERT_NE(window.Create(nullptr, RECT{0, 0, 50, 50}, "w", WS_POPUP), nullptr);
    EXPECT_EQ(Window::FromHandle(window.hwnd()), &window);
    char name[64] = {};
    GetClassNameA(window.hwnd(), name, sizeof(name));
    EXPECT_EQ(std::string(name), window.ClassName());
    EXPECT_EQ(std::string(name).rfind("Tov:", 0), 0u);
    EXPECT_EQ(SendMessageA(window.hwnd(), WM_APP + 3, 0, 0), 0);  // caught, neutral result

    const HWND handle = window.hwnd();
    DestroyWindow(handle);
    EXPECT_EQ(window.hwnd(), nullptr);
}

TEST(WindowBase, SubclassingRoutesAControlThroughTheObjectAndBackOut) {
    Host host;
    ASSERT_TRUE(host.Open());
    const HWND edit = MakeEdit(host.hwnd());
    const auto original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    struct Counter : Window {
        int chars = 0;
        LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
            if (message == WM_CHAR) {
                ++chars;
            }
            return DefaultProc(message, wparam, lparam);
        }
    } counter;
    ASSERT_TRUE(counter.Subclass(edit));
    EXPECT_EQ(Window::FromHandle(edit), &counter);
    SendMessageA(edit, WM_CHAR, 'x', 0);
    EXPECT_EQ(counter.chars, 1);
    char text[8] = {};
    GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ(text, "x");  // the edit's own procedure still ran
    counter.Unsubclass();
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    EXPECT_EQ(Window::FromHandle(edit), nullptr);
}

}  // namespace
}  // namespace tov
