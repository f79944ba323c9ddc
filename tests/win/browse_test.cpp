// Browsing the listing in the real main window: the folder tree, the file list and the ways of
// moving through them, driven by the messages the controls and the user send.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/path_levels_support.h"
#include "tests/win/frame_test_support.h"
#include "tools/writer/listing_writer.h"
#include "ui/file_list_control_win.h"
#include "ui/folder_tree_win.h"

namespace tov {
namespace {

using test::FrameOptions;
using test::FrameSession;

const char kBrowseListing[] = R"(> C:
  a.txt|700|01/01/09 10:00:00|bien
  Zeta.doc|3 GB|31/12/99 23:59:59|mal
  beta.xls|900 KB|01/01/69 00:00:00|
  > C:\Docs
    Carta.doc|25 KB|12/03/09 10:15:00|bien
    Oferta.xls|1,5 MB|01/02/08 08:00:00|mal
    > C:\Docs\Old
      old.txt|1|01/01/01 00:00:00|
      old.txt|2|01/01/01 00:00:00|bien
  > C:\Same
    first.txt|1|01/01/01 00:00:00|
  > C:\Same
    second.txt|1|01/01/01 00:00:00|
  > C:\Empty
  late.txt|5|01/01/01 00:00:00|bien
[header]
Nº de trabajo|1
[statistics]
Archivos analizados|{good}|{bad}
)";

FrameOptions BrowseOptions() {
    FrameOptions options;
    options.listing = writer::ListingFromDescription(kBrowseListing);
    return options;
}

std::string ItemText(HWND tree, HTREEITEM item) {
    char text[260] = {};
    TVITEMA data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof(text);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

std::string SelectedFolder(MainFrame& frame) {
    HTREEITEM selected = TreeView_GetSelection(frame.folder_tree_hwnd());
    return selected == nullptr ? "(none)" : ItemText(frame.folder_tree_hwnd(), selected);
}

std::string CellText(HWND list, int row, int column) {
    return test::ListCellText(list, row, column);
}

std::vector<std::string> Column(HWND list, int column) {
    std::vector<std::string> texts;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        texts.push_back(CellText(list, row, column));
    }
    return texts;
}

using Texts = std::vector<std::string>;

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name, int skip = 0) {
    for (HTREEITEM child = TreeView_GetChild(tree, parent); child != nullptr;
         child = TreeView_GetNextSibling(tree, child)) {
        if (ItemText(tree, child) == name && skip-- == 0) {
            return child;
        }
    }
    return nullptr;
}

void SelectInTree(FrameSession& session, HTREEITEM item) {
    TreeView_SelectItem(session.frame().folder_tree_hwnd(), item);
    ASSERT_TRUE(session.PumpUntilIdle());
}

void DoubleClick(FrameSession& session, HWND list, int row) {
    ASSERT_TRUE(test::DoubleClickRow(session, list, row));
}

void ClickOnHeader(FrameSession& session, HWND list, int column) {
    ASSERT_TRUE(test::ClickHeader(session, list, column));
}

FileListControl& ListObject(HWND list) {
    return *static_cast<FileListControl*>(Window::FromHandle(list));
}

// A result row as the search makes it: the path of the folder, the own name and the status.
struct ResultRow {
    std::string path;
    std::string name;
    std::string status = {};
};

// Shows the rows in the ResultsList and the pane, as a search does.
void ShowResults(FrameSession& session, const std::vector<ResultRow>& results) {
    static test::RowsBuilder built;  // the rows view its texts
    built = test::RowsBuilder{};
    for (const ResultRow& result : results) {
        built.File(result.name, "", "", result.status, built.Path(result.path));
    }
    ListObject(session.frame().results_list_hwnd()).SetRows(built.set);
    if (!IsWindowVisible(session.frame().results_pane().hwnd())) {
        PostMessageA(session.hwnd(), WM_COMMAND, ID_SHOW_RESULTS, 0);
    }
    ASSERT_TRUE(session.PumpUntilIdle());
}

