// Searching in the real main window: the search bar, the results pane, its title and the saving
// of the results, driven by what a user's key presses, clicks and dialog answers send.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "listing/file_handle_win.h"
#include "res/resource.h"
#include "search/file_type_class.h"
#include "search/results_file_win.h"
#include "tests/path_levels_support.h"
#include "tests/win/frame_test_support.h"
#include "ui/system_error_text_win.h"
#include "tools/writer/listing_writer.h"
#include "ui/file_list_control_win.h"
#include "ui/text_win.h"

namespace tov {
namespace {

using test::FrameOptions;
using test::FrameSession;
using test::ReadFileBytes;
using test::WindowText;
using Texts = std::vector<std::string>;

const char kSearchListing[] = R"(> C:
  Carta.doc|25 KB|12/03/09 10:15:00|bien
  Word files(a.doc; b.dot)x.txt|1 KB|01/01/09 10:00:00|
  say "hi".txt|3 MB|01/01/09 10:00:00|mal
  > C:\Docs
    Oferta.xls|1,5 MB|01/02/08 08:00:00|mal
    Informe.dot|700|01/02/08 08:00:00|
  > C:\Backup.zip
    viejo.zip|2 GB|05/05/05 05:05:05|bien
[header]
Nº de trabajo|1
[statistics]
Archivos analizados|{good}|{bad}
)";

FrameOptions SearchOptions() {
    FrameOptions options;
    options.listing = writer::ListingFromDescription(kSearchListing);
    options.language = "-l en";
    return options;
}

HWND Combo(MainFrame& frame) {
    return GetDlgItem(frame.main_toolbar(), IDC_SEARCH_COMBO);
}
HWND Edit(MainFrame& frame) {
    return FindWindowExA(Combo(frame), nullptr, "Edit", nullptr);
}

// Posted, as the user's key press and button click are, so that the idle step that writes the
// button states follows.
void PressEnter(FrameSession& session) {
    PostMessageA(Edit(session.frame()), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ASSERT_TRUE(session.PumpUntilIdle());
}

void Click(FrameSession& session, UINT command) {
    PostMessageA(session.hwnd(), WM_COMMAND, command, 0);
    ASSERT_TRUE(session.PumpUntilIdle());
}

// What typing does to the box: the whole text replaced by `text` (nothing: deleted).
void TypeText(FrameSession& session, const std::string& text) {
    HWND edit = Edit(session.frame());
    SendMessageA(edit, EM_SETSEL, 0, -1);
    if (text.empty()) {
        SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    }
    for (const char c : text) {
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    ASSERT_TRUE(session.PumpUntilIdle());
}

void PickClass(FrameSession& session, int row) {
    SendMessageA(Combo(session.frame()), CB_SETCURSEL, row, 0);
    ASSERT_TRUE(session.PumpUntilIdle());
}

std::string CellText(HWND list, int row, int column) {
    return test::ListCellText(list, row, column);
}

// The rows as the ResultsList shows them: "status|path|size|date".
Texts ShownRows(MainFrame& frame) {
    const HWND list = frame.results_list_hwnd();
    Texts rows;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        rows.push_back(CellText(list, row, 0) + "|" + CellText(list, row, 1) + "|" +
                       CellText(list, row, 2) + "|" + CellText(list, row, 3));
    }
    return rows;
}

std::string PaneTitle(MainFrame& frame) {
    return WindowText(frame.results_pane().hwnd());
}

bool ButtonEnabled(MainFrame& frame, UINT command) {
    return SendMessageA(frame.main_toolbar(), TB_ISBUTTONENABLED, command, 0) != 0;
}

bool ButtonChecked(MainFrame& frame, UINT command) {
    return SendMessageA(frame.main_toolbar(), TB_ISBUTTONCHECKED, command, 0) != 0;
}

FileListControl& ResultsObject(MainFrame& frame) {
    return *static_cast<FileListControl*>(Window::FromHandle(frame.results_list_hwnd()));
}

// ---- the search bar ----

TEST(SearchBar, LabelAndBoxSitAtTheRightEndOfTheToolbar) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND toolbar = frame.main_toolbar();
    const HWND combo = Combo(frame);
    ASSERT_NE(combo, nullptr);

    const LONG style = GetWindowLongA(combo, GWL_STYLE);
    EXPECT_EQ(style & 0x3, CBS_DROPDOWN);
    EXPECT_EQ(style & (CBS_AUTOHSCROLL | CBS_SORT | WS_VSCROLL | WS_TABSTOP), 0);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    // 13 as set; Wine reports the selection field with its 2 pixels of padding added.
    const LRESULT field_height = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    EXPECT_TRUE(field_height == 13 || field_height == 15) << field_height;
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 10);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    for (int row = 0; row < 10; ++row) {
        const auto* expression =
            reinterpret_cast<const char*>(SendMessageA(combo, CB_GETITEMDATA, row, 0));
        EXPECT_EQ(expression, FileTypeClasses()[row].expression) << row;
        char text[256] = {};
        SendMessageA(combo, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(text, LoadText(FileTypeClasses()[row].display_text_id));
    }
    EXPECT_EQ(WindowText(combo), "All files");

    // The label: a window of the program's own class whose text is IDS_SEARCH_LABEL.
    HWND label = nullptr;
    for (HWND child = GetWindow(toolbar, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (child != combo && WindowText(child) == "Search:") {
            label = child;
        }
    }
    ASSERT_NE(label, nullptr);
    char class_name[64] = {};
    GetClassNameA(label, class_name, sizeof(class_name));
    EXPECT_STRNE(class_name, "Static");
    EXPECT_EQ(SendMessageA(label, WM_ERASEBKGND, 0, 0), 1);

    for (const int width : {800, 1000, 400}) {
        SetWindowPos(session.hwnd(), nullptr, 0, 0, width, 600, SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_TRUE(session.PumpUntilIdle());
        RECT client{};
        GetClientRect(toolbar, &client);
        const int w = client.right;
        RECT rect{};
        GetWindowRect(label, &rect);
        MapWindowPoints(nullptr, toolbar, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, w - 508) << width;
        EXPECT_EQ(rect.top, 2);
        EXPECT_EQ(rect.right - rect.left, 64);
        EXPECT_EQ(rect.bottom - rect.top, 18);
        GetWindowRect(combo, &rect);
        MapWindowPoints(nullptr, toolbar, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, w - 444) << width;
        EXPECT_EQ(rect.top, 1);
        EXPECT_EQ(rect.right - rect.left, 360);
        TBBUTTONINFOA item{};
        item.cbSize = sizeof(item);
        item.dwMask = TBIF_BYINDEX | TBIF_SIZE | TBIF_STYLE | TBIF_COMMAND;
        ASSERT_EQ(SendMessageA(toolbar, TB_GETBUTTONINFOA, 7, reinterpret_cast<LPARAM>(&item)), 7);
        EXPECT_EQ(item.cx, w > 210 ? w - 210 : 0) << width;
        EXPECT_EQ(item.fsStyle & BTNS_DROPDOWN, BTNS_DROPDOWN);
        EXPECT_EQ(item.idCommand, 0);

        // The label shows its text and the toolbar through it, nothing coloured: no image of
        // the widened item beneath.
        RedrawWindow(toolbar, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT bar{};
        GetWindowRect(label, &rect);
        GetWindowRect(toolbar, &bar);
        IntersectRect(&rect, &rect, &bar);  // a narrow window pushes it off the toolbar
        HDC screen = GetDC(nullptr);
        int coloured = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                const COLORREF color = GetPixel(screen, x, y);
                const int high = std::max({GetRValue(color), GetGValue(color), GetBValue(color)});
                const int low = std::min({GetRValue(color), GetGValue(color), GetBValue(color)});
                coloured += high - low > 60 ? 1 : 0;
            }
        }
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(coloured, 0) << width;
    }
}

TEST(SearchBar, EnterRightAfterStartListsEveryFolderAndFile) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    EXPECT_FALSE(IsWindowVisible(frame.results_pane().hwnd()));
    PressEnter(session);
    // Sorted by path, without regard to case; folder rows among the files.
    EXPECT_EQ(ShownRows(frame), (Texts{
                                    "|C:||",
                                    "|C:\\Backup.zip||",
                                    "bien|C:\\Backup.zip\\viejo.zip|2 GB|05/05/05 05:05:05",
                                    "bien|C:\\Carta.doc|25 KB|12/03/09 10:15:00",
                                    "|C:\\Docs||",
                                    "|C:\\Docs\\Informe.dot|700|01/02/08 08:00:00",
                                    "mal|C:\\Docs\\Oferta.xls|1,5 MB|01/02/08 08:00:00",
                                    "mal|C:\\say \"hi\".txt|3 MB|01/01/09 10:00:00",
                                    "|C:\\Word files(a.doc; b.dot)x.txt|1 KB|01/01/09 10:00:00",
                                }))
        << "Nothing of the header or statistics is a result";
    EXPECT_TRUE(IsWindowVisible(frame.results_pane().hwnd()));
    EXPECT_TRUE(ButtonChecked(frame, ID_SHOW_RESULTS));
    EXPECT_TRUE(ButtonEnabled(frame, ID_SAVE_SEARCH));
    EXPECT_EQ(PaneTitle(frame), "Search results - All files - 9 file(s)");

    // The Search button does the same.
    Click(session, ID_SEARCH);
    EXPECT_EQ(ListView_GetItemCount(frame.results_list_hwnd()), 9);
}

TEST(SearchBar, APickedClassIsSearchedAsAClassUntilItsTextIsEdited) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    PickClass(session, 1);
    PressEnter(session);
    EXPECT_EQ(ShownRows(frame), (Texts{"bien|C:\\Carta.doc|25 KB|12/03/09 10:15:00",
                                       "|C:\\Docs\\Informe.dot|700|01/02/08 08:00:00"}));
    EXPECT_EQ(PaneTitle(frame), "Search results - Word files(*.doc; *.dot) - 2 file(s)");

