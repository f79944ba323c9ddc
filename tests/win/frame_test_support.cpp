#include "tests/win/frame_test_support.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/app_module_win.h"
#include "app/language_win.h"
#include "app/window_rect.h"
#include "res/resource.h"
#include "tools/writer/listing_writer.h"

namespace tov::test {
namespace {

bool IsDialogClass(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    return std::string(name) == "#32770";
}

struct FindContext {
    const std::vector<HWND>* keep;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM lparam) {
    auto* context = reinterpret_cast<FindContext*>(lparam);
    if (IsWindowVisible(window) && IsWindowEnabled(window) && IsDialogClass(window) &&
        std::find(context->keep->begin(), context->keep->end(), window) == context->keep->end()) {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// ---- TempFolder ----

TempFolder::TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static LONG counter = 0;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof(name), "%stov-test-%lu-%lu-%ld", base, GetCurrentProcessId(),
                      static_cast<unsigned long>(GetTickCount()), InterlockedIncrement(&counter));
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
        }
    }
}

TempFolder::~TempFolder() {
    if (path_.empty()) {
        return;
    }
    // Files and folders below, deepest first, without recursion.
    std::vector<std::string> pending{path_};
    std::vector<std::string> folders;
    while (!pending.empty()) {
        const std::string folder = pending.back();
        pending.pop_back();
        folders.push_back(folder);
        WIN32_FIND_DATAA entry{};
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) {
            continue;
        }
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string full = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                pending.push_back(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
        RemoveDirectoryA(it->c_str());
    }
}

