// Finding, loading and refusing the listing at start-up: the finder, the loader's error codes,
// the system texts, and the main window's start-up paths with their dialogs.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "listing/file_finder_win.h"
#include "listing/file_handle_win.h"
#include "listing/listing_loader_win.h"
#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "tools/writer/listing_writer.h"
#include "ui/system_error_text_win.h"

namespace tov {
namespace {

using test::FrameOptions;
using test::FrameSession;
using test::SmallListing;
using test::TempFolder;

// The code a load raises, or ERROR_SUCCESS when it loaded.
DWORD LoadCode(const std::string& path) {
    try {
        ReadListingFile(WideFromAnsi(path));
    } catch (const Win32Error& error) {
        return error.code();
    }
    return ERROR_SUCCESS;
}

// Whether nobody holds the file open any more: only then can it be opened without sharing.
bool IsClosed(const std::string& path) {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(handle);
    return true;
}

TEST(FileFinder, CountsMatchingFilesAndFoldersAndStartsAgainAfterReset) {
    TempFolder folder;
    folder.WriteFile("a.tov", "x");
    folder.WriteFile("b.tov", "x");
    folder.WriteFile("c.txt", "x");
    ASSERT_TRUE(CreateDirectoryA((folder.path() + "\\d.tov").c_str(), nullptr));

    const std::wstring path = WideFromAnsi(folder.path());
    FileFinder finder(path, L"*.tov");
    EXPECT_EQ(finder.Count(), 3u);
    EXPECT_FALSE(finder.Next());
    EXPECT_EQ(finder.LastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    finder.Reset();
    ASSERT_TRUE(finder.Next());
    const std::wstring name = finder.Entry().cFileName;
    EXPECT_EQ(finder.Path(), path + L"\\" + name);
    EXPECT_EQ(name.substr(name.size() - 4), L".tov");

    FileFinder only(path, L"c.txt");
    EXPECT_EQ(only.Count(), 1u);

    FileFinder missing(path + L"\\nowhere", L"*.tov");
    EXPECT_EQ(missing.Count(), 0u);
    EXPECT_NE(missing.LastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(SystemErrorText, GivesThePlatformTextOnOneLineOrTheFallback) {
    for (const DWORD code : {2u, 32u, 50u, 14u}) {
        const std::string text = SystemErrorText(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << code;
        EXPECT_NE(text.rfind("error ", 0), 0u) << code << ": " << text;
    }
    EXPECT_EQ(SystemErrorText(0xDEADBEEFu), "error 3735928559 (0xdeadbeef)");
    EXPECT_EQ(SystemErrorText(0x2FFFFFFFu), "error 805306367 (0x2fffffff)");
}

TEST(ListingLoader, LoadsAVerifiedListingIntoLinesAndClosesTheFile) {
    TempFolder folder;
    const std::string listing = SmallListing();
    const std::string path = folder.WriteFile("job.tov", listing);
    const ListingDocument document = ReadListingFile(WideFromAnsi(path));
    EXPECT_EQ(document.size(), listing.size() + 1);
    EXPECT_EQ(document.Line(0), ">|C:\\Job");
    EXPECT_TRUE(IsClosed(path));

    // The smallest listing: the digest line of an empty body alone.
    const std::string smallest = writer::AppendDigestLine("");
    ASSERT_EQ(smallest.size(), 38u);
    const std::string smallest_path = folder.WriteFile("smallest.tov", smallest);
    EXPECT_EQ(LoadCode(smallest_path), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(ListingLoader, RefusesShortAlteredAndUnreadableFilesWithTheirCodes) {
    TempFolder folder;
    const std::string listing = SmallListing();

    const std::string short_path = folder.WriteFile("short.tov", std::string(37, 'a'));
    EXPECT_EQ(LoadCode(short_path), 1804u);
    EXPECT_EQ(LoadCode(folder.WriteFile("empty.tov", "")), 1804u);

    std::string tampered = listing;
    tampered[3] ^= 0x20;
    const std::string tampered_path = folder.WriteFile("tampered.tov", tampered);
    EXPECT_EQ(LoadCode(tampered_path), 1804u);

    // Line ends of CR LF move the digest away from where it is looked for.
    std::string crlf;
    for (const char c : listing) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(LoadCode(folder.WriteFile("crlf.tov", crlf)), 1804u);

    EXPECT_EQ(LoadCode(folder.path() + "\\missing.tov"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(LoadCode(folder.path() + "\\nowhere\\job.tov"),
              static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    const std::string held_path = folder.WriteFile("held.tov", listing);
    {
        const HANDLE held =
            CreateFileA(held_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(LoadCode(held_path), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        CloseHandle(held);
    }
    {
        // The listing is opened without sharing: a reader that shares everything still keeps
        // it out.
        const HANDLE reader =
            CreateFileA(held_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        EXPECT_EQ(LoadCode(held_path), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        CloseHandle(reader);
    }
    EXPECT_EQ(LoadCode(held_path), static_cast<DWORD>(ERROR_SUCCESS));

    // A refused file is closed as well.
    EXPECT_TRUE(IsClosed(short_path));
    EXPECT_TRUE(IsClosed(tampered_path));
}

TEST(ListingLoader, RefusesFilesOfFourGibibytesLessOneAndMore) {
    TempFolder folder;
    for (const LONGLONG size : {0xFFFFFFFFLL, 0x100000005LL}) {
        const std::string path = folder.path() + "\\large.tov";
        const HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end{};
        end.QuadPart = size;
        const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        if (!sized) {
            DeleteFileA(path.c_str());
            GTEST_SKIP() << "no room for a sparse file of " << size << " bytes";
        }
        EXPECT_EQ(LoadCode(path), 50u) << size;
        EXPECT_TRUE(IsClosed(path));
        DeleteFileA(path.c_str());
    }
}

// ---- start-up of the main window ----

bool IsOpenDialog(HWND dialog) {
    // The file-name box of the explorer-style open dialog.
    return GetDlgItem(dialog, 1148) != nullptr || GetDlgItem(dialog, 1152) != nullptr;
}

BOOL CALLBACK CollectText(HWND child, LPARAM lparam) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof(text));
    if (text[0] != '\0') {
        reinterpret_cast<std::vector<std::string>*>(lparam)->push_back(text);
    }
    return TRUE;
}

struct SeenDialog {
    std::string caption;
    HWND owner = nullptr;
    bool open_dialog = false;
    std::vector<std::string> texts;  // of its child windows

    bool Shows(const std::string& text) const {
        for (const std::string& shown : texts) {
            if (shown == text) {
                return true;
            }
        }
        return false;
    }
};

// The first of the dialogs seen that matches; the about box may come and go in between, since
// the about command is delivered by the modal loop of whichever dialog shows first.
template <typename Matches>
const SeenDialog* FindSeen(const std::vector<SeenDialog>& seen, Matches matches) {
    for (const SeenDialog& dialog : seen) {
        if (matches(dialog)) {
            return &dialog;
        }
    }
    return nullptr;
}

// Notes every dialog the thread shows (the modeless work summary aside) as it comes up, then
// cancels it (or presses OK when its loop goes idle with the dialog still up); the thread under
// test is inside the dialog's modal loop meanwhile.
class DialogRecorder {
  public:
    // `answer`, when given, is typed into the open dialog's file name and confirmed.
    explicit DialogRecorder(HWND summary, std::wstring answer = {})
        : answer_(std::move(answer)),
          hook_({.dialog = [this](HWND dialog) { return OnDialog(dialog); },
                 .idle =
                     [](HWND dialog) {
                         test::PostClick(dialog, IDOK);
                         return true;
                     },
                 .menu = nullptr},
                {summary}) {}

    std::vector<SeenDialog> seen() const { return seen_; }

  private:
    bool OnDialog(HWND dialog) {
        SeenDialog seen;
        seen.caption = test::WindowText(dialog);
        seen.owner = GetWindow(dialog, GW_OWNER);
        seen.open_dialog = IsOpenDialog(dialog);
        EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&seen.texts));
        seen_.push_back(seen);
        if (seen.open_dialog && !answer_.empty()) {
            test::PostFileName(dialog, answer_);
        } else {
            test::PostClick(dialog, IDCANCEL);
        }
        return true;
    }

    std::wstring answer_;
    std::vector<SeenDialog> seen_;
    test::DialogHook hook_;
};

// What the main window looked like when a message was taken from the queue, by whichever
// loop took it: the about command and the close request.
struct Snapshot {
    bool taken = false;
    bool summary_visible = false;
    bool summary_checked = false;
    int summary_text_length = 0;
    int check_rows = 0;
    int tree_items = 0;
    bool dialog_open = false;  // a modal dialog of the thread was showing
};

class QueueWatch {
  public:
    explicit QueueWatch(MainFrame& frame) : frame_(frame) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, Hook, nullptr, GetCurrentThreadId());
    }
    ~QueueWatch() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    bool hooked() const { return hook_ != nullptr; }

    Snapshot about;
    Snapshot close;
    std::vector<UINT> order;  // WM_CLOSE or ID_ABOUT, as taken

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
        if (code == HC_ACTION && wparam == PM_REMOVE && current_ != nullptr) {
            current_->Look(*reinterpret_cast<const MSG*>(lparam));
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }

    void Look(const MSG& message) {
        if (message.hwnd != frame_.hwnd() || frame_.hwnd() == nullptr) {
            return;
        }
        if (message.message == WM_COMMAND && LOWORD(message.wParam) == ID_ABOUT) {
            Take(about);
            order.push_back(ID_ABOUT);
        } else if (message.message == WM_CLOSE) {
            Take(close);
            order.push_back(WM_CLOSE);
        }
    }

    void Take(Snapshot& snapshot) {
        const HWND summary = frame_.work_summary_hwnd();
        snapshot.taken = true;
        snapshot.summary_visible = IsWindowVisible(summary) != FALSE;
        snapshot.summary_checked = frame_.command_states().IsChecked(ID_SHOW_SUMMARY);
        snapshot.summary_text_length = GetWindowTextLengthA(GetDlgItem(summary, IDC_TEXT));
        snapshot.check_rows =
            static_cast<int>(SendDlgItemMessageA(summary, IDC_CHECK_LIST, LVM_GETITEMCOUNT, 0, 0));
        snapshot.tree_items =
            static_cast<int>(SendMessageA(frame_.folder_tree_hwnd(), TVM_GETCOUNT, 0, 0));
        snapshot.dialog_open = test::FindModalDialog(GetCurrentThreadId(), {summary}) != nullptr;
    }

    static inline QueueWatch* current_ = nullptr;
    MainFrame& frame_;
    HHOOK hook_ = nullptr;
};

FrameOptions English(std::string listing) {
    FrameOptions options;
    options.listing = std::move(listing);
    options.language = "-l en";
    options.close_dialogs = false;
    return options;
}

TEST(StartUp, TheOnlyListingOpensWithoutADialogAndTheAboutCommandFollows) {
    FrameSession session(English(SmallListing()));
    ASSERT_TRUE(session.alive());
    QueueWatch watch(session.frame());
    ASSERT_TRUE(watch.hooked());
    DialogRecorder recorder(session.frame().work_summary_hwnd());
    ASSERT_TRUE(session.PumpUntilIdle());
    ASSERT_TRUE(session.alive());

    for (const SeenDialog& dialog : recorder.seen()) {
        EXPECT_FALSE(dialog.open_dialog) << dialog.caption;
    }
    // The about command comes once the listing is open and its summary is shown.
    ASSERT_TRUE(watch.about.taken);
    EXPECT_TRUE(watch.about.summary_visible);
    EXPECT_TRUE(watch.about.summary_checked);
    EXPECT_GT(watch.about.summary_text_length, 0);
    EXPECT_GT(watch.about.check_rows, 0);
    EXPECT_FALSE(watch.about.dialog_open);
    EXPECT_FALSE(watch.close.taken);

    MainFrame& frame = session.frame();
    EXPECT_TRUE(IsWindowVisible(frame.work_summary_hwnd()));
    EXPECT_NE(SendMessageA(frame.main_toolbar(), TB_ISBUTTONCHECKED, ID_SHOW_SUMMARY, 0), 0);
    EXPECT_GT(frame.document().size(), 1u);
}

struct Folder {
    const char* name;
    std::vector<std::string> listings;  // names of listings besides job.tov
    bool with_job = true;
    bool listing_named_folder = false;
};

TEST(StartUp, NoneSeveralOrAFolderNamedLikeAListingAskAndCancelCloses) {
    const Folder cases[] = {
        {"none", {}, false, false},
        {"two listings", {"other.tov"}, true, false},
        {"listing beside a folder named like one", {}, true, true},
    };
    for (const Folder& setup : cases) {
        SCOPED_TRACE(setup.name);
        FrameSession session(English(setup.with_job ? SmallListing() : std::string()));
        ASSERT_TRUE(session.alive());
        for (const std::string& name : setup.listings) {
            session.folder().WriteFile(name, SmallListing());
        }
        if (setup.listing_named_folder) {
            ASSERT_TRUE(
                CreateDirectoryA((session.folder().path() + "\\saved.tov").c_str(), nullptr));
        }
        const HWND frame_window = session.hwnd();
        QueueWatch watch(session.frame());
        DialogRecorder recorder(session.frame().work_summary_hwnd());

        session.PumpUntilIdle();
        EXPECT_FALSE(session.alive());
        EXPECT_TRUE(session.quit_received());

        const std::vector<SeenDialog> seen = recorder.seen();
        const SeenDialog* open =
            FindSeen(seen, [](const SeenDialog& dialog) { return dialog.open_dialog; });
        ASSERT_NE(open, nullptr);
        EXPECT_EQ(open->owner, frame_window);
        // The about command was delivered by the open dialog's own loop, before the close.
        ASSERT_TRUE(watch.about.taken);
        EXPECT_TRUE(watch.about.dialog_open);
        ASSERT_TRUE(watch.close.taken);
        ASSERT_EQ(watch.order.size(), 2u);
        EXPECT_EQ(watch.order[0], static_cast<UINT>(ID_ABOUT));
        // Nothing was loaded, but the summary was shown and its button checked.
        EXPECT_TRUE(watch.close.summary_visible);
        EXPECT_TRUE(watch.close.summary_checked);
        EXPECT_EQ(watch.close.summary_text_length, 0);
        EXPECT_EQ(watch.close.tree_items, 0);
    }
}

TEST(StartUp, ANameTypedIntoTheOpenDialogThatDoesNotExistGivesThePlatformsText) {
    FrameSession session(English(std::string()));
    ASSERT_TRUE(session.alive());
    QueueWatch watch(session.frame());
    DialogRecorder recorder(session.frame().work_summary_hwnd(), L"missing.tov");
    session.PumpUntilIdle();
    EXPECT_FALSE(session.alive());

    const std::vector<SeenDialog> seen = recorder.seen();
    EXPECT_NE(FindSeen(seen, [](const SeenDialog& dialog) { return dialog.open_dialog; }), nullptr);
    const SeenDialog* box =
        FindSeen(seen, [](const SeenDialog& dialog) { return dialog.caption == "Tov - error"; });
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->Shows(SystemErrorText(ERROR_FILE_NOT_FOUND)));
    ASSERT_TRUE(watch.close.taken);
    EXPECT_TRUE(watch.close.summary_visible);
    EXPECT_EQ(watch.close.summary_text_length, 0);
}

// A folder whose name the ANSI code page cannot spell (Greek): its only listing is found and
// opened, and one typed into the open dialog is opened too.
TEST(StartUp, AListingInAFolderNamedOutsideTheCodePageOpens) {
    for (const bool typed : {false, true}) {
        SCOPED_TRACE(typed ? "typed into the open dialog" : "the only one in the folder");
        FrameSession session(English(std::string()));
        ASSERT_TRUE(session.alive());
        const std::wstring base = WideFromAnsi(session.folder().path());
        const std::wstring folder = base + L"\\\u0395\u03c1\u03b3\u03b1\u03c3\u03af\u03b1";
        const std::wstring listing = folder + L"\\job.tov";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        {
            FileHandle file(listing, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
            file.Write(SmallListing());
            file.Close();
        }
        ASSERT_TRUE(SetCurrentDirectoryW(typed ? base.c_str() : folder.c_str()));
        {
            DialogRecorder recorder(session.frame().work_summary_hwnd(),
                                    typed ? listing : std::wstring());
            session.PumpUntilIdle();
            const std::vector<SeenDialog> seen = recorder.seen();
            EXPECT_EQ(FindSeen(seen, [](const SeenDialog& dialog) { return dialog.open_dialog; }) !=
                          nullptr,
                      typed);
            EXPECT_EQ(
                FindSeen(seen,
                         [](const SeenDialog& dialog) { return dialog.caption == "Tov - error"; }),
                nullptr);
        }
        ASSERT_TRUE(session.alive());
        EXPECT_GT(SendMessageA(session.frame().folder_tree_hwnd(), TVM_GETCOUNT, 0, 0), 0);
        SetCurrentDirectoryW(base.c_str());
        DeleteFileW(listing.c_str());
        RemoveDirectoryW(folder.c_str());
    }
}

struct Refusal {
    const char* name;
    const char* language;
    std::string bytes;
    const char* caption;
    const char* text;  // Windows-1252
};

TEST(StartUp, ARefusedListingIsReportedInTheCurrentLanguageAndTheWindowCloses) {
    std::string tampered = SmallListing();
    tampered[4] ^= 0x01;
    const Refusal cases[] = {
        {"37 bytes, English", "-l en", std::string(37, 'x'), "Tov - error", "Invalid data file"},
        {"tampered, Spanish", "-l es", tampered, "Tov - error",
         "El archivo de datos no es v\xE1lido"},
        {"37 bytes, German", "-l de", std::string(37, 'x'), "Tov - Fehler",
         "Ung\xFCltiges Dateiformat"},
    };
    for (const Refusal& refusal : cases) {
        SCOPED_TRACE(refusal.name);
        FrameOptions options = English(refusal.bytes);
        options.language = refusal.language;
        FrameSession session(options);
        ASSERT_TRUE(session.alive());
        const HWND frame_window = session.hwnd();
        QueueWatch watch(session.frame());
        DialogRecorder recorder(session.frame().work_summary_hwnd());

        session.PumpUntilIdle();
        EXPECT_FALSE(session.alive());

        const std::vector<SeenDialog> seen = recorder.seen();
        const SeenDialog* box = FindSeen(
            seen, [&](const SeenDialog& dialog) { return dialog.caption == refusal.caption; });
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->Shows(refusal.text));
        EXPECT_EQ(box->owner, frame_window);
        // After the refusal the summary is shown, empty, and the tree stays empty.
        ASSERT_TRUE(watch.close.taken);
        EXPECT_TRUE(watch.close.summary_visible);
        EXPECT_EQ(watch.close.summary_text_length, 0);
        EXPECT_EQ(watch.close.check_rows, 0);
        EXPECT_EQ(watch.close.tree_items, 0);
        EXPECT_TRUE(watch.about.taken);
    }
}

TEST(StartUp, AListingHeldOpenElsewhereGivesThePlatformsSharingViolationText) {
    FrameSession session(English(SmallListing()));
    ASSERT_TRUE(session.alive());
    const std::string path = session.folder().path() + "\\job.tov";
    const HANDLE held =
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DialogRecorder recorder(session.frame().work_summary_hwnd());
    session.PumpUntilIdle();
    CloseHandle(held);
    EXPECT_FALSE(session.alive());

    const std::vector<SeenDialog> seen = recorder.seen();
    const SeenDialog* box =
        FindSeen(seen, [](const SeenDialog& dialog) { return dialog.caption == "Tov - error"; });
    ASSERT_NE(box, nullptr);
    const std::string expected = SystemErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_NE(expected.rfind("error ", 0), 0u) << expected;
    EXPECT_TRUE(box->Shows(expected)) << expected;
}

}  // namespace
}  // namespace tov

namespace tov {
namespace {

// The time from the open request posted by the new main window to the first idle moment with a
// large listing open: find, load, verify, summary, tree and the root folder's files.
// Runs only when TOV_LARGE_LISTING names a listing file (made with `listing_writer synthetic`).
TEST(StartUp, TimeToIdleWithTheListingNamedByTovLargeListing) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("TOV_LARGE_LISTING", path, sizeof(path)) == 0) {
        GTEST_SKIP() << "TOV_LARGE_LISTING is not set";
    }
    std::string bytes;
    {
        const HANDLE file =
            CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        LARGE_INTEGER size{};
        GetFileSizeEx(file, &size);
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        const BOOL ok =
            ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(ok && read == bytes.size());
    }
    FrameOptions options = English(std::move(bytes));
    options.close_dialogs = true;
    // The session writes the listing into its folder first; that is not part of the start.
    FrameSession session(options);
    ASSERT_TRUE(session.alive());
    const auto start = GetTickCount64();
    ASSERT_TRUE(session.PumpUntilIdle(120000));
    const auto elapsed = GetTickCount64() - start;
    ASSERT_TRUE(session.alive());
    EXPECT_GT(GetWindowTextLengthA(GetDlgItem(session.frame().work_summary_hwnd(), IDC_TEXT)), 0);
    std::printf("from the open request to idle with %s: %llu ms\n", path,
                static_cast<unsigned long long>(elapsed));
}

}  // namespace
}  // namespace tov