int SelectedRow(HWND list) {
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

TEST(Browse, AfterLoadingTheRootIsSelectedAndExpandedAndUpIsDisabled) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.alive());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND tree = frame.folder_tree_hwnd();
    HTREEITEM root = TreeView_GetRoot(tree);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_EQ(ItemText(tree, root), "C:");
    EXPECT_TRUE(TreeView_GetItemState(tree, root, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(TreeView_GetNextSibling(tree, root), nullptr);
    // The children in listing order, each with its own name only.
    Texts children;
    for (HTREEITEM child = TreeView_GetChild(tree, root); child != nullptr;
         child = TreeView_GetNextSibling(tree, child)) {
        children.push_back(ItemText(tree, child));
    }
    EXPECT_EQ(children, (Texts{"Docs", "Same", "Same", "Empty"}));
    EXPECT_FALSE(frame.command_states().IsEnabled(ID_FOLDER_UP));
    EXPECT_FALSE(SendMessageA(frame.main_toolbar(), TB_ISBUTTONENABLED, ID_FOLDER_UP, 0));

    // Subfolders first, then the first run of files only (not "late.txt"), by name.
    const HWND list = frame.file_list_hwnd();
    EXPECT_EQ(Column(list, 1),
              (Texts{"Docs", "Empty", "Same", "Same", "a.txt", "beta.xls", "Zeta.doc"}));
    EXPECT_EQ(Column(list, 0), (Texts{"", "", "", "", "bien", "", "mal"}));
    EXPECT_EQ(Column(list, 2), (Texts{"", "", "", "", "700", "900 KB", "3 GB"}));
}

TEST(Browse, ASubfolderEnablesUpAndUpGoesBackToTheParent) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND tree = frame.folder_tree_hwnd();
    HTREEITEM root = TreeView_GetRoot(tree);
    SelectInTree(session, ChildNamed(tree, root, "Docs"));
    EXPECT_TRUE(frame.command_states().IsEnabled(ID_FOLDER_UP));
    EXPECT_EQ(Column(frame.file_list_hwnd(), 1), (Texts{"Old", "Carta.doc", "Oferta.xls"}));

    SendMessageA(session.hwnd(), WM_COMMAND, ID_FOLDER_UP, 0);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_TRUE(TreeView_GetItemState(tree, root, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_FALSE(frame.command_states().IsEnabled(ID_FOLDER_UP));
    EXPECT_EQ(ListView_GetItemCount(frame.file_list_hwnd()), 7);
    // Up at the top does nothing.
    SendMessageA(session.hwnd(), WM_COMMAND, ID_FOLDER_UP, 0);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(TreeView_GetSelection(tree), root);
}

TEST(Browse, DoubleClickOpensSubfoldersOnlyAndTheExtraButtonGoesUp) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND list = frame.file_list_hwnd();

    DoubleClick(session, list, 4);  // a.txt: a file row
    EXPECT_EQ(SelectedFolder(frame), "C:");
    DoubleClick(session, list, -1);  // empty space: nothing selected
    EXPECT_EQ(SelectedFolder(frame), "C:");

    DoubleClick(session, list, 0);  // Docs
    EXPECT_EQ(SelectedFolder(frame), "Docs");
    EXPECT_EQ(Column(list, 1), (Texts{"Old", "Carta.doc", "Oferta.xls"}));
    DoubleClick(session, list, 0);  // Old, inserted into the tree on the way
    EXPECT_EQ(SelectedFolder(frame), "Old");
    EXPECT_EQ(Column(list, 2), (Texts{"1", "2"}));

    // An extra mouse button over the ResultsList does nothing, over the FileList it goes up.
    SendMessageA(frame.results_list_hwnd(), WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1),
                 MAKELPARAM(10, 30));
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(SelectedFolder(frame), "Old");
    EXPECT_EQ(SendMessageA(list, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2), MAKELPARAM(10, 30)), 0);
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(SelectedFolder(frame), "Docs");
    SendMessageA(list, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(10, 30));
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(SelectedFolder(frame), "C:");
    EXPECT_FALSE(frame.command_states().IsEnabled(ID_FOLDER_UP));
}