std::string TempFolder::WriteFile(const std::string& name, const std::string& bytes) const {
    const std::string full = path_ + "\\" + name;
    std::ofstream out(full, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full;
}

// ---- dialogs ----

HWND FindModalDialog(DWORD thread_id, const std::vector<HWND>& keep) {
    FindContext context{&keep, nullptr};
    EnumThreadWindows(thread_id, FindDialog, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

// ---- dialog hooks ----

namespace {

// Every DialogHook, oldest first, and the Windows hooks of each thread that has one. The
// message hook, which costs a call for every message sent, is there only while a DialogHook of
// the thread asks for idle loops or menus.
struct ThreadHooks {
    DWORD thread_id;
    HHOOK cbt = nullptr;
    HHOOK call_return = nullptr;
};
std::mutex g_hooks_mutex;
std::vector<DialogHook*> g_dialog_hooks;
std::vector<ThreadHooks> g_thread_hooks;

// Dialogs of this thread already handed over (a dialog is activated again when one above it
// goes).
thread_local std::vector<HWND> t_handed_dialogs;

std::vector<DialogHook*> HooksOfThisThread() {
    const DWORD thread_id = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(g_hooks_mutex);
    std::vector<DialogHook*> hooks;
    for (auto it = g_dialog_hooks.rbegin(); it != g_dialog_hooks.rend(); ++it) {
        if ((*it)->thread_id() == thread_id) {
            hooks.push_back(*it);
        }
    }
    return hooks;
}

// A modal dialog: its loop disabled the owner before showing it. The modeless work summary is
// activated with its owner enabled, before a session can name it with Keep.
bool IsModal(HWND dialog) {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    return owner == nullptr || !IsWindowEnabled(owner);
}

void HandDialog(HWND dialog) {
    if (!IsDialogClass(dialog) || (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) ||
        !IsModal(dialog) ||
        std::find(t_handed_dialogs.begin(), t_handed_dialogs.end(), dialog) !=
            t_handed_dialogs.end()) {
        return;
    }
    t_handed_dialogs.push_back(dialog);
    for (DialogHook* hook : HooksOfThisThread()) {
        if (!hook->Kept(dialog) && hook->handlers().dialog && hook->handlers().dialog(dialog)) {
            return;
        }
    }
}

// A dialog is activated once its WM_INITDIALOG has returned and it is shown, just before its
// modal loop runs.
LRESULT CALLBACK CbtProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        HandDialog(reinterpret_cast<HWND>(wparam));
    } else if (code == HCBT_DESTROYWND) {
        const auto it = std::find(t_handed_dialogs.begin(), t_handed_dialogs.end(),
                                  reinterpret_cast<HWND>(wparam));
        if (it != t_handed_dialogs.end()) {
            t_handed_dialogs.erase(it);
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

LRESULT CALLBACK CallReturnProc(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
        if (call->message == WM_ENTERIDLE && call->wParam == MSGF_DIALOGBOX) {
            const auto dialog = reinterpret_cast<HWND>(call->lParam);
            for (DialogHook* hook : HooksOfThisThread()) {
                if (!hook->Kept(dialog) && hook->handlers().idle && hook->handlers().idle(dialog)) {
                    break;
                }
            }
        } else if (call->message == WM_INITMENUPOPUP && HIWORD(call->lParam) == 0) {
            const auto menu = reinterpret_cast<HMENU>(call->wParam);
            for (DialogHook* hook : HooksOfThisThread()) {
                if (hook->handlers().menu && hook->handlers().menu(menu, call->hwnd)) {
                    break;
                }
            }
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Sets or removes the Windows hooks of a thread to match its DialogHooks; under the lock.
void UpdateThreadHooks(DWORD thread_id) {
    bool any = false;
    bool messages = false;
    for (const DialogHook* hook : g_dialog_hooks) {
        if (hook->thread_id() == thread_id) {
            any = true;
            messages = messages || hook->handlers().idle || hook->handlers().menu;
        }
    }
    auto it = std::find_if(
        g_thread_hooks.begin(), g_thread_hooks.end(),
        [thread_id](const ThreadHooks& hooks) { return hooks.thread_id == thread_id; });
    if (it == g_thread_hooks.end()) {
        it = g_thread_hooks.insert(g_thread_hooks.end(), ThreadHooks{thread_id});
    }
    if (any && it->cbt == nullptr) {
        it->cbt = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, thread_id);
    }
    if (messages && it->call_return == nullptr) {
        it->call_return = SetWindowsHookExA(WH_CALLWNDPROCRET, CallReturnProc, nullptr, thread_id);
    }
    if (!messages && it->call_return != nullptr) {
        UnhookWindowsHookEx(it->call_return);
        it->call_return = nullptr;
    }
    if (!any) {
        if (it->cbt != nullptr) {
            UnhookWindowsHookEx(it->cbt);
        }
        g_thread_hooks.erase(it);
    }
}

void CollectEdit(HWND child, HWND* found) {
    char class_name[32] = {};
    GetClassNameA(child, class_name, sizeof(class_name));
    if (lstrcmpiA(class_name, "Edit") != 0) {
        return;
    }
    for (HWND at = child; at != nullptr; at = GetParent(at)) {
        const int id = GetDlgCtrlID(at);
        if (id == 0x47C || id == 0x480) {  // cmb13, edt1
            *found = child;
            return;
        }
        if (GetWindowLongA(at, GWL_STYLE) & WS_POPUP) {
            return;
        }
    }
}

BOOL CALLBACK FindNameEdit(HWND child, LPARAM found) {
    CollectEdit(child, reinterpret_cast<HWND*>(found));
    return *reinterpret_cast<HWND*>(found) == nullptr;
}

}  // namespace

DialogHook::DialogHook(Handlers handlers, std::vector<HWND> keep, DWORD thread_id)
    : handlers_(std::move(handlers)), thread_id_(thread_id), keep_(std::move(keep)) {
    std::lock_guard<std::mutex> lock(g_hooks_mutex);
    g_dialog_hooks.push_back(this);
    UpdateThreadHooks(thread_id_);
}

DialogHook::~DialogHook() {
    std::lock_guard<std::mutex> lock(g_hooks_mutex);
    g_dialog_hooks.erase(std::find(g_dialog_hooks.begin(), g_dialog_hooks.end(), this));
    UpdateThreadHooks(thread_id_);
}

void DialogHook::Keep(HWND window) {
    std::lock_guard<std::mutex> lock(mutex_);
    keep_.push_back(window);
}

bool DialogHook::Kept(HWND window) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::find(keep_.begin(), keep_.end(), window) != keep_.end();
}

void PostClick(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

HWND FileNameField(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(dialog, FindNameEdit, reinterpret_cast<LPARAM>(&found));
    return found;
}

void PostFileName(HWND dialog, const std::wstring& name) {
    const HWND field = FileNameField(dialog);
    if (field == nullptr) {
        std::printf("No file-name field in \"%s\"; cancelled\n", WindowText(dialog).c_str());
        PostClick(dialog, IDCANCEL);
        return;
    }
    PostMessageW(field, EM_SETSEL, 0, -1);
    for (const wchar_t c : name) {
        PostMessageW(field, WM_CHAR, c, 1);
    }
    PostClick(dialog, IDOK);
}

void PostFileName(HWND dialog, const std::string& name) {
    std::wstring wide(name.size(), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(),
                            static_cast<int>(wide.size()))));
    PostFileName(dialog, wide);
}

std::string MessageBoxText(HWND box) {
    return WindowText(GetDlgItem(box, 0xFFFF));
}

bool IsAboutBox(HWND dialog) {
    return GetDlgItem(dialog, IDC_TEXT) != nullptr && GetDlgItem(dialog, IDC_LOGO) != nullptr &&
           GetDlgItem(dialog, IDOK) != nullptr && GetDlgItem(dialog, IDC_CHECK_LIST) == nullptr;
}

// ---- DialogScript ----

DialogScript::DialogScript(std::vector<Step> steps, std::vector<HWND> keep, DWORD thread_id)
    : steps_(std::move(steps)),
      hook_({.dialog = [this](HWND dialog) { return OnDialog(dialog); },
             .idle = [this](HWND dialog) { return OnIdle(dialog); },
             .menu = nullptr},
            std::move(keep), thread_id) {}

std::vector<std::string> DialogScript::captions() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return captions_;
}

bool DialogScript::OnDialog(HWND dialog) {
    const std::string caption = WindowText(dialog);
    if (done_ < steps_.size()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            captions_.push_back(caption);
        }
        steps_[done_](dialog);
        ++done_;
    } else {
        std::lock_guard<std::mutex> lock(mutex_);
        captions_.push_back("left open: " + caption);
        PostClick(dialog, IDCANCEL);
    }
    return true;
}

bool DialogScript::OnIdle(HWND dialog) {
    // Its loop has nothing left to do with the dialog still up: the script did not end it.
    std::lock_guard<std::mutex> lock(mutex_);
    captions_.push_back("left open: " + WindowText(dialog));
    PostClick(dialog, IDCANCEL);
    return true;
}

// ---- ModalDialogCloser ----

ModalDialogCloser::ModalDialogCloser(DWORD thread_id)
    : hook_({.dialog = [this](HWND dialog) { return OnDialog(dialog); },
             .idle = nullptr,
             .menu = nullptr},
            {}, thread_id) {}

std::vector<std::string> ModalDialogCloser::closed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

std::vector<std::string> ModalDialogCloser::closed_texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_texts_;
}

