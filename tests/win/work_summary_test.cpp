// The work-summary dialog: its initialisation, filling, close box, caret and resizing, alone
// with a plain owner window and inside the main window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_module_win.h"
#include "app/language_win.h"
#include "listing/work_summary.h"
#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "tools/writer/listing_writer.h"
#include "ui/work_summary_dialog_win.h"

namespace tov {
namespace {

using test::WindowText;

std::string CellText(HWND list, int row, int column) {
    return test::ListCellText(list, row, column);
}

RECT ChildRect(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A plain owner window that notes the commands it receives, with the thread's message loop
// and the English texts, as the main window would have them.
class DialogHost {
  public:
    DialogHost() {
        previous_locale_ = GetThreadLocale();
        previous_ui_language_ = GetThreadUILanguage();
        ApplyLanguageSwitch("-l en");
        if (Module().instance() == nullptr) {
            Module().Init(GetModuleHandleA(nullptr));
        }
        previous_loop_ = Module().AddMessageLoop(&loop_);

        WNDCLASSEXA window_class{};
        window_class.cbSize = sizeof(window_class);
        window_class.lpfnWndProc = OwnerProc;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "TovSummaryTestOwner";
        RegisterClassExA(&window_class);
        owner_ = CreateWindowExA(0, "TovSummaryTestOwner", "owner", WS_OVERLAPPEDWINDOW, 100, 80,
                                 800, 600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(owner_, SW_SHOWNORMAL);
    }
    ~DialogHost() {
        DestroyWindow(owner_);
        Pump();
        Module().RemoveMessageLoop();
        if (previous_loop_ != nullptr) {
            Module().AddMessageLoop(previous_loop_);
        }
        SetThreadLocale(previous_locale_);
        SetThreadUILanguage(previous_ui_language_);
    }

    HWND owner() const { return owner_; }
    MessageLoop& loop() { return loop_; }
    const std::vector<UINT>& commands() const { return commands_; }
    void Pump() { loop_.PumpUntilIdle(5000); }

  private:
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<DialogHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_COMMAND && self != nullptr) {
            self->commands_.push_back(LOWORD(wparam));
            return 0;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }

    MessageLoop loop_;
    MessageLoop* previous_loop_ = nullptr;
    LCID previous_locale_ = 0;
    LANGID previous_ui_language_ = 0;
    HWND owner_ = nullptr;
    std::vector<UINT> commands_;
};

TEST(WorkSummaryDialog, StartsHiddenEmptyCentredOverItsOwnerWithItsColumnsAndIcons) {
    DialogHost host;
    WorkSummaryDialog dialog;
    ASSERT_TRUE(dialog.Create(host.owner()));
    const HWND window = dialog.hwnd();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), host.owner());
    EXPECT_NE(GetWindowLongPtrA(window, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    EXPECT_EQ(WindowText(GetDlgItem(window, IDC_TEXT)), "");
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_NE(SendMessageA(window, WM_GETICON, ICON_BIG, 0), 0);

    RECT owner_rect{};
    RECT dialog_rect{};
    GetWindowRect(host.owner(), &owner_rect);
    GetWindowRect(window, &dialog_rect);
    EXPECT_NEAR((dialog_rect.left + dialog_rect.right) / 2,
                (owner_rect.left + owner_rect.right) / 2, 1);
    EXPECT_NEAR((dialog_rect.top + dialog_rect.bottom) / 2,
                (owner_rect.top + owner_rect.bottom) / 2, 1);

    const HWND list = GetDlgItem(window, IDC_CHECK_LIST);
    const char* titles[] = {"Type", "Correct", "Incorrect"};
    const int widths[] = {185, 75, 78};
    const int formats[] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_CENTER};
    for (int i = 0; i < 3; ++i) {
        char title[64] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = sizeof(title);
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(title, titles[i]);
        EXPECT_EQ(column.cx, widths[i]);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, formats[i]);
    }
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 0);

