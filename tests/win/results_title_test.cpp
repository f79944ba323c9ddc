// The results pane's title is also its window text, which screen readers read; the search label's
// window text is its painted text.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/win/frame_test_support.h"
#include "ui/text_win.h"

namespace tov {
namespace {

using test::WindowText;

// The text put into the search field (as a paste would: the field does not scroll, so typing
// stops at its width), then Enter.
void Search(test::FrameSession& session, const std::string& text) {
    HWND combo = GetDlgItem(session.frame().main_toolbar(), IDC_SEARCH_COMBO);
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);  // the picked class is dropped
    SetWindowTextA(edit, text.c_str());
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ASSERT_TRUE(session.PumpUntilIdle());
}

// The pane container that holds the ResultsList.
HWND ResultsPane(test::FrameSession& session) {
    return GetParent(session.frame().results_list_hwnd());
}

TEST(ResultsTitle, IsTheWindowTextBeforeAndAfterASearch) {
    test::FrameSession session({.listing = test::SmallListing(), .language = "-l en"});
    ASSERT_TRUE(session.PumpUntilIdle());
    ASSERT_EQ(ResultsPane(session), session.frame().results_pane().hwnd());
    EXPECT_EQ(WindowText(ResultsPane(session)), LoadText(IDS_RESULTS_TITLE));
    EXPECT_EQ(WindowText(ResultsPane(session)), "Search results");

    Search(session, "abc");
    EXPECT_EQ(WindowText(ResultsPane(session)), "Search results - abc - 0 file(s)");
    EXPECT_STREQ(session.frame().results_pane().title(), "Search results - abc - 0 file(s)");

    Search(session, "carta");
    EXPECT_EQ(WindowText(ResultsPane(session)), "Search results - carta - 1 file(s)");
}

TEST(ResultsTitle, ALongTitleIsCutAt79BytesInBoth) {
    test::FrameSession session({.listing = test::SmallListing(), .language = "-l en"});
    ASSERT_TRUE(session.PumpUntilIdle());
    const std::string typed(70, 'q');
    Search(session, typed);
    const std::string cut = ("Search results - " + typed + " - 0 file(s)").substr(0, 79);
    EXPECT_EQ(WindowText(ResultsPane(session)), cut);
    EXPECT_STREQ(session.frame().results_pane().title(), cut.c_str());
}

TEST(ResultsTitle, TheSearchLabelsTextIsItsStringInEachLanguage) {
    for (const char* language : {"-l en", "-l de", "-l es"}) {
        test::FrameSession session({.listing = test::SmallListing(), .language = language});
        ASSERT_TRUE(session.PumpUntilIdle());
        const HWND toolbar = session.frame().main_toolbar();
        const std::string expected = LoadText(IDS_SEARCH_LABEL);
        ASSERT_FALSE(expected.empty());
        int found = 0;
        for (HWND child = GetWindow(toolbar, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            found += WindowText(child) == expected ? 1 : 0;
        }
        EXPECT_EQ(found, 1) << language;
    }
}

}  // namespace
}  // namespace tov