TEST(Browse, NavigateToResultWalksTheTreeByNames) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND results = frame.results_list_hwnd();
    const HWND list = frame.file_list_hwnd();
    ShowResults(session, {{"C:\\Docs\\Old\\", "old.txt"},
                          {"C:\\Same\\", "second.txt"},
                          {"", "Carta.doc"},
                          {"C:\\Nowhere\\", "a.txt"},
                          {"c:\\Docs\\", "Carta.doc"}});
    ASSERT_EQ(ListView_GetItemCount(results), 5);
    // Sorted by path: "C:\Docs\Old\old.txt", "c:\Docs\Carta.doc" ... read them back.
    auto row_of = [&](const std::string& path) {
        const Texts paths = Column(results, 1);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (paths[i] == path) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };

    // Into a subfolder two levels down: the folder selected, the first of the two equal
    // names selected and focused.
    DoubleClick(session, results, row_of("C:\\Docs\\Old\\old.txt"));
    EXPECT_EQ(SelectedFolder(frame), "Old");
    EXPECT_EQ(SelectedRow(list), 0);
    EXPECT_TRUE(ListView_GetItemState(list, 0, LVIS_FOCUSED) & LVIS_FOCUSED);
    EXPECT_EQ(CellText(list, 0, 2), "1");

    // Two sibling folders of the same name: always the first, where the file is not.
    DoubleClick(session, results, row_of("C:\\Same\\second.txt"));
    HTREEITEM first_same =
        ChildNamed(frame.folder_tree_hwnd(), TreeView_GetRoot(frame.folder_tree_hwnd()), "Same");
    EXPECT_EQ(TreeView_GetSelection(frame.folder_tree_hwnd()), first_same);
    EXPECT_EQ(Column(list, 1), (Texts{"first.txt"}));
    EXPECT_EQ(SelectedRow(list), -1);

    // Names are matched byte for byte: "c:" is not "C:", so nothing changes.
    DoubleClick(session, results, row_of("c:\\Docs\\Carta.doc"));
    EXPECT_EQ(TreeView_GetSelection(frame.folder_tree_hwnd()), first_same);
    DoubleClick(session, results, row_of("C:\\Nowhere\\a.txt"));
    EXPECT_EQ(TreeView_GetSelection(frame.folder_tree_hwnd()), first_same);

    // A path without "\": the tree stays, a row of that name in the current list is selected.
    DoubleClick(session, list, -1);
    SelectInTree(session, ChildNamed(frame.folder_tree_hwnd(),
                                     TreeView_GetRoot(frame.folder_tree_hwnd()), "Docs"));
    DoubleClick(session, results, row_of("Carta.doc"));
    EXPECT_EQ(SelectedFolder(frame), "Docs");
    EXPECT_EQ(SelectedRow(list), 1);
    EXPECT_EQ(CellText(list, 1, 1), "Carta.doc");
    // The focus was not taken from the results.
    EXPECT_EQ(SelectedRow(results), row_of("Carta.doc"));
}

// After a double click on a result the focus stays in the results, and the file's row in the
// FileList shows as selected on the screen: neither shade of the rows, nor the grey the control
// gives an unfocused selection, which is hardly darker.
TEST(Browse, TheJumpsSelectionShowsWhileTheResultsKeepTheFocus) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND results = frame.results_list_hwnd();
    const HWND list = frame.file_list_hwnd();
    ShowResults(session, {{"C:\\Docs\\", "Carta.doc"}});

    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(results, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)));
    test::PostDoubleClick(results, POINT{(row.left + row.right) / 2, (row.top + row.bottom) / 2});
    ASSERT_TRUE(session.PumpUntilIdle());
    ASSERT_EQ(SelectedFolder(frame), "Docs");
    const int selected = SelectedRow(list);
    ASSERT_GE(selected, 0);
    ASSERT_EQ(CellText(list, selected, 1), "Carta.doc");
    EXPECT_EQ(GetFocus(), results);

    UpdateWindow(list);
    RECT name{};
    name.top = 1;  // the Name column, far right where no name reaches
    name.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETSUBITEMRECT, selected, reinterpret_cast<LPARAM>(&name));
    POINT point{name.right - 8, (name.top + name.bottom) / 2};
    ClientToScreen(list, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF shown = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    EXPECT_NE(shown, RGB(248, 248, 248));
    EXPECT_NE(shown, RGB(255, 255, 255));
    EXPECT_GT(GetBValue(shown) - GetRValue(shown), 40) << std::hex << shown;
}

