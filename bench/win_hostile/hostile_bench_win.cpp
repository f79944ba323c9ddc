// The longest time the real main window's thread goes without taking a message, for one listing
// under Wine: from taking one message (in the main loop or in the loop of a dialog or message box
// that its handling opened) to taking the next or returning, and each idle step and each message
// the benchmark sends, through start-up, showing and hiding the summary, expanding a folder,
// searching "*", sorting the results by each column and saving them.
//
//   win_hostile_bench FOLDER
//
// FOLDER holds exactly one listing. Prints "step slowest_ms what" per step, then
// "slowest slowest_ms step what"; a window that does not come to idle within 10 minutes ends the
// run with what it was doing.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/app_module_win.h"
#include "app/message_loop_win.h"
#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "ui/main_frame_win.h"

namespace {

constexpr double kGiveUpMs = 600000;

double NowMs() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

std::string Describe(const MSG& message) {
    char name[64] = "none";
    if (message.hwnd != nullptr) {
        GetClassNameA(message.hwnd, name, sizeof(name));
    }
    char text[160];
    std::snprintf(text, sizeof(text), "0x%04X@%s", message.message, name);
    return text;
}

class Bench;
Bench* current_bench = nullptr;
LRESULT CALLBACK OnMessageTaken(int code, WPARAM wparam, LPARAM lparam);

class Bench {
  public:
    Bench() {
        current_bench = this;
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, OnMessageTaken, nullptr, GetCurrentThreadId());
    }
    ~Bench() {
        UnhookWindowsHookEx(hook_);
        current_bench = nullptr;
    }

    // Every message taken from the queue by any loop of the thread ends the stretch that
    // began when the last one was taken.
    void Taken(const MSG& message) {
        const double now = NowMs();
        if (taken_at_ > 0) {
            Note(now - taken_at_, taken_what_);
        }
        taken_at_ = now;
        taken_what_ = Describe(message);
    }
    // The handling of the outermost message has returned.
    void Returned() {
        if (taken_at_ > 0) {
            Note(NowMs() - taken_at_, taken_what_);
        }
        taken_at_ = 0;
    }

    bool Start() { return tov::test::StartMainFrame(loop_, frame_, closer_); }

    // Handles messages and idle steps until nothing is left, timing each; as the loop's own
    // PumpUntilIdle does, with the idle step's flag kept here.
    bool PumpUntilIdle() {
        const double give_up = NowMs() + kGiveUpMs;
        bool idle_due = false;
        for (;;) {
            MSG message{};
            if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    return false;
                }
                loop_.HandleMessage(&message);  // taken: the hook started the stretch
                Returned();
                idle_due = idle_due || tov::MessageLoop::IsIdleMessage(message);
            } else if (idle_due) {
                const double start = NowMs();
                loop_.RunIdleHandlers();
                Note(NowMs() - start, "idle");
                idle_due = false;
            } else if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
                return true;
            }
            if (NowMs() > give_up) {
                return false;
            }
        }
    }

    // A message sent as the user's action would send it, timed, then the queue to idle.
    LRESULT Send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, const char* what) {
        taken_at_ = NowMs();
        taken_what_ = what;
        const LRESULT result = SendMessageA(window, message, wparam, lparam);
        Returned();
        PumpUntilIdle();
        return result;
    }

    void BeginStep() {
        slowest_ = 0;
        what_ = "nothing";
    }
    void EndStep(const char* step) {
        std::printf("%s %.1f %s\n", step, slowest_, what_.c_str());
        std::fflush(stdout);
        if (slowest_ > overall_) {
            overall_ = slowest_;
            overall_what_ = std::string(step) + " " + what_;
        }
    }
    // A stretch of one message that the benchmark timed itself.
    void Note(double ms, const std::string& what) {
        if (ms > slowest_) {
            slowest_ = ms;
            what_ = what;
        }
    }
    void Finish() { std::printf("slowest %.1f %s\n", overall_, overall_what_.c_str()); }

    tov::MainFrame& frame() { return frame_; }
    tov::test::ModalDialogCloser& closer() { return closer_; }

  private:
    HHOOK hook_ = nullptr;
    double taken_at_ = 0;
    std::string taken_what_;
    tov::MessageLoop loop_;
    tov::MainFrame frame_;
    tov::test::ModalDialogCloser closer_;
    double slowest_ = 0;
    std::string what_;
    double overall_ = 0;
    std::string overall_what_ = "nothing";
};