    // One more character: the label is now typed text, its stars wildcards.
    SendMessageA(Edit(frame), EM_SETSEL, 100, 100);
    SendMessageA(Edit(frame), WM_CHAR, 'x', 1);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(SendMessageA(Combo(frame), CB_GETCURSEL, 0, 0), CB_ERR);
    PressEnter(session);
    EXPECT_EQ(ShownRows(frame),
              (Texts{"|C:\\Word files(a.doc; b.dot)x.txt|1 KB|01/01/09 10:00:00"}));
    EXPECT_EQ(PaneTitle(frame), "Search results - Word files(*.doc; *.dot)x - 1 file(s)");

    // With the list open, the arrow keys pick the next class and Enter searches that one. A
    // folder whose name ends in a listed extension is found too.
    PickClass(session, 3);
    SetFocus(Edit(frame));
    SendMessageA(Combo(frame), CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageA(Combo(frame), CB_GETDROPPEDSTATE, 0, 0));
    test::PostKey(Edit(frame), VK_DOWN);
    PressEnter(session);
    EXPECT_EQ(SendMessageA(Combo(frame), CB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(ShownRows(frame), (Texts{"|C:\\Backup.zip||",
                                       "bien|C:\\Backup.zip\\viejo.zip|2 GB|05/05/05 05:05:05"}));
}

TEST(SearchBar, FiltersAndTypedPatterns) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    Click(session, ID_ONLY_GOOD);
    ASSERT_TRUE(ButtonChecked(frame, ID_ONLY_GOOD));
    PressEnter(session);
    EXPECT_EQ(ShownRows(frame), (Texts{"bien|C:\\Backup.zip\\viejo.zip|2 GB|05/05/05 05:05:05",
                                       "bien|C:\\Carta.doc|25 KB|12/03/09 10:15:00"}));
    Click(session, ID_ONLY_BAD);
    TypeText(session, "*.?o?");
    PressEnter(session);
    EXPECT_EQ(ShownRows(frame), (Texts{"bien|C:\\Carta.doc|25 KB|12/03/09 10:15:00"}));
    EXPECT_EQ(PaneTitle(frame), "Search results - *.?o? - 1 file(s)");
}

TEST(SearchBar, AnEmptyFieldDoesNothing) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    TypeText(session, "carta");
    PressEnter(session);
    ASSERT_EQ(ListView_GetItemCount(frame.results_list_hwnd()), 1);
    Click(session, ID_SHOW_RESULTS);  // hide the pane
    ASSERT_FALSE(IsWindowVisible(frame.results_pane().hwnd()));

