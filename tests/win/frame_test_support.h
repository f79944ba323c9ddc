// Helpers for Windows-side tests that drive the real main window.
//
//   TempFolder         a fresh folder under %TEMP%, removed with its files afterwards
//   DialogHook         acts on the dialogs and menus a thread shows, from that thread's messages
//   DialogScript       answers those dialogs one step each, in order
//   ModalDialogCloser  cancels the modal dialogs (about box, open dialog, message boxes) that a
//                      thread shows, so that no test blocks in them
//   FrameSession       the main window in the current thread with its own message loop,
//                      started in a temporary folder that holds the given listing
//
// A typical test:
//
//     tov::test::FrameSession session({.listing = tov::test::SmallListing()});
//     ASSERT_TRUE(session.alive());
//     session.PumpUntilIdle();            // the listing is open, the about box came and went
//     SendMessageA(session.hwnd(), WM_COMMAND, ID_SHOW_RESULTS, 0);
//     session.PumpUntilIdle();
//     EXPECT_TRUE(IsWindowVisible(session.frame().results_pane().hwnd()));
//
// Every wait is bounded; a session closes and destroys its window when it goes out of scope.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/message_loop_win.h"
#include "ui/main_frame_win.h"

namespace tov::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // Writes `bytes` to the file `name` in the folder; returns its full path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;

  private:
    std::string path_;
};

// A visible, enabled dialog window (class "#32770") of the thread that is not in `keep`:
// the topmost such window, or nullptr.
HWND FindModalDialog(DWORD thread_id, const std::vector<HWND>& keep = {});

// Acts on the dialogs and popup menus a thread shows, from inside that thread and driven by its
// own messages: a dialog is handed over when it is first activated, once its WM_INITDIALOG has
// returned and it is shown; a popup menu when its owner gets WM_INITMENUPOPUP; an idle modal
// loop when its owner gets WM_ENTERIDLE (only hooks with those handlers watch the messages).
// Handlers answer by posting input, so that the dialog's own loop takes the answer as it takes a
// person's. Hooks of one thread are asked newest first; the first handler that returns true takes
// the event. Child dialogs and windows in `keep` are not handed.
class DialogHook {
  public:
    struct Handlers {
        std::function<bool(HWND dialog)> dialog;
        std::function<bool(HWND dialog)> idle;
        std::function<bool(HMENU menu, HWND owner)> menu;
    };
    DialogHook(Handlers handlers, std::vector<HWND> keep = {},
               DWORD thread_id = GetCurrentThreadId());
    ~DialogHook();
    DialogHook(const DialogHook&) = delete;
    DialogHook& operator=(const DialogHook&) = delete;

    void Keep(HWND window);
    bool Kept(HWND window) const;
    DWORD thread_id() const { return thread_id_; }
    const Handlers& handlers() const { return handlers_; }

  private:
    Handlers handlers_;
    DWORD thread_id_;
    mutable std::mutex mutex_;
    std::vector<HWND> keep_;
};

// Answers posted to a dialog as a person gives them: a click on a button, or a name typed into
// the file-name box of the open or save dialog (the edit of edt1, or inside the combo box cmb13)
// followed by a click on its OK button.
void PostClick(HWND dialog, int button);
void PostFileName(HWND dialog, const std::wstring& name);
void PostFileName(HWND dialog, const std::string& name);  // in the ANSI code page
// The file-name edit of an open or save dialog, or nullptr.
HWND FileNameField(HWND dialog);
// The text of a message box (its static 0xFFFF).
std::string MessageBoxText(HWND box);
// Whether a dialog is the about box (the work summary has the same logo and text).
bool IsAboutBox(HWND dialog);

// Answers the dialogs the thread shows, one step per dialog in the order they come up; the
// caption of each is noted. Dialogs that come after the last step, and dialogs whose loop goes
// idle while they are still up, are cancelled and noted as "left open: <caption>".
class DialogScript {
  public:
    using Step = std::function<void(HWND dialog)>;
    DialogScript(std::vector<Step> steps, std::vector<HWND> keep = {},
                 DWORD thread_id = GetCurrentThreadId());

    std::size_t done() const { return done_; }
    std::vector<std::string> captions() const;

    static Step Click(int button) {
        return [button](HWND dialog) { PostClick(dialog, button); };
    }
    template <typename Name>
    static Step TypeFileName(Name name) {
        return [name](HWND dialog) { PostFileName(dialog, name); };
    }

  private:
    bool OnDialog(HWND dialog);
    bool OnIdle(HWND dialog);

    std::vector<Step> steps_;
    std::atomic<std::size_t> done_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> captions_;
    DialogHook hook_;
};

// Cancels every dialog the thread shows (WM_COMMAND IDCANCEL) and notes its caption. Modeless
// dialogs that must stay are named with Keep.
class ModalDialogCloser {
  public:
    explicit ModalDialogCloser(DWORD thread_id = GetCurrentThreadId());
    ModalDialogCloser(const ModalDialogCloser&) = delete;
    ModalDialogCloser& operator=(const ModalDialogCloser&) = delete;

    void Keep(HWND window) { hook_.Keep(window); }
    // While disabled, dialogs are left to the other hooks (for a test that answers one itself).
    void set_enabled(bool enabled) { enabled_ = enabled; }
    // Captions of the dialogs closed so far, in order, and the text of each (a message box's
    // message; empty for other dialogs).
    std::vector<std::string> closed() const;
    std::vector<std::string> closed_texts() const;

  private:
    bool OnDialog(HWND dialog);