std::string PlatformText(DWORD code) {
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
                       0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    for (DWORD i = 0; i < length; ++i) {
        if (buffer[i] != '\r' && buffer[i] != '\n') {
            text += buffer[i];
        }
    }
    LocalFree(buffer);
    return text;
}

bool ModalDialogCloser::OnDialog(HWND dialog) {
    if (!enabled_) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_.push_back(WindowText(dialog));
        closed_texts_.push_back(MessageBoxText(dialog));
    }
    PostClick(dialog, IDCANCEL);
    return true;
}

// ---- SentMessageCounter ----

namespace {
thread_local SentMessageCounter* t_counter = nullptr;
}  // namespace

SentMessageCounter::SentMessageCounter()
    : hook_(SetWindowsHookExA(WH_CALLWNDPROC, Count, nullptr, GetCurrentThreadId())) {
    t_counter = this;
}

SentMessageCounter::~SentMessageCounter() {
    UnhookWindowsHookEx(hook_);
    t_counter = nullptr;
}

LRESULT CALLBACK SentMessageCounter::Count(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HC_ACTION && t_counter != nullptr) {
        ++t_counter->count_;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

bool StartMainFrame(MessageLoop& loop, MainFrame& frame, ModalDialogCloser& closer) {
    AppModule& module = Module();
    module.Init(GetModuleHandleA(nullptr));
    module.AddMessageLoop(&loop);
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const RECT rect{desktop.left + 32, desktop.top + 32, desktop.left + 32 + 900,
                    desktop.top + 32 + 680};
    if (frame.CreateMain(rect) == nullptr) {
        return false;
    }
    closer.Keep(frame.work_summary_hwnd());
    ShowWindow(frame.hwnd(), SW_SHOWNORMAL);
    return true;
}

// ---- listing ----

std::string DeepFoldersListing() {
    constexpr int kDepth = 1000;
    writer::ListingBuilder builder;
    builder.OpenFolder("C:");
    for (int level = 0; level < kDepth; ++level) {
        builder.OpenFolder(std::string(96, static_cast<char>('a' + level % 26)) +
                           std::to_string(1000 + level));
    }
    for (int level = 0; level <= kDepth; ++level) {
        builder.CloseFolder();
    }
    return builder.Finish();
}

std::string SmallListing() {
    writer::ListingBuilder builder;
    builder.OpenFolder("C:\\Job")
        .File("Carta.doc", "25 KB", "12/03/09 10:15:00", "bien")
        .OpenFolder("C:\\Job\\Docs")
        .File("Oferta.xls", "1,5 MB", "01/02/08 08:00:00", "mal")
        .CloseFolder()
        .CloseFolder()
        .Header("Marca", "Acme")
        .Statistics("Archivos analizados", 1, 1);
    return builder.Finish();
}

// ---- FrameSession ----

FrameSession::FrameSession(const FrameOptions& options) {
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    previous_directory_ = directory;
    if (!options.listing.empty()) {
        folder_.WriteFile(options.listing_name, options.listing);
    }
    SetCurrentDirectoryA(folder_.path().c_str());

    previous_locale_ = GetThreadLocale();
    previous_ui_language_ = GetThreadUILanguage();
    if (options.language != nullptr) {
        ApplyLanguageSwitch(options.language);
    }

    AppModule& module = Module();
    if (module.instance() == nullptr) {
        module.Init(GetModuleHandleA(nullptr));
    }
    previous_loop_ = module.AddMessageLoop(&loop_);

    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int dx = (desktop.right - desktop.left - options.width) / 2;
    const int dy = (desktop.bottom - desktop.top - options.height) / 2;
    const RECT rect{desktop.left + dx, desktop.top + dy, desktop.left + dx + options.width,
                    desktop.top + dy + options.height};

    frame_ = std::make_unique<MainFrame>();
    if (options.close_dialogs) {
        closer_ = std::make_unique<ModalDialogCloser>();
    }
    if (frame_->CreateMain(rect) == nullptr) {
        return;
    }
    if (closer_) {
        closer_->Keep(frame_->work_summary_hwnd());
    }
    ShowWindow(frame_->hwnd(), SW_SHOWNORMAL);
}

FrameSession::~FrameSession() {
    Close();
    closer_.reset();
    AppModule& module = Module();
    module.RemoveMessageLoop();
    if (previous_loop_ != nullptr) {
        module.AddMessageLoop(previous_loop_);
    }
    SetThreadLocale(previous_locale_);
    SetThreadUILanguage(previous_ui_language_);
    SetCurrentDirectoryA(previous_directory_.c_str());
}

bool FrameSession::PumpUntilIdle(DWORD timeout_ms) {
    if (quit_received_) {
        return false;
    }
    int exit_code = 0;
    const MessageLoop::PumpResult result = loop_.PumpUntilIdle(timeout_ms, &exit_code);
    if (result == MessageLoop::PumpResult::kQuit) {
        quit_received_ = true;
        exit_code_ = exit_code;
    }
    return result == MessageLoop::PumpResult::kIdle;
}

void FrameSession::Close() {
    if (frame_ == nullptr) {
        return;
    }
    if (frame_->hwnd() != nullptr) {
        DestroyWindow(frame_->hwnd());
    }
    // The destroyed frame posted WM_QUIT; take it (and whatever came before it) off the queue.
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (!quit_received_ && GetTickCount64() < deadline) {
        MSG message{};
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            continue;
        }
        if (message.message == WM_QUIT) {
            quit_received_ = true;
            exit_code_ = static_cast<int>(message.wParam);
            break;
        }
        loop_.HandleMessage(&message);
    }
    frame_.reset();
}