    TypeText(session, "");
    ASSERT_EQ(WindowText(Combo(frame)), "");
    ASSERT_EQ(SendMessageA(Combo(frame), CB_GETCURSEL, 0, 0), CB_ERR);
    PressEnter(session);
    Click(session, ID_SEARCH);
    EXPECT_FALSE(IsWindowVisible(frame.results_pane().hwnd()));
    EXPECT_EQ(ListView_GetItemCount(frame.results_list_hwnd()), 1);
    EXPECT_EQ(PaneTitle(frame), "Search results - carta - 1 file(s)");
}

// ---- the results pane ----

TEST(ResultsPane, ASearchShowsThePaneAfterTheUserHidIt) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    Click(session, ID_SHOW_RESULTS);
    Click(session, ID_RESULTS_CLOSE);
    ASSERT_FALSE(IsWindowVisible(frame.results_pane().hwnd()));
    ASSERT_FALSE(ButtonChecked(frame, ID_SHOW_RESULTS));
    PressEnter(session);
    EXPECT_TRUE(IsWindowVisible(frame.results_pane().hwnd()));
    EXPECT_TRUE(ButtonChecked(frame, ID_SHOW_RESULTS));
    RECT pane{};
    GetWindowRect(frame.results_pane().hwnd(), &pane);
    RECT splitter{};
    GetWindowRect(frame.inner_splitter().hwnd(), &splitter);
    EXPECT_GT(pane.bottom - pane.top, 0)
        << "pane " << pane.left << "," << pane.top << " " << pane.right << "," << pane.bottom
        << " splitter " << splitter.left << "," << splitter.top << " " << splitter.right << ","
        << splitter.bottom;
}

