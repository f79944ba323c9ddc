#include "ui/main_frame_win.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/owned_windows_win.h"
#include "ui/rebar_win.h"
#include "ui/text_win.h"
#include "ui/toolbar_win.h"

namespace tov {
namespace {

constexpr DWORD kPaneStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr int kInitialBarPosition = 212;
constexpr COLORREF kBannerMask = RGB(232, 237, 220);
// Posted to itself once the frame has been activated or raised.
constexpr UINT kRaiseOwnedWindows = WM_APP + 20;

// One request in the queue is enough, however often the frame moves meanwhile.
void PostRaiseOwnedWindows(HWND frame) {
    MSG pending{};
    if (!PeekMessageA(&pending, frame, kRaiseOwnedWindows, kRaiseOwnedWindows, PM_NOREMOVE)) {
        PostMessageA(frame, kRaiseOwnedWindows, 0, 0);
    }
}

}  // namespace

MainFrame::MainFrame() {
    for (UINT command : {ID_FOLDER_UP, ID_SAVE_SEARCH, ID_SHOW_SUMMARY, ID_SHOW_RESULTS,
                         ID_ONLY_GOOD, ID_ONLY_BAD}) {
        command_states_.AddCommand(command);
    }
}

MainFrame::~MainFrame() {
    // Destroyed while the derived object is whole, so that WM_DESTROY unregisters it.
    if (hwnd() != nullptr) {
        DestroyWindow(hwnd());
    }
}

HWND MainFrame::CreateMain(const RECT& rect) {
    const std::string caption = LoadText(IDR_MAINFRAME);
    return Create(nullptr, rect, caption.c_str(),
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                  WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, 0);
}

void MainFrame::DescribeClass(WNDCLASSEXA& window_class) const {
    const HINSTANCE instance = ResourceInstance();
    window_class.style = 0;
    window_class.hIcon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    window_class.hIconSm = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
}

// ---- creation ----

bool MainFrame::CreateBars() {
    rebar_ = CreateRebar(hwnd(), ID_BARS);
    HWND bar_parent = rebar_ != nullptr ? rebar_ : hwnd();

    // The banner keeps its own image list, with the mask colour made transparent.
    BitmapHandle banner(static_cast<HBITMAP>(LoadImageA(
        ResourceInstance(), MAKEINTRESOURCEA(IDR_BANNER), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (banner) {
        BITMAP info{};
        GetObjectA(banner.get(), sizeof(info), &info);
        banner_images_.reset(
            ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0));
        if (banner_images_) {
            ImageList_AddMasked(banner_images_.get(), banner.get(), kBannerMask);
        }
    }
    banner_bar_ = CreateToolbarFromResource(bar_parent, IDR_BANNER, kToolbarStyle, ID_BARS);
    if (banner_bar_ != nullptr && banner_images_) {
        SendMessageA(banner_bar_, TB_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(banner_images_.get()));
    }
    AddToolbarBand(rebar_, banner_bar_, false);

    main_toolbar_ = CreateToolbarFromResource(bar_parent, IDR_MAINFRAME, kToolbarStyle, ID_BARS);
    if (main_toolbar_ != nullptr) {
        search_bar_.Create(main_toolbar_);
    }
    AddToolbarBand(rebar_, main_toolbar_, true);
    return true;
}

LRESULT MainFrame::OnCreate() {
    document_ = ListingDocument();
    CreateBars();

    if (outer_splitter_.Create(hwnd(), kPaneStyle) == nullptr ||
        inner_splitter_.Create(outer_splitter_.hwnd(), kPaneStyle) == nullptr) {
        return -1;
    }
    client_ = outer_splitter_.hwnd();

    if (!work_summary_.Create(hwnd())) {
        return -1;
    }

    const std::string results_title = LoadText(IDS_RESULTS_TITLE);
    if (!folder_tree_.Create(outer_splitter_.hwnd(), nullptr) ||
        !file_list_.Create(inner_splitter_.hwnd(), IDC_FILE_LIST, nullptr) ||
        results_pane_.Create(inner_splitter_.hwnd(), results_title.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN) ==
            nullptr ||
        !results_list_.Create(results_pane_.hwnd(), IDC_RESULTS_LIST, nullptr)) {
        return -1;
    }

    UpdateLayout();

    outer_splitter_.SetPanes(folder_tree_.hwnd(), inner_splitter_.hwnd(), false);
    outer_splitter_.SetExtendedStyle(0);
    outer_splitter_.SetBarPosition(kInitialBarPosition);
    outer_splitter_.SetActivePane(Splitter::kPane1);

    inner_splitter_.SetPanes(file_list_.hwnd(), results_pane_.hwnd(), false);
    inner_splitter_.SetExtendedStyle(0);
    inner_splitter_.SetBarPosition(kInitialBarPosition);
    inner_splitter_.SetActivePane(Splitter::kPane1);
    inner_splitter_.SetSinglePaneMode(Splitter::kPane1);

    system_icons_ = FetchSystemIcons();
    TreeView_SetImageList(folder_tree_.hwnd(), system_icons_.images, TVSIL_NORMAL);
    ListView_SetImageList(file_list_.hwnd(), system_icons_.images, LVSIL_SMALL);
    ListView_SetImageList(results_list_.hwnd(), system_icons_.images, LVSIL_SMALL);

    results_pane_.SetClient(results_list_.hwnd());

    command_states_.AddToolbar(main_toolbar_);
    command_states_.AddToolbar(banner_bar_);

    SetCommandEnabled(ID_FOLDER_UP, false);
    SetCommandEnabled(ID_SAVE_SEARCH, false);
    SetCommandChecked(ID_SHOW_RESULTS, false);

    accelerators_ = LoadAcceleratorsA(ResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    loop_ = MessageLoop::Current();
    if (loop_ != nullptr) {
        loop_->AddMessageFilter(this);
        loop_->AddIdleHandler(this);
    }

    PostMessageA(hwnd(), WM_OPEN_LISTING, 0, 0);
    PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(ID_ABOUT, 0), 0);
    return 0;
}

void MainFrame::OnDestroy() {
    // A save still running is abandoned: the window that would tell its end is going.
    EndSave(ERROR_CANCELLED, false);
    // The document stays: the child windows, destroyed after this, still show rows of it.
    if (loop_ != nullptr) {
        loop_->RemoveMessageFilter(this);
        loop_->RemoveIdleHandler(this);
        loop_ = nullptr;
    }
}

void MainFrame::OnSize(WPARAM size_type) {
    if (size_type != SIZE_MINIMIZED) {
        UpdateLayout();
    }
    search_bar_.Layout();
}

// ---- message table ----

LRESULT MainFrame::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate();
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_SIZE:
            OnSize(wparam);
            return 0;
        case WM_ACTIVATE:
            // An owned window belongs in front of its owner, but Wine's desktop shows the
            // activated frame over the work summary. The frame is raised only after this
            // message, so the summary is put back in front a moment later.
            if (LOWORD(wparam) != WA_INACTIVE) {
                PostRaiseOwnedWindows(hwnd());
            }
            break;
        case WM_WINDOWPOSCHANGED:
            // The same when the frame is raised without being activated again (it already was):
            // Wine's desktop then also draws it over the windows it owns.
            if (!(reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_NOZORDER)) {
                PostRaiseOwnedWindows(hwnd());
            }
            break;
        case kRaiseOwnedWindows:
            RaiseOwnedWindows(hwnd());
            return 0;
        case WM_OPEN_LISTING:
            OpenListingAtStartup();
            return 0;
        case WM_SETCURSOR:
            // The tree's expand-all and a long save work between messages; the wait cursor says
            // so over the window's panes and bars.
            if ((folder_tree_.expanding_all() || saving_results()) && LOWORD(lparam) == HTCLIENT) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
                return TRUE;
            }
            break;
        case WM_TIMER:
            if (wparam == kSaveTimer) {
                ContinueSave();
                return 0;
            }
            break;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (lparam != 0 && OnNotify(*reinterpret_cast<const NMHDR*>(lparam), result)) {
                return result;
            }
            break;
        }
        case WM_COMMAND:
            // Buttons, chevron menu items and the pane's close button; not control
            // notifications that happen to share a number.
            if (HIWORD(wparam) <= 1 && OnCommand(LOWORD(wparam))) {
                return 0;
            }
            break;
    }
    return FrameDefault(message, wparam, lparam);
}