NMLISTVIEW ColumnClick(HWND list, int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    click.hdr.code = static_cast<UINT>(LVN_COLUMNCLICK);
    click.iItem = -1;
    click.iSubItem = column;
    return click;
}

bool ClickHeader(FrameSession& session, HWND list, int column, DWORD timeout_ms) {
    NMLISTVIEW click = ColumnClick(list, column);
    SendMessageA(GetParent(list), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    return session.PumpUntilIdle(timeout_ms);
}

void PostClick(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    PostClick(window, POINT{client.right / 2, client.bottom / 2});
}

void ClickScreenAt(POINT point) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, width - 1);
        input.mi.dy = MulDiv(point.y, 65535, height - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

bool ScreenShowsWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    HDC own = GetWindowDC(window);
    bool shown = screen != nullptr && own != nullptr;
    constexpr int kGrid = 6;
    for (int row = 1; shown && row < kGrid; ++row) {
        for (int column = 1; shown && column < kGrid; ++column) {
            const int x = (rect.right - rect.left) * column / kGrid;
            const int y = (rect.bottom - rect.top) * row / kGrid;
            shown = GetPixel(screen, rect.left + x, rect.top + y) == GetPixel(own, x, y);
        }
    }
    ReleaseDC(window, own);
    ReleaseDC(nullptr, screen);
    return shown;
}