TEST(ResultsPane, SaveIsEnabledExactlyWhenThereAreRows) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    EXPECT_FALSE(ButtonEnabled(frame, ID_SAVE_SEARCH));
    TypeText(session, "abc");
    PressEnter(session);
    EXPECT_EQ(ListView_GetItemCount(frame.results_list_hwnd()), 0);
    EXPECT_FALSE(ButtonEnabled(frame, ID_SAVE_SEARCH));
    EXPECT_EQ(PaneTitle(frame), "Search results - abc - 0 file(s)");
    TypeText(session, "oferta");
    PressEnter(session);
    EXPECT_TRUE(ButtonEnabled(frame, ID_SAVE_SEARCH));
    TypeText(session, "nothing like it");
    PressEnter(session);
    EXPECT_FALSE(ButtonEnabled(frame, ID_SAVE_SEARCH));
    // With no rows the save command does nothing, not even ask for a name.
    Click(session, ID_SAVE_SEARCH);
    EXPECT_TRUE(session.closer()->closed().size() <= 1u);  // the about box at most
}

TEST(ResultsPane, ARefusedPatternSaysSoAndTheProgramGoesOn) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    PressEnter(session);
    ASSERT_EQ(ListView_GetItemCount(frame.results_list_hwnd()), 9);
    const std::size_t closed_before = session.closer()->closed().size();
    TypeText(session, "{2}");  // a repetition of nothing
    PressEnter(session);
    const Texts closed = session.closer()->closed();
    ASSERT_EQ(closed.size(), closed_before + 1);
    EXPECT_EQ(closed.back(), "Tov - error");
    EXPECT_EQ(ListView_GetItemCount(frame.results_list_hwnd()), 0);
    EXPECT_FALSE(ButtonEnabled(frame, ID_SAVE_SEARCH));
    EXPECT_EQ(PaneTitle(frame), "Search results - {2} - 0 file(s)");
    ASSERT_TRUE(IsWindow(session.hwnd()));
    TypeText(session, "x{2");  // a brace that makes no repetition is a literal
    PressEnter(session);
    EXPECT_EQ(closed.size(), session.closer()->closed().size());
    TypeText(session, "carta");
    PressEnter(session);
    EXPECT_EQ(ListView_GetItemCount(frame.results_list_hwnd()), 1);
}