bool MainFrame::OnNotify(const NMHDR& header, LRESULT& result) {
    result = 0;
    const auto code = static_cast<int>(header.code);
    switch (header.idFrom) {
        case IDC_FOLDER_TREE:
            if (header.code == TVN_SELCHANGEDA || header.code == TVN_SELCHANGEDW) {
                OnFolderSelected();
                return true;
            }
            break;
        case IDC_FILE_LIST:
            if (header.code == NM_DBLCLK) {
                OpenListedFolder();
                return true;
            }
            if (code == NM_BACK) {
                FolderUp();
                return true;
            }
            break;
        case IDC_RESULTS_LIST:
            if (header.code == NM_DBLCLK) {
                NavigateToResult();
                return true;
            }
            break;
        case ID_BARS:
            if (code == 0) {
                OnSearchRequest(reinterpret_cast<const SearchRequest&>(header));
                return true;
            }
            break;
    }
    return false;
}

bool MainFrame::OnCommand(UINT command) {
    switch (command) {
        case ID_FOLDER_UP:
            FolderUp();
            return true;
        case ID_SHOW_RESULTS:
        case ID_RESULTS_CLOSE:
            ToggleResultsPane();
            return true;
        case ID_SAVE_SEARCH:
            SaveSearchResults();
            return true;
        case ID_SHOW_SUMMARY:
            ToggleWorkSummary();
            return true;
        case ID_ABOUT:
            ShowAbout();
            return true;
        case ID_SEARCH:
            search_bar_.RequestSearch();
            return true;
        case ID_ONLY_GOOD:
        case ID_ONLY_BAD:
            ToggleButtonCheck(command);
            return true;
        case ID_WEBSITE:
            OpenWebSite();
            return true;
    }
    return false;
}

