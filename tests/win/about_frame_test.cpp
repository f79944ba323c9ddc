// The about box and the banner in the running main window: the box shows once at every start,
// queued behind the opening of the listing, and the banner hands IDS_WEBSITE_URL to the shell.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "ui/text_win.h"
#include "ui/web_site_win.h"

namespace tov {
namespace {

using test::FrameOptions;
using test::FrameSession;

enum class Ending { kOkButton, kEnter, kEscape, kCloseBox };

using test::IsAboutBox;

// Watches the user-interface thread's dialogs as they come up: notes what the program shows
// when the about box appears and ends the box the given way. Any other dialog (the open dialog,
// a message box) is answered with a click on its Cancel or OK button once its loop is idle with
// no about box above it; when an about box closed over it, the watcher first notes what is in
// front.
class DialogWatcher {
  public:
    struct Sighting {
        bool about = false;
        std::string caption;
        LRESULT tree_items = 0;      // folders in the tree when the box appeared
        bool summary_shown = false;  // the work summary was up
        bool over_other_dialog = false;
        // For a dialog that an about box covered, once that box had closed:
        bool after_about = false;
        bool in_front = false;       // it is the window at its centre, and drawn uncovered
        bool foreground = false;     // it has the input
        bool frame_enabled = false;  // the main window took input meanwhile
    };

    DialogWatcher(FrameSession& session, Ending ending)
        : frame_(session.hwnd()),
          tree_(session.frame().folder_tree_hwnd()),
          summary_(session.frame().work_summary_hwnd()),
          ending_(ending),
          hook_({.dialog = [this](HWND dialog) { return OnDialog(dialog); },
                 .idle = [this](HWND dialog) { return OnIdle(dialog); },
                 .menu = nullptr},
                {summary_}) {
        t_watcher = this;
        timer_ = SetTimer(nullptr, 0, 20, &DialogWatcher::Tick);
    }
    ~DialogWatcher() {
        KillTimer(nullptr, timer_);
        t_watcher = nullptr;
    }
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    std::vector<Sighting> sightings() const { return sightings_; }
    int about_count() const {
        int count = 0;
        for (const Sighting& sighting : sightings()) {
            count += sighting.about ? 1 : 0;
        }
        return count;
    }

  private:
    bool OnDialog(HWND dialog) {
        if (!IsAboutBox(dialog)) {
            waiting_.push_back(dialog);  // a queued about box may come up over it
            return true;
        }
        Sighting sighting;
        sighting.caption = test::WindowText(dialog);
        sighting.about = true;
        sighting.tree_items = SendMessageA(tree_, TVM_GETCOUNT, 0, 0);
        sighting.summary_shown = IsWindowVisible(summary_) != FALSE;
        // Owned by the dialog beneath it, or at least shown while one is up.
        sighting.over_other_dialog =
            GetWindow(dialog, GW_OWNER) != frame_ ||
            test::FindModalDialog(GetCurrentThreadId(), {summary_, dialog}) != nullptr;
        sightings_.push_back(sighting);
        about_ = dialog;
        End(dialog);
        return true;
    }

    // The open dialog's loop tells when it is idle; a message box's loop does not, so the
    // timer's ticks, which its loop handles too, tell when the about box above it has gone.
    bool OnIdle(HWND dialog) {
        return std::find(waiting_.begin(), waiting_.end(), dialog) != waiting_.end() &&
               Settle(dialog);
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogWatcher* watcher = t_watcher;
        if (watcher != nullptr && !watcher->waiting_.empty() && watcher->about_ != nullptr &&
            !IsWindow(watcher->about_)) {
            watcher->Settle(watcher->waiting_.front());
        }
    }

    // Answers a dialog that no about box covers any more; when one closed over it, first notes
    // what is in front, looking again at later moments (the screen may follow the window
    // system a moment later) for a bounded time.
    bool Settle(HWND dialog) {
        if (about_ != nullptr && IsWindow(about_)) {
            return true;
        }
        Sighting sighting{.caption = test::WindowText(dialog)};
        if (about_ != nullptr) {
            if (look_until_ == 0) {
                look_until_ = GetTickCount64() + 3000;
            }
            sighting.after_about = true;
            LookAtFront(dialog, sighting);
            if (!(sighting.in_front && sighting.foreground) && GetTickCount64() < look_until_) {
                return true;
            }
            about_ = nullptr;
            look_until_ = 0;
        }
        waiting_.erase(std::find(waiting_.begin(), waiting_.end(), dialog));
        sightings_.push_back(sighting);
        const HWND cancel = GetDlgItem(dialog, IDCANCEL);
        test::PostClick(cancel != nullptr ? cancel : GetDlgItem(dialog, IDOK));
        return true;
    }