// ---- saving ----

using test::DialogScript;

DialogScript::Step EnterFileName(std::string name) {
    return DialogScript::TypeFileName(std::move(name));
}

// The same as typed by a user whose name the ANSI code page cannot spell.
DialogScript::Step EnterWideFileName(std::wstring name) {
    return DialogScript::TypeFileName(std::move(name));
}

DialogScript::Step Answer(int button) {
    return DialogScript::Click(button);
}

std::vector<std::uint32_t> ShownOrder(MainFrame& frame) {
    const FileListControl& list = ResultsObject(frame);
    std::vector<std::uint32_t> order(list.RowCount());
    for (std::size_t position = 0; position < order.size(); ++position) {
        order[position] =
            static_cast<std::uint32_t>(&list.RowAt(position) - list.rows().rows.data());
    }
    return order;
}

// Whether a save left a temporary file in the folder.
bool LeftTemporaryFile(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

// Runs the save command while the script answers its dialogs.
std::size_t SaveWith(FrameSession& session, std::vector<DialogScript::Step> steps,
                     Texts* captions) {
    session.closer()->set_enabled(false);
    std::size_t done = 0;
    {
        DialogScript script(std::move(steps), {session.frame().work_summary_hwnd()});
        SendMessageA(session.hwnd(), WM_COMMAND, ID_SAVE_SEARCH, 0);
        session.PumpUntilIdle();
        done = script.done();
        if (captions != nullptr) {
            *captions = script.captions();
        }
    }
    session.closer()->set_enabled(true);
    session.PumpUntilIdle();
    return done;
}

std::string ExpectedCsv(const Texts& shown_rows) {
    std::string csv;
    for (const std::string& row : shown_rows) {
        std::string line = "\"";
        for (const char c : row) {
            line += c == '|'   ? std::string("\";\"")
                    : c == '"' ? std::string("\"\"")
                               : std::string(1, c);
        }
        csv += line + "\"\r\n";
    }
    return csv;
}

TEST(SaveSearch, ANameWithoutExtensionWritesACsvFileInTheShownOrder) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    PressEnter(session);
    ResultsObject(frame).SortRows(2, -1);  // by size, largest first
    ASSERT_TRUE(session.PumpUntilIdle());
    const Texts shown = ShownRows(frame);
    ASSERT_EQ(shown.size(), 9u);
    ASSERT_EQ(shown[0], "bien|C:\\Backup.zip\\viejo.zip|2 GB|05/05/05 05:05:05");

    const std::string folder = session.folder().path();
    ASSERT_EQ(SaveWith(session, {EnterFileName(folder + "\\results")}, nullptr), 1u);
    const std::string saved = ReadFileBytes(folder + "\\results.csv");
    EXPECT_EQ(saved, ExpectedCsv(shown));
    EXPECT_NE(saved.find("\"mal\";\"C:\\say \"\"hi\"\".txt\";\"3 MB\";"), std::string::npos);
    EXPECT_NE(saved.find("\"\";\"C:\\Docs\";\"\";\"\"\r\n"), std::string::npos);

    // Saving again over it asks first; "Yes" replaces it with the new order.
    ResultsObject(frame).SortRows(1, 1);
    ASSERT_TRUE(session.PumpUntilIdle());
    Texts captions;
    ASSERT_EQ(
        SaveWith(session, {EnterFileName(folder + "\\results.csv"), Answer(IDYES)}, &captions), 2u);
    EXPECT_EQ(ReadFileBytes(folder + "\\results.csv"), ExpectedCsv(ShownRows(frame)));

    // Cancelling writes nothing and says nothing.
    ASSERT_EQ(SaveWith(session, {Answer(IDCANCEL)}, &captions), 1u);
    EXPECT_FALSE(LeftTemporaryFile(folder)) << "a temporary file was left behind";
}

