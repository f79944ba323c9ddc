// End-to-end figures of the real main window under Wine: start to idle with the listing open,
// searches to idle, a column click on the results, saving them (the write itself, and the whole
// command with its dialog), the peak working set, typing into the results list and "*" (expand
// all) in the folder tree.
//
//   win_bench FOLDER [RESULTS.csv]
//   win_bench --expand-all SECONDS FOLDER     only "*" at the root, Escape after SECONDS
//
// FOLDER holds exactly one listing; the window is started there as the program starts. Each
// figure is printed as "name value" on its own line (times in milliseconds, sizes in bytes).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/app_module_win.h"
#include "app/message_loop_win.h"
#include "listing/file_handle_win.h"
#include "res/resource.h"
#include "search/results_file_win.h"
#include "tests/win/frame_test_support.h"
#include "ui/file_list_control_win.h"
#include "ui/folder_tree_win.h"
#include "ui/main_frame_win.h"

namespace {

constexpr DWORD kPumpLimitMs = 120000;

double NowMs() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// CPU time of the calling thread: on a shared machine the wall time of a step measures the
// neighbours too. Wine reads it from the kernel in clock ticks (10 ms).
double ThreadCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

void Figure(const char* name, double value) {
    std::printf("%s %.1f\n", name, value);
    std::fflush(stdout);
}

HWND FindChildOfClass(HWND parent, const char* class_name) {
    struct Search {
        const char* class_name;
        HWND found;
    } search{class_name, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            GetClassNameA(window, name, sizeof(name));
            if (lstrcmpiA(name, s->class_name) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The main window started in the listing's folder, exactly as the program starts it.
class BenchFrame {
  public:
    bool Start() { return tov::test::StartMainFrame(loop_, frame_, closer_); }

    bool PumpUntilIdle() {
        return loop_.PumpUntilIdle(kPumpLimitMs) == tov::MessageLoop::PumpResult::kIdle;
    }

    // Handles messages, timers included, as long as `keep_going` holds.
    template <typename KeepGoing>
    void PumpWhile(KeepGoing keep_going) {
        MSG message{};
        while (keep_going()) {
            if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            } else if (message.message == WM_QUIT) {
                return;
            } else {
                loop_.HandleMessage(&message);
            }
        }
    }

    tov::MainFrame& frame() { return frame_; }
    tov::test::ModalDialogCloser& closer() { return closer_; }

  private:
    tov::MessageLoop loop_;
    tov::MainFrame frame_;
    tov::test::ModalDialogCloser closer_;
};

// A step's wall time and the CPU time of the window's thread, in milliseconds.
struct Step {
    double wall;
    double cpu;
};

void Figure(const char* name, const Step& step) {
    std::printf("%s_ms %.1f\n%s_cpu_ms %.1f\n", name, step.wall, name, step.cpu);
    std::fflush(stdout);
}

int ListItems(HWND list) {
    return list != nullptr ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

// A search as the search bar sends it: a class picked from the box, or typed text.
Step SearchToIdle(BenchFrame& bench, HWND combo, int class_row, const char* typed) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(class_row), 0);
    if (typed != nullptr) {
        SetWindowTextA(combo, typed);
    }
    const double start = NowMs();
    const double cpu = ThreadCpuMs();
    SendMessageA(bench.frame().hwnd(), WM_COMMAND, MAKEWPARAM(ID_SEARCH, 0), 0);
    bench.PumpUntilIdle();
    return {NowMs() - start, ThreadCpuMs() - cpu};
}

// A click on a header of a list, as the list view reports it to its parent.
Step ColumnClickToIdle(BenchFrame& bench, int column, HWND list) {
    NMLISTVIEW click = tov::test::ColumnClick(list, column);
    const double start = NowMs();
    const double cpu = ThreadCpuMs();
    SendMessageA(GetParent(list), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    bench.PumpUntilIdle();
    return {NowMs() - start, ThreadCpuMs() - cpu};
}

// Answers the save dialog with `path` as it comes up.
class SaveDialogAnswer {
  public:
    explicit SaveDialogAnswer(std::string path)
        : script_({[path](HWND dialog) { tov::test::PostFileName(dialog, path); }}) {}

  private:
    tov::test::DialogScript script_;
};

// Typing one character into a list, after a pause long enough that the list starts a new
// search instead of adding to the last one: each key is a find over every row's status, and a
// key that nothing matches reads them all.
Step TypeToIdle(BenchFrame& bench, HWND list, char key) {
    Sleep(600);
    const double start = NowMs();
    const double cpu = ThreadCpuMs();
    PostMessageA(list, WM_CHAR, static_cast<unsigned char>(key), 1);
    bench.PumpUntilIdle();
    return {NowMs() - start, ThreadCpuMs() - cpu};
}

// Asks the window every 20 ms whether it answers (a message sent from another thread waits
// until the window's thread looks at its queue) and keeps the longest wait.
class AnswerWatch {
  public:
    explicit AnswerWatch(HWND window) : window_(window), worker_([this] { Run(); }) {}
    ~AnswerWatch() {
        stop_ = true;
        worker_.join();
    }
    double longest_ms() const { return longest_ms_; }

  private:
    void Run() {
        while (!stop_ && IsWindow(window_)) {
            const double start = NowMs();
            DWORD_PTR result = 0;
            double reported_s = 0;
            while (!stop_ && IsWindow(window_) &&
                   !SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 500, &result)) {
                const double waited_s = (NowMs() - start) / 1000;
                if (waited_s >= reported_s + 10) {
                    reported_s = waited_s;
                    std::fprintf(stderr, "the window has not answered for %.0f s\n", waited_s);
                }
            }
            longest_ms_ = std::max<double>(longest_ms_, NowMs() - start);
            Sleep(20);
        }
    }

    HWND window_;
    std::atomic<bool> stop_{false};
    std::atomic<double> longest_ms_{0};
    std::thread worker_;
};

// "*" on the numeric keypad with the root selected in the tree, as a person presses it: the time
// until every folder below is in the tree and expanded, the longest time the window took to
// answer meanwhile, and the tree's items. After `limit_ms` Escape ends the work; then the time
// the window took to stop is given too.
void ExpandAllFigures(BenchFrame& bench, double limit_ms) {
    HWND tree = bench.frame().folder_tree_hwnd();
    const auto* folder_tree = static_cast<const tov::FolderTree*>(tov::Window::FromHandle(tree));
    SetFocus(tree);
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    bench.PumpUntilIdle();
    AnswerWatch watch(tree);
    const double start = NowMs();
    const double cpu = ThreadCpuMs();
    PostMessageA(tree, WM_KEYDOWN, VK_MULTIPLY, 0x00370001);
    PostMessageA(tree, WM_KEYUP, VK_MULTIPLY, static_cast<LPARAM>(0xC0370001u));
    bench.PumpWhile([&] {
        return GetQueueStatus(QS_POSTMESSAGE) != 0 && NowMs() - start < limit_ms;
    });  // the key itself, and everything the program of old did inside it
    bench.PumpWhile([&] { return folder_tree->expanding_all() && NowMs() - start < limit_ms; });
    const bool finished = !folder_tree->expanding_all();
    const Step step{NowMs() - start, ThreadCpuMs() - cpu};
    if (!finished) {
        const double escape = NowMs();
        PostMessageA(tree, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        bench.PumpUntilIdle();
        Figure("expand_all_escape_to_idle_ms", NowMs() - escape);
    }
    Figure("expand_all", step);
    Figure("expand_all_finished", finished ? 1 : 0);
    Figure("expand_all_longest_wait_ms", watch.longest_ms());
    Figure("expand_all_tree_items", static_cast<double>(SendMessageA(tree, TVM_GETCOUNT, 0, 0)));
}

LONGLONG FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv) {
    const bool expand_all_only = argc == 4 && std::string(argv[1]) == "--expand-all";
    const char* folder = expand_all_only ? argv[3] : (argc > 1 ? argv[1] : nullptr);
    if (folder == nullptr || !SetCurrentDirectoryA(folder)) {
        std::fprintf(stderr,
                     "usage: win_bench FOLDER-WITH-ONE-LISTING [RESULTS.csv]\n"
                     "       win_bench --expand-all SECONDS FOLDER-WITH-ONE-LISTING\n");
        return 2;
    }
    constexpr double kExpandAllLimitMs = 120000;
    std::string results_path = argc > 2 ? argv[2] : std::string(folder) + "\\results.csv";
    if (!expand_all_only) {
        DeleteFileA(results_path.c_str());
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitialize(nullptr);

    BenchFrame bench;
    const double start = NowMs();
    const double start_cpu = ThreadCpuMs();
    if (!bench.Start()) {
        std::fprintf(stderr, "the main window was not created\n");
        return 1;
    }
    const bool idle = bench.PumpUntilIdle();
    Figure("start_to_idle", Step{NowMs() - start, ThreadCpuMs() - start_cpu});
    tov::MainFrame& frame = bench.frame();
    for (const std::string& caption : bench.closer().closed()) {
        std::fprintf(stderr, "closed the dialog \"%s\"\n", caption.c_str());
    }
    if (!idle || frame.hwnd() == nullptr || !IsWindow(frame.hwnd())) {
        std::fprintf(stderr, "the main window did not come to idle with the listing\n");
        return 1;
    }
    Figure("tree_items",
           static_cast<double>(SendMessageA(frame.folder_tree_hwnd(), TVM_GETCOUNT, 0, 0)));
    if (expand_all_only) {
        ExpandAllFigures(bench, 1000 * std::atof(argv[2]));
        // The tree control frees its items one by one when the window closes.
        const double close = NowMs();
        DestroyWindow(frame.hwnd());
        bench.PumpUntilIdle();
        Figure("close_ms", NowMs() - close);
        return 0;
    }
    Figure("root_rows", ListItems(frame.file_list_hwnd()));
    // The root folder shown again after another one, and sorted by size in the file list.
    const HWND tree = frame.folder_tree_hwnd();
    const HTREEITEM root = TreeView_GetRoot(tree);
    if (root != nullptr && TreeView_GetChild(tree, root) != nullptr) {
        TreeView_SelectItem(tree, TreeView_GetChild(tree, root));
        bench.PumpUntilIdle();
        const double start_show = NowMs();
        const double start_show_cpu = ThreadCpuMs();
        TreeView_SelectItem(tree, root);
        UpdateWindow(frame.file_list_hwnd());
        bench.PumpUntilIdle();
        Figure("show_root", Step{NowMs() - start_show, ThreadCpuMs() - start_show_cpu});
        Figure("sort_root_size", ColumnClickToIdle(bench, 2, frame.file_list_hwnd()));
    }
    HWND summary = frame.work_summary_hwnd();
    Figure("summary_text_bytes", GetWindowTextLengthA(GetDlgItem(summary, IDC_TEXT)));
    Figure("summary_rows", ListItems(GetDlgItem(summary, IDC_CHECK_LIST)));

    HWND combo = FindChildOfClass(frame.hwnd(), "ComboBox");
    if (combo == nullptr) {
        std::fprintf(stderr, "no search box\n");
        return 1;
    }
    Figure("search_doc", SearchToIdle(bench, combo, -1, "*.doc"));
    Figure("search_doc_rows", ListItems(frame.results_list_hwnd()));
    Figure("search_all", SearchToIdle(bench, combo, 0, nullptr));
    Figure("search_all_rows", ListItems(frame.results_list_hwnd()));

    // Name is the list's first order; a click on it reverses it, the others sort anew.
    Figure("sort_name", ColumnClickToIdle(bench, 1, frame.results_list_hwnd()));
    Figure("sort_size", ColumnClickToIdle(bench, 2, frame.results_list_hwnd()));
    Figure("sort_date", ColumnClickToIdle(bench, 3, frame.results_list_hwnd()));
    Figure("sort_status", ColumnClickToIdle(bench, 0, frame.results_list_hwnd()));

    if (ListItems(frame.results_list_hwnd()) > 0) {
        // The write itself: what the command does once the dialog has given a name, timed
        // around the call (the rows in the order the list shows them).
        const auto& list = *static_cast<const tov::FileListControl*>(
            tov::Window::FromHandle(frame.results_list_hwnd()));
        const double start_write = NowMs();
        const double start_write_cpu = ThreadCpuMs();
        std::vector<std::uint32_t> order(list.RowCount());
        for (std::size_t position = 0; position < order.size(); ++position) {
            order[position] =
                static_cast<std::uint32_t>(&list.RowAt(position) - list.rows().rows.data());
        }
        const bool written =
            tov::SaveResultsFile(tov::WideFromAnsi(results_path), list.rows(), order);
        Figure("save_write", Step{NowMs() - start_write, ThreadCpuMs() - start_write_cpu});
        Figure("save_write_bytes", written ? static_cast<double>(FileBytes(results_path)) : -1);
        order = {};
        DeleteFileA(results_path.c_str());

        bench.closer().set_enabled(false);
        SaveDialogAnswer answer(results_path);
        const double start_save = NowMs();
        const double start_save_cpu = ThreadCpuMs();
        double longest_wait_ms = 0;
        {
            AnswerWatch watch(frame.hwnd());
            SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_SAVE_SEARCH, 0), 0);
            // A long save goes on at timer ticks.
            bench.PumpWhile([&frame] { return frame.saving_results(); });
            bench.PumpUntilIdle();
            longest_wait_ms = watch.longest_ms();
        }
        const double saved = NowMs();
        bench.closer().set_enabled(true);
        // The whole command, the save dialog included.
        Figure("save_command", Step{saved - start_save, ThreadCpuMs() - start_save_cpu});
        Figure("save_bytes", static_cast<double>(FileBytes(results_path)));
        // The longest the window took to answer while the command ran.
        Figure("save_longest_wait_ms", longest_wait_ms);
    }

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory))) {
        Figure("peak_working_set_bytes", static_cast<double>(memory.PeakWorkingSetSize));
    }

    // Typing into the results of "All files", sorted by status: a key that finds the first row of
    // its kind, one that finds a row far down, and one that nothing matches.
    HWND results = frame.results_list_hwnd();
    SetFocus(results);
    Step slowest_key{0, 0};
    for (const char key : {'b', 'm', 'z'}) {
        const Step step = TypeToIdle(bench, results, key);
        const std::string name = std::string("type_to_find_key_") + key;
        Figure(name.c_str(), step);
        slowest_key.wall = std::max(slowest_key.wall, step.wall);
        slowest_key.cpu = std::max(slowest_key.cpu, step.cpu);
    }
    Figure("type_to_find_rows", ListItems(results));
    Figure("type_to_find_slowest_key", slowest_key);

    ExpandAllFigures(bench, kExpandAllLimitMs);
    DestroyWindow(frame.hwnd());
    bench.PumpUntilIdle();
    return 0;
}
