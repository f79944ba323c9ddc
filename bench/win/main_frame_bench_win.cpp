// End-to-end figures of the real main window under Wine: start to idle with the listing open,
// searches to idle, a column click on the results, saving them and the peak working set.
//
//   win_bench FOLDER [RESULTS.csv]
//
// FOLDER holds exactly one listing; the window is started there as the program starts. Each
// figure is printed as "name value" on its own line (times in milliseconds, sizes in bytes).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/app_module_win.h"
#include "app/message_loop_win.h"
#include "res/resource.h"
#include "tests/win/frame_test_support.h"
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
    bool Start() {
        tov::AppModule& module = tov::Module();
        module.Init(GetModuleHandleA(nullptr));
        module.AddMessageLoop(&loop_);
        RECT desktop{};
        GetWindowRect(GetDesktopWindow(), &desktop);
        const RECT rect{desktop.left + 32, desktop.top + 32, desktop.left + 32 + 900,
                        desktop.top + 32 + 680};
        if (frame_.CreateMain(rect) == nullptr) {
            return false;
        }
        closer_.Keep(frame_.work_summary_hwnd());
        ShowWindow(frame_.hwnd(), SW_SHOWNORMAL);
        return true;
    }

    bool PumpUntilIdle() {
        return loop_.PumpUntilIdle(kPumpLimitMs) == tov::MessageLoop::PumpResult::kIdle;
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
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    const double start = NowMs();
    const double cpu = ThreadCpuMs();
    SendMessageA(GetParent(list), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    bench.PumpUntilIdle();
    return {NowMs() - start, ThreadCpuMs() - cpu};
}

// Answers the save dialog with `path` as it comes up; records when it pressed Save.
class SaveDialogAnswer {
  public:
    explicit SaveDialogAnswer(std::string path)
        : script_({[this, path](HWND dialog) {
              answered_at_ = NowMs();
              tov::test::PostFileName(dialog, path);
          }}) {}
    double answered_at() const { return answered_at_; }

  private:
    double answered_at_ = 0;
    tov::test::DialogScript script_;
};

LONGLONG FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !SetCurrentDirectoryA(argv[1])) {
        std::fprintf(stderr, "usage: win_bench FOLDER-WITH-ONE-LISTING [RESULTS.csv]\n");
        return 2;
    }
    std::string results_path = argc > 2 ? argv[2] : std::string(argv[1]) + "\\results.csv";
    DeleteFileA(results_path.c_str());
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
        bench.closer().set_enabled(false);
        SaveDialogAnswer answer(results_path);
        const double start_save = NowMs();
        const double start_save_cpu = ThreadCpuMs();
        SendMessageA(frame.hwnd(), WM_COMMAND, MAKEWPARAM(ID_SAVE_SEARCH, 0), 0);
        bench.PumpUntilIdle();
        const double saved = NowMs();
        bench.closer().set_enabled(true);
        // The whole command, the save dialog included, and the part after Save was pressed.
        Figure("save_command", Step{saved - start_save, ThreadCpuMs() - start_save_cpu});
        if (answer.answered_at() > 0) {
            Figure("save_after_dialog_ms", saved - answer.answered_at());
        }
        Figure("save_bytes", static_cast<double>(FileBytes(results_path)));
    }

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory))) {
        Figure("peak_working_set_bytes", static_cast<double>(memory.PeakWorkingSetSize));
    }
    DestroyWindow(frame.hwnd());
    bench.PumpUntilIdle();
    return 0;
}