// Names as typed, also where the ANSI code page has no such letters: Polish (which it would
// quietly change to "Lodz") and Greek (which it cannot write at all).
TEST(SaveSearch, ANameOutsideTheCodePageIsSavedAsTyped) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    PressEnter(session);
    const Texts shown = ShownRows(session.frame());
    const std::wstring folder = WideFromAnsi(session.folder().path());
    const std::wstring names[] = {L"\u0141\u00f3d\u017a",
                                  L"\u0391\u03c0\u03bf\u03c4\u03b5\u03bb\u03ad\u03c3\u03bc"
                                  L"\u03b1\u03c4\u03b1"};
    for (const std::wstring& name : names) {
        Texts captions;
        ASSERT_EQ(SaveWith(session, {EnterWideFileName(folder + L"\\" + name)}, &captions), 1u);
        EXPECT_EQ(captions.size(), 1u) << "no message after the dialog: " << captions.back();
    }
    std::vector<std::wstring> saved;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.csv").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            saved.push_back(found.cFileName);
            const FileHandle file(folder + L"\\" + found.cFileName, GENERIC_READ, 0, OPEN_EXISTING,
                                  0);
            std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
            file.Read(bytes.data(), static_cast<DWORD>(bytes.size()));
            EXPECT_EQ(bytes, ExpectedCsv(shown));
            DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::sort(saved.begin(), saved.end());
    EXPECT_EQ(saved, (std::vector<std::wstring>{names[0] + L".csv", names[1] + L".csv"}));
}

// A path longer than the dialog can take is refused in the dialog with the reason, and the
// dialog stays for another choice: nothing crashes and nothing is written.
TEST(SaveSearch, APathTooLongForTheDialogIsRefusedThere) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    PressEnter(session);
    const std::string folder = session.folder().path();
    std::string message;
    auto read_and_close = [&message](HWND box) {
        message = test::MessageBoxText(box);
        test::PostClick(box, IDOK);
    };
    // The save dialog, still up once the message is answered, is what the script then cancels.
    Texts captions;
    ASSERT_EQ(
        SaveWith(session,
                 {EnterFileName(folder + "\\" + std::string(300, 'a') + ".csv"), read_and_close},
                 &captions),
        2u);
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_EQ(captions[1], "Orvan Explorer");
    EXPECT_EQ(captions[2], "left open: " + captions[0]);
    EXPECT_EQ(message, "error saving file\r\n\r\n" + SystemErrorText(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_TRUE(session.alive());
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*.csv").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
}

TEST(SaveSearch, AReadOnlyOrHeldFileIsLeftAsItWasAndTheErrorIsShown) {
    FrameSession session(SearchOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    PressEnter(session);
    const std::string target = session.folder().WriteFile("kept.csv", "old bytes\r\n");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));

    std::string message;
    auto read_and_close = [&message](HWND box) {
        message = test::MessageBoxText(box);
        test::PostClick(box, IDOK);
    };
    Texts captions;
    ASSERT_EQ(SaveWith(session, {EnterFileName(target), Answer(IDYES), read_and_close}, &captions),
              3u);
    ASSERT_EQ(captions.size(), 3u) << captions.back();
    EXPECT_EQ(captions[2], "Orvan Explorer");
    EXPECT_EQ(message, "error saving file");
    EXPECT_EQ(ReadFileBytes(target), "old bytes\r\n");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(LeftTemporaryFile(session.folder().path())) << "a temporary file was left behind";

    // A file that another program holds open cannot be replaced once the new one is written: the
    // message gives the platform's reason, and nothing is left.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    message.clear();
    ASSERT_EQ(SaveWith(session, {EnterFileName(target), Answer(IDYES), read_and_close}, &captions),
              3u);
    CloseHandle(held);
    const std::string told = "error saving file\r\n\r\n";
    EXPECT_EQ(message.substr(0, told.size()), told);
    EXPECT_GT(message.size(), told.size());
    EXPECT_EQ(ReadFileBytes(target), "old bytes\r\n");
    EXPECT_FALSE(LeftTemporaryFile(session.folder().path())) << "a temporary file was left behind";
}