    std::atomic<bool> enabled_{true};
    mutable std::mutex mutex_;
    std::vector<std::string> closed_;
    std::vector<std::string> closed_texts_;
    DialogHook hook_;
};

// Counts the messages that windows of the current thread are sent while it lives (one counter
// at a time): the work a step asks of the controls, the same on a fast machine and a loaded
// one. Work per row (a list filled item by item, a tree built eagerly) costs a message a row.
class SentMessageCounter {
  public:
    SentMessageCounter();
    ~SentMessageCounter();
    SentMessageCounter(const SentMessageCounter&) = delete;
    SentMessageCounter& operator=(const SentMessageCounter&) = delete;

    long count() const { return count_; }

  private:
    static LRESULT CALLBACK Count(int code, WPARAM wparam, LPARAM lparam);

    long count_ = 0;
    HHOOK hook_;
};

// The text the platform gives for a code, as the user must see it (line breaks removed).
std::string PlatformText(DWORD code);

// Starts `frame` as the program starts it, in the current folder, with `loop` as the thread's
// message loop, 900 by 680 pixels near the desktop's corner; the work summary is kept from
// `closer`. False when the window could not be created. For the benchmarks, which time the
// program's own start.
bool StartMainFrame(MessageLoop& loop, MainFrame& frame, ModalDialogCloser& closer);

// A small valid listing: one root folder "C:\Job" with a subfolder "Docs" and two files, a
// work header and statistics, and its digest line.
std::string SmallListing();

// A chain of 1,000 nested folders with 100-byte names below "C:": searching "*" shows every folder
// with its whole path, about 50 MB of CSV from a listing of 100 KB, far more than a save writes
// at once.
std::string DeepFoldersListing();

struct FrameOptions {
    std::string listing;  // bytes of the listing; none written when empty
    std::string listing_name = "job.tov";
    const char* language = nullptr;  // a command line such as "-l de"; nullptr keeps it
    bool close_dialogs = true;       // run a ModalDialogCloser for the session
    int width = 800;
    int height = 600;
};

class FrameSession {
  public:
    explicit FrameSession(const FrameOptions& options = {});
    ~FrameSession();
    FrameSession(const FrameSession&) = delete;
    FrameSession& operator=(const FrameSession&) = delete;

    // Whether the main window exists (it closes itself when the listing is refused).
    bool alive() const { return frame_ != nullptr && frame_->hwnd() != nullptr; }
    MainFrame& frame() { return *frame_; }
    HWND hwnd() const { return frame_ ? frame_->hwnd() : nullptr; }
    MessageLoop& loop() { return loop_; }
    const TempFolder& folder() const { return folder_; }
    ModalDialogCloser* closer() { return closer_.get(); }

    // Handles messages and the idle step until the queue stays empty; false when the time
    // ran out or WM_QUIT arrived (then quit_received() is true).
    bool PumpUntilIdle(DWORD timeout_ms = 10000);
    bool quit_received() const { return quit_received_; }
    int exit_code() const { return exit_code_; }

    // Destroys the window and takes its WM_QUIT from the queue. Called by the destructor.
    void Close();

  private:
    TempFolder folder_;
    MessageLoop loop_;
    std::unique_ptr<MainFrame> frame_;
    std::unique_ptr<ModalDialogCloser> closer_;
    MessageLoop* previous_loop_ = nullptr;
    std::string previous_directory_;
    LCID previous_locale_ = 0;
    LANGID previous_ui_language_ = 0;
    bool quit_received_ = false;
    int exit_code_ = 0;
};

// What a list view sends its parent for a click on a column header.
NMLISTVIEW ColumnClick(HWND list, int column);

// Sends ColumnClick to the list's parent, a splitter or the results pane, which pass it on to the
// main window. Waits for the window to be idle again; false if it was not within `timeout_ms`.
bool ClickHeader(FrameSession& session, HWND list, int column, DWORD timeout_ms = 10000);

// A click of the left mouse button at the centre of a window, posted as a person's would arrive.
void PostClick(HWND window);

// A real click of the left mouse button at a point of the screen (SendInput): unlike a posted
// message it activates and raises the window there, as the window manager sees it.
void ClickScreenAt(POINT point);

// Whether the window's pixels, frame included, are those that painting it all anew gives: no
// stale picture of a control that moved, no half-erased text. Paints the window anew.
bool PaintedAsFresh(HWND window);

// The top-level window that a person sees at a point of the screen.
HWND TopLevelWindowAt(POINT point);

// Whether the screen shows the window's own pixels at every point of a grid inside it, that is
// whether nothing covers it on the screen itself (what the window system believes is in front
// can differ from what is drawn).
bool ScreenShowsWindow(HWND window);

// The text a list view shows in a cell (up to 511 bytes).
std::string ListCellText(HWND list, int row, int column);

// Input as a person gives it, posted into the queue for `window` (the one that has the focus):
// a key pressed and released, a typed character, a click or a double click of the left button
// at a point of the window's client area. The message loop translates and dispatches them.
void PostKey(HWND window, UINT virtual_key);
void PostChar(HWND window, char character);
void PostClick(HWND window, POINT point);
void PostDoubleClick(HWND window, POINT point);

// A double click on a row of a list (scrolled into view first), or with row -1 on the empty
// space below the last row; waits for the window to be idle again.
bool DoubleClickRow(FrameSession& session, HWND list, int row, DWORD timeout_ms = 10000);

// The whole text of a window.
std::string WindowText(HWND window);

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Handles messages, waiting for timers in between, until `done` holds; false when the time ran
// out first.
bool PumpUntil(FrameSession& session, const std::function<bool()>& done, DWORD timeout_ms = 10000);

}  // namespace tov::test