// ---- keys and clicks, posted as a person gives them ----

bool IsExpanded(HWND tree, HTREEITEM item) {
    return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

Texts ChildTexts(HWND tree, HTREEITEM parent) {
    Texts texts;
    for (HTREEITEM child = TreeView_GetChild(tree, parent); child != nullptr;
         child = TreeView_GetNextSibling(tree, child)) {
        texts.push_back(ItemText(tree, child));
    }
    return texts;
}

// Where a person points at an item: its label, or its +/- button (found by hit-testing the row
// left of the label).
POINT TreeLabel(HWND tree, HTREEITEM item) {
    RECT text{};
    TreeView_GetItemRect(tree, item, &text, TRUE);
    return {text.left + 3, (text.top + text.bottom) / 2};
}

POINT TreeButton(HWND tree, HTREEITEM item) {
    const POINT label = TreeLabel(tree, item);
    for (int x = 0; x < label.x; ++x) {
        TVHITTESTINFO hit{};
        hit.pt = {x, label.y};
        if (TreeView_HitTest(tree, &hit) == item && (hit.flags & TVHT_ONITEMBUTTON)) {
            return hit.pt;
        }
    }
    ADD_FAILURE() << "no button beside " << ItemText(tree, item);
    return label;
}

void PressKey(FrameSession& session, HWND window, UINT key) {
    test::PostKey(window, key);
    ASSERT_TRUE(session.PumpUntilIdle());
}

void ClickAt(FrameSession& session, HWND window, POINT point) {
    test::PostClick(window, point);
    ASSERT_TRUE(session.PumpUntilIdle());
}

TEST(BrowseInput, TreeKeysAndClicksMoveExpandAndCollapseFillingFoldersOnTheWay) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND tree = frame.folder_tree_hwnd();
    const HWND list = frame.file_list_hwnd();
    HTREEITEM root = TreeView_GetRoot(tree);
    HTREEITEM docs = ChildNamed(tree, root, "Docs");
    SetFocus(tree);

    PressKey(session, tree, VK_DOWN);
    EXPECT_EQ(TreeView_GetSelection(tree), docs);
    EXPECT_EQ(Column(list, 1), (Texts{"Old", "Carta.doc", "Oferta.xls"}));
    EXPECT_TRUE(frame.command_states().IsEnabled(ID_FOLDER_UP));
    EXPECT_EQ(TreeView_GetChild(tree, docs), nullptr);  // not yet shown, so not yet filled
    PressKey(session, tree, VK_ADD);
    EXPECT_TRUE(IsExpanded(tree, docs));
    EXPECT_EQ(ChildTexts(tree, docs), (Texts{"Old"}));
    PressKey(session, tree, VK_SUBTRACT);
    EXPECT_FALSE(IsExpanded(tree, docs));
    PressKey(session, tree, VK_RETURN);  // the tree has nothing to do on Enter
    EXPECT_EQ(TreeView_GetSelection(tree), docs);
    EXPECT_EQ(ListView_GetItemCount(list), 3);
    PressKey(session, tree, VK_UP);
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    EXPECT_FALSE(frame.command_states().IsEnabled(ID_FOLDER_UP));

    // The +/- button opens and closes a folder without selecting it; a click on a label selects
    // the folder and, the tree expanding one branch at a time, expands it.
    HTREEITEM old = TreeView_GetChild(tree, docs);
    ClickAt(session, tree, TreeButton(tree, docs));
    EXPECT_TRUE(IsExpanded(tree, docs));
    EXPECT_EQ(TreeView_GetSelection(tree), root);
    ClickAt(session, tree, TreeButton(tree, docs));
    EXPECT_FALSE(IsExpanded(tree, docs));
    ClickAt(session, tree, TreeLabel(tree, ChildNamed(tree, root, "Same", 1)));
    EXPECT_EQ(Column(list, 1), (Texts{"second.txt"}));
    ClickAt(session, tree, TreeLabel(tree, docs));
    EXPECT_EQ(TreeView_GetSelection(tree), docs);
    EXPECT_TRUE(IsExpanded(tree, docs));
    ClickAt(session, tree, TreeLabel(tree, old));
    EXPECT_EQ(SelectedFolder(frame), "Old");
    EXPECT_EQ(Column(list, 2), (Texts{"1", "2"}));
}