TEST(SaveSearch, AFailedSaveKeepsTheTargetAndLeavesNoTemporaryFile) {
    test::RowsBuilder built;
    built.File("a.txt", "1", "01/01/01 00:00:00", "bien");
    const RowSet& rows = built.set;
    const std::uint32_t order[] = {0};
    test::TempFolder folder;
    const std::string target = folder.WriteFile("t.csv", "before");
    // A folder that does not exist: nothing is created.
    EXPECT_FALSE(SaveResultsFile(WideFromAnsi(folder.path() + "\\missing\\t.csv"), rows, order));
    // A folder in the way of the name.
    CreateDirectoryA((folder.path() + "\\dir.csv").c_str(), nullptr);
    EXPECT_FALSE(SaveResultsFile(WideFromAnsi(folder.path() + "\\dir.csv"), rows, order));
    // A target held open without sharing cannot be replaced; it keeps its bytes.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SaveResultsFile(WideFromAnsi(target), rows, order));
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(target), "before");
    // A read-only target is refused and keeps its bytes.
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SaveResultsFile(WideFromAnsi(target), rows, order));
    EXPECT_EQ(ReadFileBytes(target), "before");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(LeftTemporaryFile(folder.path()));
    RemoveDirectoryA((folder.path() + "\\dir.csv").c_str());
    // And then it works.
    EXPECT_TRUE(SaveResultsFile(WideFromAnsi(target), rows, order));
    EXPECT_EQ(ReadFileBytes(target), "\"bien\";\"a.txt\";\"1\";\"01/01/01 00:00:00\"\r\n");
}

// ---- long saves ----

FrameOptions DeepListingOptions() {
    FrameOptions options;
    options.listing = test::DeepFoldersListing();
    options.language = "-l en";
    return options;
}

// The results list once "*" has found every folder and file of the session's listing.
HWND FindEverything(FrameSession& session) {
    session.PumpUntilIdle();
    TypeText(session, "*");
    PressEnter(session);
    return session.frame().results_list_hwnd();
}

