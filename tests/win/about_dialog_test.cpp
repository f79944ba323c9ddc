// The about box on its own, over a plain owner window: what it shows when it opens and how
// each way of closing it ends it.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "ui/about_dialog_win.h"
#include "ui/text_win.h"

namespace tov {
namespace {

enum class Ending { kEnter, kOkButton, kEscape, kCloseBox };

// What a thread timer sees of the box while its modal loop runs, and how it then ends it.
struct Probe {
    Ending ending = Ending::kEnter;
    int ticks_after = 0;
    bool seen = false;
    std::string caption;
    std::string text;
    int first_visible_line = -1;
    DWORD selection = 1;
    int line_count = 0;
    bool focus_on_ok = false;
    bool wraps = true;
    POINT centre{};
    HWND owner_seen = nullptr;
};

Probe* g_probe = nullptr;

void CALLBACK ProbeTimer(HWND, UINT, UINT_PTR, DWORD) {
    Probe& probe = *g_probe;
    const HWND box = test::FindModalDialog(GetCurrentThreadId());
    if (box == nullptr) {
        return;
    }
    if (probe.seen) {
        // Never hang: a box that the ending did not close fails the test instead.
        if (++probe.ticks_after > 100) {
            EndDialog(box, 99);
        }
        return;
    }
    probe.seen = true;
    char caption[128] = {};
    GetWindowTextA(box, caption, sizeof(caption));
    probe.caption = caption;
    const HWND edit = GetDlgItem(box, IDC_TEXT);
    const int length = GetWindowTextLengthA(edit);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    probe.text = text;
    probe.first_visible_line = static_cast<int>(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    probe.selection = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
    probe.line_count = static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
    probe.wraps = (GetWindowLongA(edit, GWL_STYLE) & ES_AUTOHSCROLL) == 0;
    probe.focus_on_ok = GetFocus() == GetDlgItem(box, IDOK);
    probe.owner_seen = GetWindow(box, GW_OWNER);
    RECT rect{};
    GetWindowRect(box, &rect);
    probe.centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

    switch (probe.ending) {
        case Ending::kEnter:
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
            break;
        case Ending::kOkButton:
            PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            break;
        case Ending::kEscape:
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
            break;
        case Ending::kCloseBox:
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
    }
}

struct WindowDeleter {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

Window MakeOwner() {
    return Window(CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 60, 800,
                                600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
}

// Runs the box over `owner` and ends it the given way; the probe tells what was seen.
INT_PTR RunProbed(HWND owner, Probe& probe) {
    g_probe = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, ProbeTimer);
    AboutDialog about;
    const INT_PTR result = about.Run(owner);
    KillTimer(nullptr, timer);
    g_probe = nullptr;
    return result;
}

std::size_t LineBreaks(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

TEST(AboutDialog, OpensCentredWithTheHelpTextFromItsFirstLineAndTheFocusOnOk) {
    const Window owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    Probe probe;
    EXPECT_EQ(RunProbed(owner.get(), probe), 1);
    ASSERT_TRUE(probe.seen);
    EXPECT_EQ(probe.owner_seen, owner.get());
    const std::string help = LoadText(IDS_HELP_TEXT);
    ASSERT_FALSE(help.empty());
    EXPECT_EQ(probe.text, help);
    EXPECT_EQ(probe.first_visible_line, 0);
    EXPECT_EQ(LOWORD(probe.selection), HIWORD(probe.selection)) << "nothing selected";
    EXPECT_TRUE(probe.focus_on_ok);
    // No wrapping: the text's own line breaks make its lines (the last one is empty).
    EXPECT_FALSE(probe.wraps);
    EXPECT_EQ(static_cast<std::size_t>(probe.line_count), LineBreaks(help) + 1);
    RECT rect{};
    GetWindowRect(owner.get(), &rect);
    EXPECT_NEAR(probe.centre.x, (rect.left + rect.right) / 2, 1);
    EXPECT_NEAR(probe.centre.y, (rect.top + rect.bottom) / 2, 1);
}

TEST(AboutDialog, OkAndEnterEndItWithOneEscapeAndTheCloseBoxWithTwo) {
    const Window owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    const struct {
        Ending ending;
        INT_PTR expected;
    } cases[] = {
        {Ending::kEnter, 1}, {Ending::kOkButton, 1}, {Ending::kEscape, 2}, {Ending::kCloseBox, 2}};
    for (const auto& each : cases) {
        Probe probe;
        probe.ending = each.ending;
        EXPECT_EQ(RunProbed(owner.get(), probe), each.expected) << static_cast<int>(each.ending);
        EXPECT_TRUE(probe.seen);
        EXPECT_TRUE(IsWindowEnabled(owner.get())) << "the owner takes input again";
    }
}

TEST(AboutDialog, ShowsTheTextsOfTheThreadsLanguage) {
    const Window owner = MakeOwner();
    ASSERT_NE(owner, nullptr);
    const LCID locale = GetThreadLocale();
    const LANGID ui_language = GetThreadUILanguage();
    SetThreadLocale(0x0007);
    SetThreadUILanguage(0x0007);
    Probe probe;
    probe.ending = Ending::kEscape;
    const INT_PTR result = RunProbed(owner.get(), probe);
    const std::string help = LoadText(IDS_HELP_TEXT);
    SetThreadLocale(locale);
    SetThreadUILanguage(ui_language);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(probe.caption,
              "\xDC"
              "ber Tov");
    EXPECT_EQ(probe.text, help);
    EXPECT_EQ(static_cast<std::size_t>(probe.line_count), LineBreaks(help) + 1);
}

}  // namespace
}  // namespace tov