// A root with `groups` folders of `per_group` - 1 subfolders each: groups * per_group folders
// below the root.
std::string ListingWithFolders(int groups, int per_group) {
    writer::ListingBuilder builder;
    builder.OpenFolder("C:");
    for (int group = 0; group < groups; ++group) {
        const std::string path = "C:\\Group " + std::to_string(group);
        builder.OpenFolder(path);
        for (int i = 1; i < per_group; ++i) {
            builder.OpenFolder(path + "\\Folder " + std::to_string(i)).CloseFolder();
        }
        builder.CloseFolder();
    }
    builder.CloseFolder();
    return builder.Finish();
}

// "*" on the numeric keypad expands everything below the selected folder. The work is done
// between messages, not inside the key's own; Escape ends it with the selected folder expanded.
TEST(BrowseInput, StarExpandsEverythingBelowBetweenMessagesAndEscapeStopsIt) {
    const HCURSOR wait = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    {
        FrameSession session(BrowseOptions());
        ASSERT_TRUE(session.PumpUntilIdle());
        MainFrame& frame = session.frame();
        const HWND tree = frame.folder_tree_hwnd();
        const auto& tree_object = *static_cast<const FolderTree*>(Window::FromHandle(tree));
        HTREEITEM root = TreeView_GetRoot(tree);
        HTREEITEM docs = ChildNamed(tree, root, "Docs");
        SetFocus(tree);

        test::PostKey(tree, VK_MULTIPLY);
        test::PostKey(tree, VK_ESCAPE);
        ASSERT_TRUE(session.PumpUntilIdle());
        EXPECT_FALSE(tree_object.expanding_all());
        EXPECT_TRUE(IsExpanded(tree, root));
        EXPECT_FALSE(IsExpanded(tree, docs));
        EXPECT_NE(GetCursor(), wait);

        test::PostKey(tree, VK_MULTIPLY);
        MSG key{};
        ASSERT_TRUE(PeekMessageA(&key, tree, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
        session.loop().HandleMessage(&key);
        EXPECT_TRUE(tree_object.expanding_all());
        EXPECT_EQ(GetCursor(), wait);
        EXPECT_FALSE(IsExpanded(tree, docs));
        ASSERT_TRUE(test::PumpUntil(session, [&] { return !tree_object.expanding_all(); }));
        EXPECT_TRUE(IsExpanded(tree, root));
        EXPECT_TRUE(IsExpanded(tree, docs));
        EXPECT_EQ(ChildTexts(tree, docs), (Texts{"Old"}));
        EXPECT_EQ(TreeView_GetCount(tree), 6u);
        EXPECT_EQ(TreeView_GetSelection(tree), root);
        EXPECT_NE(GetCursor(), wait);
    }

    // A wider tree: every folder in, every folder with subfolders expanded, the root stays
    // selected.
    FrameOptions options;
    options.listing = ListingWithFolders(20, 50);
    FrameSession wide(options);
    ASSERT_TRUE(wide.PumpUntilIdle());
    const HWND wide_tree = wide.frame().folder_tree_hwnd();
    const auto& wide_object = *static_cast<const FolderTree*>(Window::FromHandle(wide_tree));
    SetFocus(wide_tree);
    test::PostKey(wide_tree, VK_MULTIPLY);
    ASSERT_TRUE(test::PumpUntil(
        wide, [&] { return !wide_object.expanding_all(); }, 60000));
    EXPECT_EQ(TreeView_GetCount(wide_tree), 1u + 20 * 50);
    std::size_t expanded = 0;
    for (HTREEITEM group = TreeView_GetChild(wide_tree, TreeView_GetRoot(wide_tree));
         group != nullptr; group = TreeView_GetNextSibling(wide_tree, group)) {
        expanded += IsExpanded(wide_tree, group) ? 1 : 0;
    }
    EXPECT_EQ(expanded, 20u);
    EXPECT_EQ(TreeView_GetSelection(wide_tree), TreeView_GetRoot(wide_tree));
}

// Typing into a list selects the next row whose check status begins with the typed text, as in
// a standard list whose items carry that text.
TEST(BrowseInput, TypingIntoAListFindsTheNextRowByItsStatus) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND list = frame.file_list_hwnd();
    SetFocus(list);
    test::PostChar(list, 'M');  // statuses: "", "", "", "", "bien", "", "mal"
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(SelectedRow(list), 6);
    EXPECT_EQ(CellText(list, 6, 1), "Zeta.doc");
    test::PostChar(list, 'z');  // nothing begins so: the selection stays
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(SelectedRow(list), 6);

    // The results: from the row after the selected one, around from the top.
    const HWND results = frame.results_list_hwnd();
    ShowResults(
        session,
        {{"C:\\", "a", ""}, {"C:\\", "b", "bien"}, {"C:\\", "c", "mal"}, {"C:\\", "d", "Bien"}});
    RECT row{};
    row.left = LVIR_LABEL;
    SendMessageA(results, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
    ClickAt(session, results, {row.left + 30, (row.top + row.bottom) / 2});
    ASSERT_EQ(SelectedRow(results), 3);
    test::PostChar(results, 'b');
    ASSERT_TRUE(session.PumpUntilIdle());
    EXPECT_EQ(SelectedRow(results), 1);

    // Wine's list asks in UTF-16 whatever its parent takes; Windows asks an 8-bit parent in
    // 8-bit text, as here: the whole text, without regard to case.
    NMLVFINDITEMA find{};
    find.hdr.hwndFrom = list;
    find.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    find.hdr.code = static_cast<UINT>(LVN_ODFINDITEMA);
    find.iStart = 5;
    find.lvfi.flags = LVFI_STRING | LVFI_WRAP;
    find.lvfi.psz = "BIEN";
    auto ask = [&] {
        return SendMessageA(GetParent(list), WM_NOTIFY, find.hdr.idFrom,
                            reinterpret_cast<LPARAM>(&find));
    };
    EXPECT_EQ(ask(), 4);
    find.lvfi.psz = "bi";
    EXPECT_EQ(ask(), -1);
}

TEST(Browse, EveryColumnSortsBothWays) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND list = frame.file_list_hwnd();
    ClickOnHeader(session, list, 1);  // Name again: descending, files Z to A, subfolders last
    EXPECT_EQ(Column(list, 1),
              (Texts{"Zeta.doc", "beta.xls", "a.txt", "Same", "Same", "Empty", "Docs"}));
    ClickOnHeader(session, list, 2);  // Size keeps descending
    EXPECT_EQ(Column(list, 2), (Texts{"3 GB", "900 KB", "700", "", "", "", ""}));
    ClickOnHeader(session, list, 2);
    EXPECT_EQ(Column(list, 2), (Texts{"", "", "", "", "700", "900 KB", "3 GB"}));
    ClickOnHeader(session, list, 3);  // Date keeps ascending; 69 is 2069; equal rows keep order
    EXPECT_EQ(Column(list, 1),
              (Texts{"Same", "Same", "Empty", "Docs", "Zeta.doc", "a.txt", "beta.xls"}));
    ClickOnHeader(session, list, 3);
    EXPECT_EQ(Column(list, 3), (Texts{"01/01/69 00:00:00", "01/01/09 10:00:00", "31/12/99 23:59:59",
                                      "", "", "", ""}));
    ClickOnHeader(session, list, 0);  // Status, descending
    EXPECT_EQ(Column(list, 0), (Texts{"mal", "bien", "", "", "", "", ""}));
    ClickOnHeader(session, list, 0);
    EXPECT_EQ(Column(list, 0), (Texts{"", "", "", "", "", "bien", "mal"}));

    // The sort stays for the next folder.
    SelectInTree(session, ChildNamed(frame.folder_tree_hwnd(),
                                     TreeView_GetRoot(frame.folder_tree_hwnd()), "Docs"));
    EXPECT_EQ(Column(list, 0), (Texts{"", "bien", "mal"}));
}

TEST(Browse, SortingKeepsTheSelectedRowSelected) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    const HWND list = session.frame().file_list_hwnd();
    ListView_SetItemState(list, 5, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_EQ(CellText(list, 5, 1), "beta.xls");
    ClickOnHeader(session, list, 1);
    ASSERT_EQ(SelectedRow(list), 1);
    EXPECT_EQ(CellText(list, 1, 1), "beta.xls");
}

// Colours as painted: the first row shaded, the second white, a tick and a cross drawn in
// column 0, and the empty text below the header of an empty list.
TEST(Browse, PaintsShadingMarksAndTheEmptyText) {
    FrameSession session(BrowseOptions());
    ASSERT_TRUE(session.PumpUntilIdle());
    MainFrame& frame = session.frame();
    const HWND list = frame.file_list_hwnd();
    ClickOnHeader(session, list, 0);  // Status ascending: the marks come last
    ClickOnHeader(session, list, 0);  // descending: "mal", "bien", then the rest
    ASSERT_EQ(Column(list, 0)[0], "mal");
    ASSERT_EQ(Column(list, 0)[1], "bien");
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    auto pixels_where = [&](const RECT& rect, auto&& predicate) {
        HDC dc = GetDC(list);
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                const COLORREF color = GetPixel(dc, x, y);
                if (predicate(GetRValue(color), GetGValue(color), GetBValue(color))) {
                    ++count;
                }
            }
        }
        ReleaseDC(list, dc);
        return count;
    };
    auto icon_rect = [&](int row) {
        RECT rect{};
        rect.left = LVIR_ICON;
        SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        return rect;
    };
    auto reddish = [](int r, int g, int b) { return r > 150 && g < 100 && b < 100; };
    auto greenish = [](int r, int g, int b) { return g > 100 && r < 100 && b < 100; };
    EXPECT_GT(pixels_where(icon_rect(0), reddish), 0);
    EXPECT_EQ(pixels_where(icon_rect(0), greenish), 0);
    EXPECT_GT(pixels_where(icon_rect(1), greenish), 0);
    EXPECT_EQ(pixels_where(icon_rect(2), reddish) + pixels_where(icon_rect(2), greenish), 0);

    // Far right in the Name column, where no name reaches.
    auto background_at = [&](int row) {
        RECT rect{};
        rect.top = 1;  // the Name column
        rect.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        HDC dc = GetDC(list);
        const COLORREF color = GetPixel(dc, rect.right - 8, (rect.top + rect.bottom) / 2);
        ReleaseDC(list, dc);
        return color;
    };
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(frame.folder_tree_hwnd());
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(background_at(2), RGB(248, 248, 248));
    EXPECT_EQ(background_at(3), RGB(255, 255, 255));
    EXPECT_EQ(background_at(4), RGB(248, 248, 248));

    // An empty folder shows IDS_EMPTY_LIST just below the header.
    SelectInTree(session, ChildNamed(frame.folder_tree_hwnd(),
                                     TreeView_GetRoot(frame.folder_tree_hwnd()), "Empty"));
    ASSERT_EQ(ListView_GetItemCount(list), 0);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT header{};
    GetWindowRect(ListView_GetHeader(list), &header);
    const int top = header.bottom - header.top + 4;
    auto dark = [](int r, int g, int b) { return r + g + b < 300; };
    EXPECT_GT(pixels_where(RECT{6, top, 120, top + 14}, dark), 10);
    EXPECT_EQ(pixels_where(RECT{0, top, 5, top + 14}, dark), 0);
    EXPECT_EQ(pixels_where(RECT{6, top + 24, 120, top + 60}, dark), 0);
}