// ---- commands and states ----

void MainFrame::SetCommandEnabled(UINT command, bool enabled) {
    command_states_.SetEnabled(command, enabled);
}

void MainFrame::SetCommandChecked(UINT command, bool checked) {
    command_states_.SetChecked(command, checked);
}

// The state as set, not as the toolbar shows it: the toolbar is brought up to date only when
// the message queue runs dry, and a second toggle or a search may come before that.
bool MainFrame::IsCommandChecked(UINT command) const {
    return command_states_.IsChecked(command);
}

void MainFrame::ToggleButtonCheck(UINT command) {
    SetCommandChecked(command, !IsCommandChecked(command));
}

void MainFrame::ToggleResultsPane() {
    const bool was_checked = IsCommandChecked(ID_SHOW_RESULTS);
    SetCommandChecked(ID_SHOW_RESULTS, !was_checked);
    inner_splitter_.SetSinglePaneMode(was_checked ? Splitter::kPane1 : Splitter::kPaneNone);
}

void MainFrame::ToggleWorkSummary() {
    HWND dialog = work_summary_.hwnd();
    if (dialog == nullptr) {
        return;
    }
    ShowWindow(dialog, IsWindowVisible(dialog) ? SW_HIDE : SW_SHOW);
    SetCommandChecked(ID_SHOW_SUMMARY, IsWindowVisible(dialog) != FALSE);
}

// ---- message loop ----

bool MainFrame::PreTranslateMessage(MSG* message) {
    // Escape anywhere in the window stops a long save.
    if (saving_results() && message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE &&
        (message->hwnd == hwnd() || IsChild(hwnd(), message->hwnd))) {
        StopSave();
        return true;
    }
    return accelerators_ != nullptr && hwnd() != nullptr &&
           TranslateAcceleratorA(hwnd(), accelerators_, message) != 0;
}

bool MainFrame::OnIdle() {
    return command_states_.UpdateToolbars();
}

}  // namespace tov