LRESULT CALLBACK OnMessageTaken(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && wparam == PM_REMOVE && current_bench != nullptr) {
        current_bench->Taken(*reinterpret_cast<const MSG*>(lparam));
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Types the path into the save dialog and presses Save, from another thread.
// The work summary, a modeless dialog that stays up, is `summary`.
void AnswerSaveDialog(DWORD thread_id, HWND summary, const std::string& path,
                      const std::atomic<bool>* stop, std::atomic<double>* answered_at) {
    const double give_up = NowMs() + 60000;
    while (!*stop && NowMs() < give_up) {
        Sleep(20);
        HWND dialog = tov::test::FindModalDialog(thread_id, {summary});
        if (dialog == nullptr) {
            continue;
        }
        for (int control : {0x47c, 0x480}) {
            if (HWND field = GetDlgItem(dialog, control)) {
                SetWindowTextA(field, path.c_str());
            }
        }
        *answered_at = NowMs();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Sleep(500);
    }
}

// The first folder below the root that has folders below it, else the root.
HTREEITEM FolderToExpand(HWND tree) {
    HTREEITEM root = TreeView_GetRoot(tree);
    for (HTREEITEM child = root != nullptr ? TreeView_GetChild(tree, root) : nullptr;
         child != nullptr; child = TreeView_GetNextSibling(tree, child)) {
        TVITEMA item{};
        item.mask = TVIF_CHILDREN | TVIF_HANDLE;
        item.hItem = child;
        if (TreeView_GetItem(tree, &item) && item.cChildren != 0) {
            return child;
        }
    }
    return root;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !SetCurrentDirectoryA(argv[1])) {
        std::fprintf(stderr, "usage: win_hostile_bench FOLDER-WITH-ONE-LISTING\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);

    Bench bench;
    bench.BeginStep();
    if (!bench.Start()) {
        std::fprintf(stderr, "the main window was not created\n");
        return 1;
    }
    const bool idle = bench.PumpUntilIdle();
    bench.EndStep("start");
    tov::MainFrame& frame = bench.frame();
    if (!idle || frame.hwnd() == nullptr || !IsWindow(frame.hwnd())) {
        std::fprintf(stderr, "the main window did not come to idle with the listing\n");
        bench.Finish();
        return 1;
    }

    bench.BeginStep();
    bench.Send(frame.hwnd(), WM_COMMAND, ID_SHOW_SUMMARY, 0, "hide summary");
    bench.Send(frame.hwnd(), WM_COMMAND, ID_SHOW_SUMMARY, 0, "show summary");
    bench.EndStep("summary");

    bench.BeginStep();
    const HWND tree = frame.folder_tree_hwnd();
    if (HTREEITEM folder = FolderToExpand(tree)) {
        bench.Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder), "expand");
        bench.Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(folder), "select");
    }
    bench.EndStep("expand");

    bench.BeginStep();
    const HWND combo = GetDlgItem(frame.main_toolbar(), IDC_SEARCH_COMBO);
    const HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    SetWindowTextA(edit, "*");
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    bench.PumpUntilIdle();
    bench.EndStep("search_star");
    std::printf("results %d\n", ListView_GetItemCount(frame.results_list_hwnd()));

    const HWND results = frame.results_list_hwnd();
    const char* const sorts[] = {"sort_status", "sort_name", "sort_size", "sort_date"};
    for (int column = 0; column < 4; ++column) {
        bench.BeginStep();
        NMLISTVIEW click = tov::test::ColumnClick(results, column);
        bench.Send(GetParent(results), WM_NOTIFY, click.hdr.idFrom,
                   reinterpret_cast<LPARAM>(&click), "column click");
        bench.EndStep(sorts[column]);
    }

    if (ListView_GetItemCount(results) > 0) {
        bench.BeginStep();
        bench.closer().set_enabled(false);
        char folder[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, folder);
        const std::string path = std::string(folder) + "\\results.csv";
        std::atomic<bool> stop{false};
        std::atomic<double> answered_at{0};
        std::thread answer(AnswerSaveDialog, GetCurrentThreadId(), frame.work_summary_hwnd(), path,
                           &stop, &answered_at);
        // The save dialog's own loop takes messages inside this one: only the stretches
        // without any count, the writing after the press on Save among them.
        const double start = NowMs();
        bench.Send(frame.hwnd(), WM_COMMAND, ID_SAVE_SEARCH, 0, "save command");
        // The dialog is gone once the command returns; a long save goes on at timer ticks, each
        // timed as a message.
        stop = true;
        answer.join();
        while (frame.saving_results() && bench.PumpUntilIdle()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
        const double end = NowMs();
        std::printf("save_command_with_dialog %.1f after_save_pressed %.1f saved %s\n", end - start,
                    answered_at > 0 ? end - answered_at : -1.0,
                    GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? "yes" : "no");
        DeleteFileA(path.c_str());
        bench.closer().set_enabled(true);
        bench.PumpUntilIdle();
        bench.EndStep("save");
    }
    bench.Finish();
    DestroyWindow(frame.hwnd());
    bench.PumpUntilIdle();
    return 0;
}