// Scale: the work asked of the windows stays far below one message a row, so that the tree is
// filled lazily and the list is owner-data. The times are measured by the window benchmark.
std::string ListingWithFiles(int files) {
    writer::ListingBuilder builder;
    builder.OpenFolder("C:");
    builder.OpenFolder("C:\\Many");
    char name[64];
    for (int i = 0; i < files; ++i) {
        std::snprintf(name, sizeof(name), "IMG_%06d.%s", (i * 7919) % files,
                      i % 3 == 0 ? "jpg" : (i % 3 == 1 ? "doc" : "txt"));
        builder.File(name, writer::FormatSize(static_cast<std::uint64_t>(i) * 104729 % 50000000),
                     writer::FormatDate(1 + i % 28, 1 + i % 12, 1990 + i % 40, i % 24, i % 60, 0),
                     i % 3 == 0 ? "bien" : (i % 3 == 1 ? "mal" : ""));
    }
    builder.CloseFolder().CloseFolder();
    return builder.Finish();
}

TEST(BrowseScale, AHundredThousandFoldersFillTheTreeAndSelectTheRoot) {
    FrameOptions options;
    options.listing = ListingWithFolders(100, 1000);
    FrameSession session(options);
    ASSERT_TRUE(session.alive());
    MainFrame& frame = session.frame();
    // The open request is the first message: load, verify, summary, tree, root selected.
    MSG message{};
    ASSERT_TRUE(
        PeekMessageA(&message, session.hwnd(), WM_OPEN_LISTING, WM_OPEN_LISTING, PM_REMOVE));
    {
        test::SentMessageCounter sent;
        DispatchMessageA(&message);
        UpdateWindow(frame.folder_tree_hwnd());
        UpdateWindow(frame.file_list_hwnd());
        EXPECT_LT(sent.count(), 10000);
    }
    ASSERT_TRUE(session.PumpUntilIdle(60000));
    const HWND tree = frame.folder_tree_hwnd();
    EXPECT_EQ(TreeView_GetSelection(tree), TreeView_GetRoot(tree));
    EXPECT_TRUE(TreeView_GetItemState(tree, TreeView_GetRoot(tree), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(TreeView_GetCount(tree), 101u);  // the root and its children, no more yet
    EXPECT_EQ(ListView_GetItemCount(frame.file_list_hwnd()), 100);
    // A group shows its 999 subfolders when selected.
    TreeView_SelectItem(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)));
    ASSERT_TRUE(session.PumpUntilIdle(60000));
    EXPECT_EQ(ListView_GetItemCount(frame.file_list_hwnd()), 999);
}

