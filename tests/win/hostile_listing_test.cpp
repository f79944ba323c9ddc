// Hostile listings in the real main window: each opens (or is refused with its message), and
// selecting folders, searching, sorting, going to a result and saving the results all finish in
// bounded time and memory without a crash.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "listing/file_handle_win.h"
#include "res/resource.h"
#include "search/file_type_class.h"
#include "search/results_file_win.h"
#include "search/search_request_win.h"
#include "tests/win/frame_test_support.h"
#include "tools/writer/hostile_listings.h"
#include "tools/writer/listing_writer.h"
#include "ui/file_list_control_win.h"

namespace tov {
namespace {

using test::FrameOptions;
using test::FrameSession;
using test::PlatformText;

constexpr DWORD kStepMs = 20000;                   // any one step
constexpr SIZE_T kPeakLimit = SIZE_T{1200} << 20;  // the 100 MB line is read once, plus rows

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

// Answers the next message box of the thread with OK after reading its text.
class MessageBoxReader {
  public:
    explicit MessageBoxReader(std::vector<HWND> keep)
        : hook_({.dialog = [this](HWND box) { return OnDialog(box); },
                 .idle = nullptr,
                 .menu = nullptr},
                std::move(keep)) {}
    std::string text() const { return text_; }
    std::string caption() const { return caption_; }

  private:
    bool OnDialog(HWND box) {
        if (done_ || GetDlgItem(box, IDOK) == nullptr) {
            return false;
        }
        text_ = test::MessageBoxText(box);
        caption_ = test::WindowText(box);
        done_ = true;
        test::PostClick(box, IDOK);
        return true;
    }

    bool done_ = false;
    std::string text_;
    std::string caption_;
    test::DialogHook hook_;
};

// Types a file name into the next save dialog of the thread and confirms it.
class SaveDialogAnswer {
  public:
    SaveDialogAnswer(std::string path, std::vector<HWND> keep)
        : script_({test::DialogScript::TypeFileName(std::move(path))}, std::move(keep)) {}
    bool answered() const { return script_.done() == 1; }