    // Registered with the thread's loop: a Tab meant for the dialog is taken for navigation.
    MSG tab{GetDlgItem(window, IDC_TEXT), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(host.loop().PreTranslateMessage(&tab));
}

TEST(WorkSummaryDialog, FillsTheSameTextAsAppendingOneLineAtATime) {
    DialogHost host;
    const std::string listing = writer::AppendDigestLine(
        ">|C:\n<\nN\xBA de trabajo|4711\nPa\xEDs|Espa\xF1"
        "a\nPais|Espa\xF1"
        "a\nMarca\n"
        "Raz\xF3n social|100% %s|x\nArchivos analizados|120|4\nImagenes|3|1\nOtro\n");
    const ListingDocument document = ListingDocument::FromCopy(listing);

    WorkSummaryDialog filled;
    ASSERT_TRUE(filled.Create(host.owner()));
    ShowWindow(filled.hwnd(), SW_SHOWNORMAL);
    SetFocus(host.owner());
    FillWorkSummary(filled, document);
    const HWND focus = GetFocus();
    EXPECT_TRUE(focus == filled.hwnd() || IsChild(filled.hwnd(), focus));
    const std::string text = WindowText(GetDlgItem(filled.hwnd(), IDC_TEXT));
    EXPECT_EQ(text,
              "Work #:\t4711\r\nPa\xEDs:\tEspa\xF1"
              "a\r\nCountry:\tEspa\xF1"
              "a\r\nManufacturer\r\n"
              "Firm name:\t100% %s:\tx");

    WorkSummaryDialog one_by_one;
    ASSERT_TRUE(one_by_one.Create(host.owner()));
    WorkSummaryLabels labels;
    for (std::size_t i = 0; i < kHeaderKeyCount; ++i) {
        char label[64] = {};
        LoadStringA(GetModuleHandleA(nullptr), IDS_HEADER_LABEL_FIRST + static_cast<UINT>(i), label,
                    sizeof(label));
        labels.header[i] = label;
    }
    for (const std::string& line : ReadWorkSummary(document, labels).work_lines) {
        one_by_one.AppendWorkLine(line);
    }
    EXPECT_EQ(WindowText(GetDlgItem(one_by_one.hwnd(), IDC_TEXT)), text);
    // Appending to a text that is already there starts a new line.
    filled.AppendWorkLines({"one", "two"});
    EXPECT_EQ(WindowText(GetDlgItem(filled.hwnd(), IDC_TEXT)), text + "\r\none\r\ntwo");

    const HWND list = GetDlgItem(filled.hwnd(), IDC_CHECK_LIST);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(CellText(list, 0, 0), "Analized files");
    EXPECT_EQ(CellText(list, 0, 1), "120");
    EXPECT_EQ(CellText(list, 0, 2), "4");
    EXPECT_EQ(CellText(list, 1, 0), "Image fileses");
    EXPECT_EQ(CellText(list, 2, 0), "Otro");
    EXPECT_EQ(CellText(list, 2, 1), "");
}

// Wine's edit control lays out every line it is given at about 0.1 to 0.3 ms a line, so the
// fill is measured against one setting of the same text: appending line by line would lay out
// the whole text again for every line.
// Twenty thousand lines in each section: the edit and the list take the first ones and a line
// saying how many more there were, in the interface's language.
TEST(WorkSummaryDialog, ManyLinesAreShownUpToTheBoundThenCounted) {
    DialogHost host;
    constexpr int kLines = 20000;
    std::string body = ">|C:\n<\n";
    std::string expected;
    for (int i = 0; i < kLines; ++i) {
        const std::string value = std::to_string(i);
        body += "Modelo|" + value + "\n";
        if (i < static_cast<int>(kMaxWorkLines)) {
            expected += (i == 0 ? "Model:\t" : "\r\nModel:\t") + value;
        }
    }
    body += "Archivos analizados|1|2\n";
    for (int i = 0; i < kLines; ++i) {
        body += "Imagen|" + std::to_string(i) + "|0\n";
    }
    const ListingDocument document = ListingDocument::FromCopy(writer::AppendDigestLine(body));

    WorkSummaryDialog dialog;
    ASSERT_TRUE(dialog.Create(host.owner()));
    FillWorkSummary(dialog, document);
    const std::string more = std::to_string(kLines - kMaxWorkLines);
    EXPECT_EQ(WindowText(GetDlgItem(dialog.hwnd(), IDC_TEXT)),
              expected + "\r\n... " + more + " more lines left out");
    const HWND list = GetDlgItem(dialog.hwnd(), IDC_CHECK_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), static_cast<int>(kMaxCheckRows) + 1);
    EXPECT_EQ(test::ListCellText(list, static_cast<int>(kMaxCheckRows), 0),
              "... " + std::to_string(kLines + 1 - kMaxCheckRows) + " more lines left out");
}

