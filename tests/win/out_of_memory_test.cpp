// Running out of memory in the real main window: with the Nth allocation of the user-interface
// thread failing, at start-up the listing is refused with the system's text for
// ERROR_NOT_ENOUGH_MEMORY and the window closes; in a search the search is abandoned with the
// same text and the window goes on working. Never a window that looks whole and is not.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/allocation_failure.h"
#include "tests/win/frame_test_support.h"
#include "ui/main_frame_win.h"

namespace tov {
namespace {

using test::FailingAllocation;
using test::FrameOptions;
using test::FrameSession;

constexpr UINT kOpenListingMessage = WM_APP + 1;

// Arms the seam with `nth` when the thread takes the main window's WM_OPEN_LISTING from its
// queue, so that the count starts where the loading starts.
struct StartArming {
    FailingAllocation* seam = nullptr;
    std::uint64_t nth = 0;
};
StartArming start_arming;

LRESULT CALLBACK ArmOnOpenListing(int code, WPARAM wparam, LPARAM lparam) {
    const auto* message = reinterpret_cast<const MSG*>(lparam);
    if (code == HC_ACTION && wparam == PM_REMOVE && message->message == kOpenListingMessage &&
        start_arming.seam != nullptr) {
        start_arming.seam->Arm(start_arming.nth);
        start_arming.seam = nullptr;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// The small listing as a complete window shows it.
bool ShowsTheWholeListing(MainFrame& frame) {
    char summary[256] = {};
    GetDlgItemTextA(frame.work_summary_hwnd(), IDC_TEXT, summary, sizeof(summary));
    return TreeView_GetCount(frame.folder_tree_hwnd()) >= 1 &&
           ListView_GetItemCount(frame.file_list_hwnd()) == 2 &&
           std::string(summary) == "Manufacturer:\tAcme" &&
           ListView_GetItemCount(GetDlgItem(frame.work_summary_hwnd(), IDC_CHECK_LIST)) == 1;
}

struct StartOutcome {
    bool failed = false;      // the chosen allocation was reached
    bool alive = false;       // the window is still there
    bool whole = false;       // and shows the whole listing
    std::uint64_t count = 0;  // allocations from WM_OPEN_LISTING until idle
    std::vector<std::string> captions;
    std::vector<std::string> texts;
};

StartOutcome StartWithFailing(std::uint64_t nth) {
    StartOutcome outcome;
    FailingAllocation seam(0);
    start_arming = {&seam, nth};
    const HHOOK hook =
        SetWindowsHookExA(WH_GETMESSAGE, ArmOnOpenListing, nullptr, GetCurrentThreadId());
    {
        FrameSession session({.listing = test::SmallListing()});
        const bool idle = session.PumpUntilIdle();
        outcome.failed = seam.failed();
        outcome.count = seam.count();
        seam.Arm(0);  // nothing more fails while the outcome is read
        outcome.alive = idle && session.alive();
        outcome.whole = outcome.alive && ShowsTheWholeListing(session.frame());
        outcome.captions = session.closer()->closed();
        outcome.texts = session.closer()->closed_texts();
    }
    UnhookWindowsHookEx(hook);
    start_arming = {};
    return outcome;
}

bool Reported(const std::vector<std::string>& captions, const std::vector<std::string>& texts,
              const std::string& text) {
    for (std::size_t i = 0; i < captions.size() && i < texts.size(); ++i) {
        if (captions[i] == "Tov - error" && texts[i] == text) {
            return true;
        }
    }
    return false;
}

TEST(OutOfMemory, AtStartTheListingIsRefusedWithTheSystemTextOrShownWhole) {
    const StartOutcome spare = StartWithFailing(0);
    ASSERT_TRUE(spare.whole);
    ASSERT_GT(spare.count, 0u);
    const std::string no_memory = test::PlatformText(ERROR_NOT_ENOUGH_MEMORY);
    const std::string no_buffer = test::PlatformText(ERROR_OUTOFMEMORY);  // the file's buffer
    // Every allocation up to the listing's tree, then every few up to the about box.
    const std::uint64_t step = spare.count > 120 ? spare.count / 60 : 1;
    int refused = 0;
    for (std::uint64_t nth = 1; nth <= spare.count + 1; nth += nth < 60 ? 1 : step) {
        SCOPED_TRACE("allocation " + std::to_string(nth) + " of " + std::to_string(spare.count));
        const StartOutcome outcome = StartWithFailing(nth);
        if (!outcome.failed) {
            EXPECT_TRUE(outcome.whole);
            break;
        }
        // Refused with the message and closed, or shown whole: after a failure that came once
        // the listing was shown, or one the program could do without.
        if (outcome.alive) {
            EXPECT_TRUE(outcome.whole);
        } else {
            EXPECT_TRUE(Reported(outcome.captions, outcome.texts, no_memory) ||
                        Reported(outcome.captions, outcome.texts, no_buffer));
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}

HWND SearchEdit(MainFrame& frame) {
    return FindWindowExA(GetDlgItem(frame.main_toolbar(), IDC_SEARCH_COMBO), nullptr, "Edit",
                         nullptr);
}

// Types the pattern and presses Enter, with the Nth allocation of the search failing; returns
// whether it was reached.
bool SearchWithFailing(FrameSession& session, const std::string& pattern, std::uint64_t nth,
                       std::uint64_t* count = nullptr) {
    // Typed as a person types: the whole text replaced, a character at a time.
    const HWND edit = SearchEdit(session.frame());
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char c : pattern) {
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    EXPECT_TRUE(session.PumpUntilIdle());
    FailingAllocation seam(nth);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    const bool idle = session.PumpUntilIdle();
    const bool failed = seam.failed();
    if (count != nullptr) {
        *count = seam.count();
    }
    seam.Arm(0);
    EXPECT_TRUE(idle);
    return failed;
}

TEST(OutOfMemory, ASearchIsAbandonedWithTheSystemTextAndTheWindowGoesOn) {
    FrameSession session({.listing = test::SmallListing()});
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND results = frame.results_list_hwnd();
    std::uint64_t count = 0;
    ASSERT_FALSE(SearchWithFailing(session, "*", 0, &count));
    const int all = ListView_GetItemCount(results);
    ASSERT_EQ(all, 4);  // two folders and two files
    const std::string no_memory = test::PlatformText(ERROR_NOT_ENOUGH_MEMORY);

    int abandoned = 0;
    for (std::uint64_t nth = 1; nth <= count + 1; ++nth) {
        SCOPED_TRACE("allocation " + std::to_string(nth) + " of " + std::to_string(count));
        // One row before, so that a search left half done or not at all shows.
        ASSERT_FALSE(SearchWithFailing(session, "Carta*", 0));
        ASSERT_EQ(ListView_GetItemCount(results), 1);
        const std::size_t reports = session.closer()->closed().size();
        const bool failed = SearchWithFailing(session, "*", nth);
        ASSERT_TRUE(session.alive());
        const std::vector<std::string> captions = session.closer()->closed();
        const std::vector<std::string> texts = session.closer()->closed_texts();
        if (!failed) {
            EXPECT_EQ(ListView_GetItemCount(results), all);
            break;
        }
        // The failure is told once and the list holds no half of a search; or the search did
        // without that memory and is whole.
        const int shown = ListView_GetItemCount(results);
        if (captions.size() == reports) {
            EXPECT_EQ(shown, all);
        } else {
            ASSERT_EQ(captions.size(), reports + 1);
            EXPECT_EQ(captions.back(), "Tov - error");
            EXPECT_EQ(texts.back(), no_memory);
            EXPECT_TRUE(shown == 0 || shown == all) << shown;
            ++abandoned;
        }
    }
    EXPECT_GT(abandoned, 0);
}

}  // namespace
}  // namespace tov