  private:
    test::DialogScript script_;
};

void Search(FrameSession& session, const char* pattern, bool is_class) {
    SearchRequest request{};
    request.header.hwndFrom = session.frame().main_toolbar();
    request.header.idFrom = ID_BARS;
    request.header.code = 0;
    request.text = pattern;
    request.pattern = pattern;
    request.is_class = is_class ? 1 : 0;
    SendMessageA(session.hwnd(), WM_NOTIFY, ID_BARS, reinterpret_cast<LPARAM>(&request));
    ASSERT_TRUE(session.PumpUntilIdle(kStepMs)) << pattern;
}

void SetFilters(FrameSession& session, bool good, bool bad) {
    MainFrame& frame = session.frame();
    if (frame.IsCommandChecked(ID_ONLY_GOOD) != good) {
        SendMessageA(session.hwnd(), WM_COMMAND, ID_ONLY_GOOD, 0);
    }
    if (frame.IsCommandChecked(ID_ONLY_BAD) != bad) {
        SendMessageA(session.hwnd(), WM_COMMAND, ID_ONLY_BAD, 0);
    }
    ASSERT_TRUE(session.PumpUntilIdle(kStepMs));
}

void ClickOnHeader(FrameSession& session, HWND list, int column) {
    ASSERT_TRUE(test::ClickHeader(session, list, column, kStepMs));
}

void ActivateRow(FrameSession& session, HWND list, int row) {
    ASSERT_TRUE(test::DoubleClickRow(session, list, row, kStepMs));
}

// The last item of the tree in the order it shows: the root, then down the last children,
// opening each on the way (at most `levels` levels).
HTREEITEM DeepItem(FrameSession& session, int levels) {
    const HWND tree = session.frame().folder_tree_hwnd();
    HTREEITEM item = TreeView_GetRoot(tree);
    for (int level = 0; item != nullptr && level < levels; ++level) {
        TreeView_Expand(tree, item, TVE_EXPAND);
        HTREEITEM child = TreeView_GetChild(tree, item);
        if (child == nullptr) {
            break;
        }
        for (HTREEITEM next = child; next != nullptr; next = TreeView_GetNextSibling(tree, next)) {
            child = next;
        }
        item = child;
    }
    return item;
}

// Everything a user can do with a loaded listing, each step bounded.
// Browses, searches, sorts, goes to the last result (unless `go_to_last` is false) and saves.
void BrowseSearchSortSave(FrameSession& session, bool search_everything, bool go_to_last = true) {
    MainFrame& frame = session.frame();
    const HWND tree = frame.folder_tree_hwnd();
    const HWND results = frame.results_list_hwnd();
    if (HTREEITEM root = TreeView_GetRoot(tree)) {
        TreeView_SelectItem(tree, root);
        ASSERT_TRUE(session.PumpUntilIdle(kStepMs));
        TreeView_SelectItem(tree, DeepItem(session, 50));
        ASSERT_TRUE(session.PumpUntilIdle(kStepMs));
    }
    if (search_everything) {
        SetFilters(session, false, false);
        Search(session, "*", false);
    }
    for (const auto& [good, bad] :
         {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        SetFilters(session, good, bad);
        // The class of images, and the class of every file where folders are not tested.
        Search(session, FileTypeClasses()[6].expression, true);
        if (search_everything || good || bad) {
            Search(session, FileTypeClasses()[0].expression, true);
        }
    }
    for (int column = 0; column < 4; ++column) {
        ClickOnHeader(session, results, column);
        ClickOnHeader(session, frame.file_list_hwnd(), column);
    }
    const int count = ListView_GetItemCount(results);
    if (count > 0) {
        if (go_to_last) {
            ActivateRow(session, results, count - 1);
        }
        const std::string saved = session.folder().path() + "\\results.csv";
        session.closer()->set_enabled(false);
        {
            SaveDialogAnswer answer(saved, {frame.work_summary_hwnd()});
            SendMessageA(session.hwnd(), WM_COMMAND, ID_SAVE_SEARCH, 0);
            // A long save goes on between messages.
            EXPECT_TRUE(test::PumpUntil(
                session, [&frame] { return !frame.saving_results(); }, kStepMs));
            EXPECT_TRUE(answer.answered());
        }
        session.closer()->set_enabled(true);
        EXPECT_NE(GetFileAttributesA(saved.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

writer::HostileScale WindowsScale() {
    writer::HostileScale scale;
    scale.marker_lines = 2000;  // every folder of "only-open" is a search result with its path
    return scale;
}

TEST(HostileListing, EachOpensAndEveryStepFinishes) {
    for (const std::string_view name : writer::HostileListingNames()) {
        if (name == "nested") {
            continue;  // its own test
        }
        SCOPED_TRACE(std::string(name));
        FrameOptions options;
        options.listing = writer::MakeHostileListing(name, WindowsScale());
        FrameSession session(options);
        ASSERT_TRUE(session.alive());
        ASSERT_TRUE(session.PumpUntilIdle(kStepMs));
        ASSERT_TRUE(session.alive());  // a correct digest: the listing is shown, never refused
        options.listing.clear();
        options.listing.shrink_to_fit();
        BrowseSearchSortSave(session, true);
        EXPECT_LT(PeakWorkingSet(), kPeakLimit);
    }
}

// Disabled until it finishes in bounded time: under Wine it has not yet completed within minutes.
TEST(HostileListing, AMillionNestedFoldersOpenAndTheDeepestAreReached) {
    const writer::HostileScale scale = WindowsScale();
    FrameOptions options;
    options.listing = writer::MakeHostileListing("nested", scale);
    FrameSession session(options);
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle(kStepMs));
    ASSERT_TRUE(session.alive());
    options.listing.clear();
    options.listing.shrink_to_fit();
    MainFrame& frame = session.frame();
    const HWND tree = frame.folder_tree_hwnd();
    EXPECT_NE(TreeView_GetRoot(tree), nullptr);
    EXPECT_GT(SendMessageA(frame.work_summary_hwnd(), WM_GETTEXTLENGTH, 0, 0), 0);

    // Searches that give a few rows, their sorts and saves, as for every other listing. They
    // come first: once 10,000 levels are open, each selection in Wine's tree view takes minutes.
    // Going to "bottom.txt" would open a million levels.
    BrowseSearchSortSave(session, false, false);
    const HWND results = frame.results_list_hwnd();
    SetFilters(session, true, false);
    Search(session, FileTypeClasses()[0].expression, true);
    EXPECT_EQ(ListView_GetItemCount(results), 2);  // "top.txt" and "bottom.txt"
    SetFilters(session, false, true);
    Search(session, FileTypeClasses()[0].expression, true);
    EXPECT_EQ(ListView_GetItemCount(results), 1);  // "deep.txt"

    // Going to a result 10,000 levels down opens the tree all the way.
    SetFilters(session, false, false);
    Search(session, "deep.txt", false);
    ASSERT_EQ(ListView_GetItemCount(results), 1);
    ActivateRow(session, results, 0);
    char text[64] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ASSERT_TRUE(TreeView_GetItem(tree, &item));
    EXPECT_EQ(std::string(text), std::to_string(scale.deep_level));

    // Every folder a result: the rows show the beginning of their paths, and every column sorts.
    Search(session, "*", false);
    ASSERT_EQ(ListView_GetItemCount(results), static_cast<int>(scale.nested_depth + 4));
    for (int column = 0; column < 4; ++column) {
        ClickOnHeader(session, results, column);
    }
    ClickOnHeader(session, results, 1);
    ClickOnHeader(session, results, 1);
    char shown[MAX_PATH] = {};
    ListView_GetItemText(results, scale.nested_depth / 2, 1, shown, sizeof(shown));
    EXPECT_EQ(std::string(shown),
              writer::NestedFolderPath(scale.nested_depth).substr(0, std::strlen(shown)));
    EXPECT_GT(std::strlen(shown), 200u);

    // Saving them would write every path whole, terabytes: refused before anything is written.
    test::TempFolder folder;
    const std::string everything = folder.path() + "\\everything.csv";
    const FileListControl& list = *static_cast<FileListControl*>(Window::FromHandle(results));
    std::vector<std::uint32_t> order(list.RowCount());
    for (std::size_t position = 0; position < order.size(); ++position) {
        order[position] =
            static_cast<std::uint32_t>(&list.RowAt(position) - list.rows().rows.data());
    }
    EXPECT_FALSE(SaveResultsFile(WideFromAnsi(everything), list.rows(), order));
    EXPECT_EQ(GetFileAttributesA(everything.c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_LT(PeakWorkingSet(), kPeakLimit);
}

// A listing refused by the loader: the message box shows `text`, the window closes.
void ExpectRefused(const std::string& path, const std::string& text) {
    FrameSession session({.listing = test::SmallListing()});
    ASSERT_TRUE(session.PumpUntilIdle(kStepMs));
    ASSERT_TRUE(session.alive());
    session.closer()->set_enabled(false);
    {
        MessageBoxReader reader({session.frame().work_summary_hwnd()});
        session.frame().LoadListing(WideFromAnsi(path));
        EXPECT_EQ(reader.text(), text);
        EXPECT_EQ(reader.caption(), "Tov - error");
    }
    session.closer()->set_enabled(true);
    EXPECT_EQ(session.frame().document().size(), 1u);
    session.PumpUntilIdle(kStepMs);
    EXPECT_FALSE(session.alive() && IsWindow(session.hwnd()));
}

TEST(HostileListing, FilesRefusedByTheirLengthOrKind) {
    test::TempFolder folder;
    ExpectRefused(folder.WriteFile("empty.tov", ""), "Invalid data file");
    ExpectRefused(folder.WriteFile("short.tov", writer::ListingOfLength(37)), "Invalid data file");
    // A folder named like a listing cannot be opened as a file.
    const std::string directory = folder.path() + "\\folder.tov";
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    ExpectRefused(directory, PlatformText(ERROR_ACCESS_DENIED));
    // A listing that is gone when it is opened (the removal between the count and the open
    // needs a seam in the start-up; the loader's part is the same).
    ExpectRefused(folder.path() + "\\gone.tov", PlatformText(ERROR_FILE_NOT_FOUND));
}

TEST(HostileListing, TheShortestListingOpensEmpty) {
    FrameSession session({.listing = writer::ListingOfLength(38)});
    ASSERT_TRUE(session.PumpUntilIdle(kStepMs));
    ASSERT_TRUE(session.alive());
    EXPECT_EQ(TreeView_GetRoot(session.frame().folder_tree_hwnd()), nullptr);
    BrowseSearchSortSave(session, true);
}

TEST(HostileListing, AFileOfFourGibibytesLessOneIsRefusedAsTooLarge) {
    test::TempFolder folder;
    const std::string path = folder.path() + "\\huge.tov";
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        // Sparse, so that no disk space is taken: Wine extends the file with ftruncate. (Its
        // GetCompressedFileSize reports the whole length, so the space is not checked here.)
        DWORD returned = 0;
        DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER size{};
        size.QuadPart = static_cast<LONGLONG>(writer::kTooLargeListingBytes);
        const bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        ASSERT_TRUE(sized);
    }
    ExpectRefused(path, PlatformText(ERROR_NOT_SUPPORTED));  // code 50
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace tov