    void LookAtFront(HWND dialog, Sighting& sighting) const {
        RECT rect{};
        GetWindowRect(dialog, &rect);
        const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        sighting.in_front =
            test::TopLevelWindowAt(centre) == dialog && test::ScreenShowsWindow(dialog);
        sighting.foreground = GetForegroundWindow() == dialog;
        sighting.frame_enabled = IsWindowEnabled(frame_) != FALSE;
    }

    void End(HWND box) const {
        const HWND ok = GetDlgItem(box, IDOK);
        switch (ending_) {
            case Ending::kOkButton:
                test::PostClick(ok);
                break;
            case Ending::kEnter:
                PostMessageA(ok, WM_KEYDOWN, VK_RETURN, 0);
                break;
            case Ending::kEscape:
                PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0);
                break;
            case Ending::kCloseBox:
                PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
        }
    }

    const HWND frame_;
    const HWND tree_;
    const HWND summary_;
    const Ending ending_;
    std::vector<Sighting> sightings_;
    std::vector<HWND> waiting_;
    HWND about_ = nullptr;  // the about box seen last, until the dialog beneath is settled
    ULONGLONG look_until_ = 0;
    test::DialogHook hook_;
    UINT_PTR timer_ = 0;
    static thread_local DialogWatcher* t_watcher;
};

thread_local DialogWatcher* DialogWatcher::t_watcher = nullptr;

FrameOptions Quiet(bool with_listing, const char* language = nullptr) {
    FrameOptions options;
    if (with_listing) {
        options.listing = test::SmallListing();
    }
    options.language = language;
    options.close_dialogs = false;
    return options;
}

// What the program looks like once the start-up has settled.
struct State {
    bool alive = false;
    bool summary_shown = false;
    bool summary_checked = false;
    bool frame_enabled = false;
    LRESULT tree_items = 0;
    bool operator==(const State&) const = default;
};

State StateOf(FrameSession& session) {
    State state;
    state.alive = session.alive();
    if (!state.alive) {
        return state;
    }
    MainFrame& frame = session.frame();
    state.summary_shown = IsWindowVisible(frame.work_summary_hwnd()) != FALSE;
    state.summary_checked =
        SendMessageA(frame.main_toolbar(), TB_ISBUTTONCHECKED, ID_SHOW_SUMMARY, 0) != 0;
    state.frame_enabled = IsWindowEnabled(frame.hwnd()) != FALSE;
    state.tree_items = SendMessageA(frame.folder_tree_hwnd(), TVM_GETCOUNT, 0, 0);
    return state;
}

TEST(AboutAtStart, ShowsOnceAfterTheListingOpenedAndEveryEndingLeavesTheSameState) {
    std::vector<State> states;
    for (Ending ending : {Ending::kOkButton, Ending::kEnter, Ending::kEscape, Ending::kCloseBox}) {
        SCOPED_TRACE(static_cast<int>(ending));
        FrameSession session(Quiet(true));
        ASSERT_TRUE(session.alive());
        DialogWatcher watcher(session, ending);
        ASSERT_TRUE(session.PumpUntilIdle());
        const auto sightings = watcher.sightings();
        ASSERT_EQ(sightings.size(), 1u);
        EXPECT_TRUE(sightings[0].about);
        EXPECT_GT(sightings[0].tree_items, 0) << "the listing was open before the box came";
        EXPECT_TRUE(sightings[0].summary_shown);
        EXPECT_FALSE(sightings[0].over_other_dialog);
        states.push_back(StateOf(session));
    }
    EXPECT_TRUE(states[0].alive);
    EXPECT_TRUE(states[0].summary_shown);
    EXPECT_TRUE(states[0].summary_checked);
    EXPECT_TRUE(states[0].frame_enabled);
    for (const State& state : states) {
        EXPECT_TRUE(state == states[0]);
    }
}

// When the open dialog or the refusal message waits beneath the about box, closing the box with
// the mouse leaves that dialog in front with the input and the main window disabled; its Cancel
// or OK then ends the program.
TEST(AboutAtStart, OpensOverTheWaitingDialogWhichStaysInFrontOnceItCloses) {
    const struct {
        const char* name;
        std::string listing;
    } cases[] = {{"no listing: the open dialog", {}},
                 {"a refused listing: the message box", std::string(37, 'x')}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        FrameOptions options = Quiet(false);
        options.listing = each.listing;
        FrameSession session(options);
        ASSERT_TRUE(session.alive());
        DialogWatcher watcher(session, Ending::kOkButton);
        session.PumpUntilIdle();
        const auto sightings = watcher.sightings();
        ASSERT_EQ(sightings.size(), 2u);
        EXPECT_TRUE(sightings[0].about);
        EXPECT_TRUE(sightings[0].over_other_dialog);
        EXPECT_EQ(sightings[0].tree_items, 0);
        const DialogWatcher::Sighting& beneath = sightings[1];
        EXPECT_FALSE(beneath.about);
        EXPECT_TRUE(beneath.after_about);
        EXPECT_TRUE(beneath.in_front);
        EXPECT_TRUE(beneath.foreground);
        EXPECT_FALSE(beneath.frame_enabled);
        EXPECT_EQ(watcher.about_count(), 1);
        EXPECT_TRUE(session.quit_received());
    }
}

TEST(AboutAtStart, TheAboutCommandShowsItAgain) {
    FrameSession session(Quiet(true));
    ASSERT_TRUE(session.alive());
    DialogWatcher watcher(session, Ending::kOkButton);
    ASSERT_TRUE(session.PumpUntilIdle());
    PostMessageA(session.hwnd(), WM_COMMAND, MAKEWPARAM(ID_ABOUT, BN_CLICKED), 0);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(watcher.about_count(), 2);
    EXPECT_TRUE(session.alive());
}

// Stands in for the shell: records the call instead of starting a browser.
struct ShellCall {
    int calls = 0;
    HWND owner = reinterpret_cast<HWND>(1);
    std::string verb, file;
    bool parameters = true, directory = true;
    INT show = -1;
};
ShellCall g_shell_call;

HINSTANCE WINAPI RecordShellCall(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                 LPCSTR directory, INT show) {
    ++g_shell_call.calls;
    g_shell_call.owner = owner;
    g_shell_call.verb = verb ? verb : "";
    g_shell_call.file = file ? file : "";
    g_shell_call.parameters = parameters != nullptr;
    g_shell_call.directory = directory != nullptr;
    g_shell_call.show = show;
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

class ShellSeam {
  public:
    ShellSeam() : previous_(SetShellExecuteForTesting(&RecordShellCall)) { g_shell_call = {}; }
    ~ShellSeam() { SetShellExecuteForTesting(previous_); }
    ShellSeam(const ShellSeam&) = delete;
    ShellSeam& operator=(const ShellSeam&) = delete;

  private:
    ShellExecuteFunction previous_;
};

TEST(Banner, ClickingItHandsTheLanguagesAddressToTheShell) {
    const struct {
        const char* switch_text;
        const char* address;
    } cases[] = {{"-l de", "http://www.recupera.example.de/"},
                 {"-l es", "http://www.recupera.example.com/"}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.switch_text);
        ShellSeam seam;
        FrameSession session(Quiet(true, each.switch_text));
        ASSERT_TRUE(session.alive());
        DialogWatcher watcher(session, Ending::kEscape);
        ASSERT_TRUE(session.PumpUntilIdle());
        EXPECT_EQ(LoadText(IDS_WEBSITE_URL), each.address);

        const HWND banner = session.frame().banner_bar();
        RECT button{};
        ASSERT_TRUE(SendMessageA(banner, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button)));
        const LPARAM centre =
            MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        PostMessageA(banner, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        PostMessageA(banner, WM_LBUTTONUP, 0, centre);
        ASSERT_TRUE(session.PumpUntilIdle());

        EXPECT_EQ(g_shell_call.calls, 1);
        EXPECT_EQ(g_shell_call.owner, nullptr);
        EXPECT_EQ(g_shell_call.verb, "open");
        EXPECT_EQ(g_shell_call.file, each.address);
        EXPECT_FALSE(g_shell_call.parameters);
        EXPECT_FALSE(g_shell_call.directory);
        EXPECT_EQ(g_shell_call.show, SW_SHOWDEFAULT);
        EXPECT_TRUE(session.alive());
    }
}

TEST(Banner, AnEmptyAddressOpensNothing) {
    ShellSeam seam;
    OpenWebAddress("");
    OpenWebAddress(nullptr);
    EXPECT_EQ(g_shell_call.calls, 0);
    OpenWebAddress("http://www.recupera.example.com/");
    EXPECT_EQ(g_shell_call.calls, 1);
}

}  // namespace
}  // namespace tov