namespace {

std::vector<COLORREF> WindowPixels(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<COLORREF> pixels;
    HDC dc = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    if (dc != nullptr && memory != nullptr && bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(GetPixel(memory, x, y));
            }
        }
        SelectObject(memory, previous);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    ReleaseDC(window, dc);
    return pixels;
}

}  // namespace

bool PaintedAsFresh(HWND window) {
    const std::vector<COLORREF> before = WindowPixels(window);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return !before.empty() && before == WindowPixels(window);
}

HWND TopLevelWindowAt(POINT point) {
    const HWND window = WindowFromPoint(point);
    return window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
}

std::string ListCellText(HWND list, int row, int column) {
    char text[512] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

LPARAM KeyData(UINT virtual_key, bool released) {
    bool extended = false;
    switch (virtual_key) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
        case VK_DIVIDE:
            extended = true;
            break;
    }
    const UINT scan = MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | static_cast<LPARAM>(scan & 0xFF) << 16;
    if (extended) {
        data |= LPARAM{1} << 24;
    }
    if (released) {
        data |= LPARAM{3} << 30;
    }
    return data;
}

}  // namespace

void PostKey(HWND window, UINT virtual_key) {
    PostMessageA(window, WM_KEYDOWN, virtual_key, KeyData(virtual_key, false));
    PostMessageA(window, WM_KEYUP, virtual_key, KeyData(virtual_key, true));
}

void PostChar(HWND window, char character) {
    const auto code = static_cast<unsigned char>(character);
    PostMessageA(window, WM_CHAR, code, KeyData(VkKeyScanA(character) & 0xFF, false));
}

void PostClick(HWND window, POINT point) {
    const LPARAM where = MAKELPARAM(point.x, point.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(window, WM_LBUTTONUP, 0, where);
}

void PostDoubleClick(HWND window, POINT point) {
    PostClick(window, point);
    const LPARAM where = MAKELPARAM(point.x, point.y);
    PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
    PostMessageA(window, WM_LBUTTONUP, 0, where);
}

bool DoubleClickRow(FrameSession& session, HWND list, int row, DWORD timeout_ms) {
    POINT point{};
    if (row >= 0) {
        ListView_EnsureVisible(list, row, FALSE);
        RECT rect{};
        rect.top = 1;  // the Name column
        rect.left = LVIR_LABEL;
        SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        point = {rect.left + 4, (rect.top + rect.bottom) / 2};
    } else {
        const int count = ListView_GetItemCount(list);
        RECT rect{};
        if (count > 0) {
            rect.left = LVIR_BOUNDS;
            SendMessageA(list, LVM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&rect));
        } else {
            GetWindowRect(ListView_GetHeader(list), &rect);
            rect.bottom -= rect.top;
        }
        point = {8, rect.bottom + 8};
    }
    PostDoubleClick(list, point);
    return session.PumpUntilIdle(timeout_ms);
}

bool PumpUntil(FrameSession& session, const std::function<bool()>& done, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return done();
        }
        if (!session.PumpUntilIdle(static_cast<DWORD>(deadline - now)) && session.quit_received()) {
            return false;
        }
        if (done()) {
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

}  // namespace tov::test