TEST(WorkSummaryDialog, TheCloseBoxAsksTheOwnerAndTheEditShowsItsStart) {
    DialogHost host;
    WorkSummaryDialog dialog;
    ASSERT_TRUE(dialog.Create(host.owner()));
    const HWND window = dialog.hwnd();
    std::vector<std::string> lines(200, "Marca:\tAcme");
    dialog.AppendWorkLines(lines);
    ShowWindow(window, SW_SHOWNORMAL);
    host.Pump();

    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    host.Pump();
    ASSERT_EQ(host.commands().size(), 1u);
    EXPECT_EQ(host.commands()[0], static_cast<UINT>(ID_SHOW_SUMMARY));
    EXPECT_TRUE(IsWindow(window));  // hiding is the owner's business

    // Moving the focus into the edit the way Tab does (which selects everything first).
    const HWND edit = GetDlgItem(window, IDC_TEXT);
    SetFocus(GetDlgItem(window, IDC_CHECK_LIST));
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    host.Pump();
    DWORD start = 1;
    DWORD end = 1;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST(WorkSummaryDialog, ResizingGivesTheEditTheHeightAndSharesTheWidth) {
    DialogHost host;
    WorkSummaryDialog dialog;
    ASSERT_TRUE(dialog.Create(host.owner()));
    const HWND window = dialog.hwnd();
    const RECT edit = ChildRect(window, IDC_TEXT);
    const RECT caption = ChildRect(window, IDC_CHECK_CAPTION);
    const RECT list = ChildRect(window, IDC_CHECK_LIST);
    const RECT note = ChildRect(window, IDC_NOTE);
    const RECT logo = ChildRect(window, IDC_LOGO);
    RECT client{};
    GetClientRect(window, &client);

    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 200,
                 frame.bottom - frame.top + 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host.Pump();
    const RECT new_edit = ChildRect(window, IDC_TEXT);
    const RECT new_caption = ChildRect(window, IDC_CHECK_CAPTION);
    const RECT new_list = ChildRect(window, IDC_CHECK_LIST);
    const RECT new_note = ChildRect(window, IDC_NOTE);

    EXPECT_EQ(new_edit.left, edit.left);
    EXPECT_EQ(new_edit.top, edit.top);
    EXPECT_EQ(new_edit.bottom, edit.bottom + 120);
    EXPECT_GT(new_edit.right, edit.right);
    EXPECT_GT(new_caption.left, caption.left);
    EXPECT_EQ(new_caption.right - new_caption.left, caption.right - caption.left);
    EXPECT_EQ(new_caption.top, caption.top);
    EXPECT_GT(new_list.left, list.left);
    EXPECT_EQ(new_list.right, list.right + 200);
    EXPECT_GT(new_list.top, list.top);
    EXPECT_GT(new_list.bottom - new_list.top, list.bottom - list.top);
    EXPECT_GT(new_note.top, note.top);
    EXPECT_EQ(new_note.bottom - new_note.top, note.bottom - note.top);
    EXPECT_LE(new_list.bottom, new_note.top);
    EXPECT_LE(new_edit.right, new_list.left);
    const RECT new_logo = ChildRect(window, IDC_LOGO);
    EXPECT_TRUE(EqualRect(&new_logo, &logo));
}

TEST(WorkSummaryDialog, ClosedWithItsCloseBoxItComesBackUnchanged) {
    test::FrameOptions options;
    options.listing = test::SmallListing();
    options.language = "-l en";
    test::FrameSession session(options);
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND summary = frame.work_summary_hwnd();
    const HWND toolbar = frame.main_toolbar();
    ASSERT_TRUE(IsWindowVisible(summary));
    const std::string text = WindowText(GetDlgItem(summary, IDC_TEXT));
    EXPECT_EQ(text, "Manufacturer:\tAcme");
    const HWND list = GetDlgItem(summary, IDC_CHECK_LIST);
    EXPECT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);

    // Posted, as a click on the close box would come.
    PostMessageA(summary, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_TRUE(IsWindow(summary));
    EXPECT_FALSE(IsWindowVisible(summary));
    EXPECT_EQ(SendMessageA(toolbar, TB_ISBUTTONCHECKED, ID_SHOW_SUMMARY, 0), 0);

    PostMessageA(session.hwnd(), WM_COMMAND, MAKEWPARAM(ID_SHOW_SUMMARY, BN_CLICKED), 0);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_TRUE(IsWindowVisible(summary));
    EXPECT_NE(SendMessageA(toolbar, TB_ISBUTTONCHECKED, ID_SHOW_SUMMARY, 0), 0);
    EXPECT_EQ(WindowText(GetDlgItem(summary, IDC_TEXT)), text);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(CellText(list, 0, 0), "Analized files");
    EXPECT_EQ(CellText(list, 0, 1), "1");
    EXPECT_EQ(CellText(list, 0, 2), "1");
}

// The work summary of a main window that opened its listing and is idle, which shows it; nullptr
// (with the failure noted) when it did not.
HWND ShownSummary(test::FrameSession& session) {
    const bool shown = session.alive() && session.PumpUntilIdle() &&
                       IsWindowVisible(session.frame().work_summary_hwnd());
    EXPECT_TRUE(shown);
    return shown ? session.frame().work_summary_hwnd() : nullptr;
}

// Made smaller and then larger, the dialog shows what painting it anew shows: no half-erased
// labels, no copy of a scroll bar left where a control was.
TEST(WorkSummaryDialog, PaintsCleanlyAfterShrinkingAndGrowing) {
    test::FrameSession session({.listing = test::SmallListing()});
    const HWND summary = ShownSummary(session);
    ASSERT_NE(summary, nullptr);
    SetFocus(session.hwnd());  // no blinking caret in the edit
    RECT rect{};
    GetWindowRect(summary, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    for (const SIZE size : {SIZE{width - 260, height - 140}, SIZE{width + 120, height + 90}}) {
        SetWindowPos(summary, nullptr, 0, 0, size.cx, size.cy, kSizeOnly);
        ASSERT_TRUE(session.PumpUntilIdle());
    }
    EXPECT_TRUE(test::PaintedAsFresh(summary));
}

// An owned window belongs in front of its owner: a click on the main window, which activates and
// raises it, leaves the summary in front, on the screen too.
TEST(WorkSummaryDialog, StaysInFrontWhenTheMainWindowIsClicked) {
    test::FrameSession session({.listing = test::SmallListing()});
    const HWND summary = ShownSummary(session);
    ASSERT_NE(summary, nullptr);

    RECT frame{};
    RECT covered{};
    GetWindowRect(session.hwnd(), &frame);
    GetWindowRect(summary, &covered);
    const POINT outside{frame.left + 24, frame.bottom - 24};
    ASSERT_FALSE(PtInRect(&covered, outside));
    ASSERT_EQ(test::TopLevelWindowAt(outside), session.hwnd());
    test::ClickScreenAt(outside);
    ASSERT_TRUE(session.PumpUntilIdle());

    EXPECT_EQ(GetForegroundWindow(), session.hwnd()) << "the click activated the main window";
    const POINT centre{(covered.left + covered.right) / 2, (covered.top + covered.bottom) / 2};
    EXPECT_EQ(test::TopLevelWindowAt(centre), summary);
    EXPECT_TRUE(test::ScreenShowsWindow(summary));
}

}  // namespace
}  // namespace tov