TEST(BrowseScale, AFolderOfAHundredThousandFilesShowsAndSortsAtOnce) {
    FrameOptions options;
    options.listing = ListingWithFiles(100000);
    FrameSession session(options);
    ASSERT_TRUE(session.PumpUntilIdle(60000));
    MainFrame& frame = session.frame();
    const HWND tree = frame.folder_tree_hwnd();
    const HWND list = frame.file_list_hwnd();
    HTREEITEM many = TreeView_GetChild(tree, TreeView_GetRoot(tree));
    ASSERT_NE(many, nullptr);

    {
        test::SentMessageCounter sent;
        TreeView_SelectItem(tree, many);
        UpdateWindow(list);
        EXPECT_LT(sent.count(), 10000);
    }
    ASSERT_EQ(ListView_GetItemCount(list), 100000);
    {
        test::SentMessageCounter sent;
        ClickOnHeader(session, list, 2);
        UpdateWindow(list);
        EXPECT_LT(sent.count(), 10000);
    }
    EXPECT_EQ(CellText(list, 0, 2), "0");
    const FileListControl& control = ListObject(list);
    for (std::size_t i = 0; i + 1 < control.RowCount(); i += 101) {
        ASSERT_LE(CompareRows(control.rows(), control.RowAt(i), control.RowAt(i + 1), {2, 1}), 0);
    }
}

}  // namespace
}  // namespace tov