// A click on a column header, posted as the mouse's would arrive.
void PostHeaderClick(HWND list, int column) {
    HWND header = ListView_GetHeader(list);
    RECT item{};
    Header_GetItemRect(header, column, &item);
    test::PostClick(header, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

TEST(SaveSearch, ALongSaveGoesOnBetweenMessagesInTheOrderShownWhenItBegan) {
    FrameSession session(DeepListingOptions());
    MainFrame& frame = session.frame();
    const HWND results = FindEverything(session);
    ASSERT_EQ(ListView_GetItemCount(results), 1001);
    PostHeaderClick(results, 1);  // by name, descending: the deepest folders first
    ASSERT_TRUE(session.PumpUntilIdle());
    const std::vector<std::uint32_t> order = ShownOrder(frame);
    std::string expected;
    WriteCsv(ResultsObject(frame).rows(), order, [&](std::string_view chunk) {
        expected += chunk;
        return true;
    });
    ASSERT_GT(expected.size(), std::size_t{40} << 20);

    const std::string target = session.folder().path() + "\\long.csv";
    session.closer()->set_enabled(false);
    DialogScript script({EnterFileName(target)}, {frame.work_summary_hwnd()});
    SendMessageA(session.hwnd(), WM_COMMAND, ID_SAVE_SEARCH, 0);
    ASSERT_TRUE(frame.saving_results());  // the command came back with the save going on
    // The window answers meanwhile: a click on the header sorts the list anew.
    PostHeaderClick(results, 1);
    ASSERT_TRUE(test::PumpUntil(
        session, [&] { return !frame.saving_results(); }, 120000));
    EXPECT_NE(ShownOrder(frame), order);
    EXPECT_TRUE(ReadFileBytes(target) == expected);
    EXPECT_EQ(script.captions().size(), 1u);  // the save dialog and no message
    EXPECT_FALSE(LeftTemporaryFile(session.folder().path()));
    session.closer()->set_enabled(true);
}

// Escape, a new search (which replaces the rows being written) and closing the window each stop
// a long save: the file it would replace keeps its bytes, nothing else is left, and the user is
// told that the save did not happen.
TEST(SaveSearch, EscapeANewSearchOrClosingStopsALongSaveAndLeavesTheOldFile) {
    FrameSession session(DeepListingOptions());
    MainFrame& frame = session.frame();
    const HWND results = FindEverything(session);
    ASSERT_EQ(ListView_GetItemCount(results), 1001);
    const std::string folder = session.folder().path();
    const std::string target = session.folder().WriteFile("kept.csv", "old bytes\r\n");
    const std::string stopped = "error saving file\r\n\r\n" + SystemErrorText(ERROR_CANCELLED);

    session.closer()->set_enabled(false);
    for (const bool by_escape : {true, false}) {
        SCOPED_TRACE(by_escape ? "Escape" : "a new search");
        std::string message;
        DialogScript script({EnterFileName(target), Answer(IDYES),
                             [&message](HWND box) {
                                 message = test::MessageBoxText(box);
                                 test::PostClick(box, IDOK);
                             }},
                            {frame.work_summary_hwnd()});
        SendMessageA(session.hwnd(), WM_COMMAND, ID_SAVE_SEARCH, 0);
        ASSERT_TRUE(frame.saving_results());
        if (by_escape) {
            test::PostKey(results, VK_ESCAPE);
        } else {
            PostMessageA(Edit(frame), WM_KEYDOWN, VK_RETURN, 0x001C0001);
        }
        ASSERT_TRUE(test::PumpUntil(session, [&] { return script.done() == 3; }));
        ASSERT_TRUE(session.PumpUntilIdle());
        EXPECT_FALSE(frame.saving_results());
        EXPECT_EQ(message, stopped);
        EXPECT_TRUE(ReadFileBytes(target) == "old bytes\r\n");
        EXPECT_FALSE(LeftTemporaryFile(folder));
        EXPECT_EQ(ListView_GetItemCount(results), 1001);
        EXPECT_TRUE(ButtonEnabled(frame, ID_SAVE_SEARCH));
    }

    {
        DialogScript script({EnterFileName(target), Answer(IDYES)}, {frame.work_summary_hwnd()});
        SendMessageA(session.hwnd(), WM_COMMAND, ID_SAVE_SEARCH, 0);
        ASSERT_TRUE(frame.saving_results());
        session.Close();
        EXPECT_EQ(script.captions().size(), 2u);  // no message from a window going away
    }
    EXPECT_TRUE(ReadFileBytes(target) == "old bytes\r\n");
    EXPECT_FALSE(LeftTemporaryFile(folder));
}

// ---- scale ----

// A search, a sort and a save of over a million rows: the windows are asked no work per row
// (the times are measured by the window benchmark).
TEST(SearchScale, AllFilesOfAMillionFileListingSearchSortAndSave) {
    writer::SyntheticOptions synthetic;
    synthetic.files = 1'000'000;
    synthetic.folders = 20'000;
    synthetic.depth = 8;
    FrameOptions options;
    options.listing = writer::MakeSyntheticListing(synthetic);
    FrameSession session(options);
    ASSERT_TRUE(session.PumpUntilIdle(90000));
    MainFrame& frame = session.frame();
    const HWND list = frame.results_list_hwnd();

    {
        test::SentMessageCounter sent;
        PressEnter(session);
        UpdateWindow(list);
        EXPECT_LT(sent.count(), 10000);
    }
    ASSERT_EQ(ListView_GetItemCount(list), 1'020'000);
    {
        test::SentMessageCounter sent;
        ResultsObject(frame).SortRows(2, 1);
        UpdateWindow(list);
        EXPECT_LT(sent.count(), 10000);
    }

    const FileListControl& control = ResultsObject(frame);
    for (std::size_t i = 0; i + 1 < control.RowCount(); i += 1009) {
        ASSERT_LE(CompareRows(control.rows(), control.RowAt(i), control.RowAt(i + 1), {2, 1}), 0);
    }
    const std::string target = session.folder().path() + "\\all.csv";
    ASSERT_TRUE(SaveResultsFile(WideFromAnsi(target), control.rows(), ShownOrder(frame)));
    WIN32_FILE_ATTRIBUTE_DATA saved{};
    ASSERT_TRUE(GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &saved));
    EXPECT_GT(saved.nFileSizeLow | saved.nFileSizeHigh, 0u);
    DeleteFileA(target.c_str());
}

}  // namespace
}  // namespace tov
