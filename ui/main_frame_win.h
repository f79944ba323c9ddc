// The program's only top-level window: bars, splitters, tree, lists, results pane and the
// work summary; owner of the listing document and of the command states.
//
// Ownership of this class is split by file so that each area can be worked on alone:
//   ui/main_frame_win.cpp          creation, message table, layout, command routing, states,
//                                  ToggleResultsPane
//   ui/main_frame_listing_win.cpp  opening and loading the listing, the work summary
//   ui/main_frame_browse_win.cpp   the folder tree and the file list
//   search/main_frame_search_win.cpp  searching and saving results
//   ui/main_frame_about_win.cpp    the about box and the web-site banner
//
// What every area may use (all on the user-interface thread):
//   hwnd()                   the main window
//   document_                the ListingDocument (empty until a listing is loaded)
//   system_icons_            the shell's small image list and the folder icon indexes
//   folder_tree_             the FolderTree (IDC_FOLDER_TREE), child of the OuterSplitter
//   file_list_               the FileList (IDC_FILE_LIST), top pane of the InnerSplitter
//   results_list_            the ResultsList (IDC_RESULTS_LIST), client of the ResultsPane
//   inner_splitter_          FileList over ResultsPane; SetSinglePaneMode shows or hides the
//                            pane (Splitter::kPane1 = FileList only, kPaneNone = both)
//   results_pane_            the ResultsPane: SetTitle (cut to 79 bytes), UpdateLayout
//   work_summary_            the WorkSummaryDialog
//   search_bar_              the SearchBar on the MainToolbar
//   main_toolbar(), banner_bar()
//   SetCommandEnabled / SetCommandChecked   the command states (written to the toolbars at
//                            idle time); IsCommandChecked reads the command-state table.
// Each area adds its own private members in its marked section below, and nothing elsewhere.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/message_loop_win.h"
#include "listing/listing_document.h"
#include "search/results_file_win.h"
#include "search/search_bar_win.h"
#include "search/search_request_win.h"
#include "ui/command_states_win.h"
#include "ui/file_list_control_win.h"
#include "ui/folder_tree_win.h"
#include "ui/frame_window_win.h"
#include "ui/handles_win.h"
#include "ui/pane_container_win.h"
#include "ui/splitter_win.h"
#include "ui/system_icons_win.h"
#include "ui/work_summary_dialog_win.h"

namespace tov {

class MainFrame : public FrameWindow, public MessageFilter, public IdleHandler {
  public:
    MainFrame();
    ~MainFrame() override;

    // Creates the main window as a top-level window with the given rectangle and its default
    // styles; the window registers itself with the current thread's message loop, which must
    // exist. nullptr when the window or one of its panes cannot be created.
    HWND CreateMain(const RECT& rect);

    // ---- window facilities and commands (ui/main_frame_win.cpp) ----
    void SetCommandEnabled(UINT command, bool enabled);
    void SetCommandChecked(UINT command, bool checked);
    // The checked state of a command in the command-state table (the toolbars show it at idle
    // time).
    bool IsCommandChecked(UINT command) const;
    void ToggleResultsPane();

    HWND main_toolbar() const { return main_toolbar_; }
    HWND banner_bar() const { return banner_bar_; }
    const CommandStates& command_states() const { return command_states_; }
    const Splitter& outer_splitter() const { return outer_splitter_; }
    const Splitter& inner_splitter() const { return inner_splitter_; }
    const PaneContainer& results_pane() const { return results_pane_; }
    HWND folder_tree_hwnd() const { return folder_tree_.hwnd(); }
    HWND file_list_hwnd() const { return file_list_.hwnd(); }
    HWND results_list_hwnd() const { return results_list_.hwnd(); }
    HWND work_summary_hwnd() const { return work_summary_.hwnd(); }
    const ListingDocument& document() const { return document_; }
    const SystemIcons& system_icons() const { return system_icons_; }

    // ---- listing and work summary (ui/main_frame_listing_win.cpp) ----
    void OpenListingAtStartup();
    void LoadListing(const std::wstring& path);

    // ---- folder tree and file list (ui/main_frame_browse_win.cpp) ----
    void FillFolderTree();
    void FolderUp();
    void OnFolderSelected();  // TVN_SELCHANGED from the tree
    void OpenListedFolder();
    void NavigateToResult();

    // ---- search (search/main_frame_search_win.cpp) ----
    void OnSearchRequest(const SearchRequest& request);
    // Asks for a name and saves the results in the order shown. A save too long for one message
    // goes on at the ticks of a timer, under the wait cursor; Escape or a new search stops it
    // (the user is told), closing the window abandons it, and a stopped save leaves no file.
    void SaveSearchResults();
    bool saving_results() const { return results_save_ != nullptr; }

    // ---- about box and banner (ui/main_frame_about_win.cpp) ----
    void ShowAbout();
    void OpenWebSite();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void DescribeClass(WNDCLASSEXA& window_class) const override;

    bool PreTranslateMessage(MSG* message) override;
    bool OnIdle() override;

  private:
    // ---- window facilities and commands (ui/main_frame_win.cpp) ----
    LRESULT OnCreate();
    void OnDestroy();
    void OnSize(WPARAM size_type);
    bool OnNotify(const NMHDR& header, LRESULT& result);
    bool OnCommand(UINT command);
    bool CreateBars();
    void ToggleWorkSummary();
    void ToggleButtonCheck(UINT command);

    // Members in the order the main window holds them (its window handle, the rebar and the
    // client are in FrameWindow). The document comes first, so that it is freed last: the
    // folder index and the lists' rows point into it.
    ListingDocument document_;
    CommandStates command_states_;
    ImageListHandle banner_images_;
    Splitter outer_splitter_{Splitter::kVertical};
    Splitter inner_splitter_{Splitter::kHorizontal};
    PaneContainer results_pane_;
    SearchBar search_bar_;
    FolderTree folder_tree_;
    FileListControl file_list_;
    FileListControl results_list_;
    WorkSummaryDialog work_summary_;
    SystemIcons system_icons_;
    HWND banner_bar_ = nullptr;
    HWND main_toolbar_ = nullptr;
    HACCEL accelerators_ = nullptr;  // looked up under IDR_MAINFRAME; there are none
    MessageLoop* loop_ = nullptr;    // where the filter and idle handler are registered

    // ---- listing state (ui/main_frame_listing_win.cpp) ----
    // Steps of OpenListingAtStartup: finding, loading and showing the listing; and after
    // running out of memory on the way, the empty document, summary and tree and WM_CLOSE.
    void FindAndOpenListing();
    void AbandonListing();

    // ---- browse state (ui/main_frame_browse_win.cpp) ----
    // Refills the FileList with a folder's subfolders and files, sorted as the list is set.
    void ShowFolderContents(HTREEITEM item);

    // ---- search state (search/main_frame_search_win.cpp) ----
    // Fills the ResultsList with the matches of one search and sets ID_SAVE_SEARCH; false when the
    // pattern was refused (the list is then empty).
    bool RunSearch(const char* pattern, bool is_class);
    // The save dialog's choice; false when the user cancelled or the dialog failed.
    bool AskResultsFileName(std::wstring& path);
    // One slice of the running save: the first inside the command, the others at timer ticks.
    void ContinueSave();
    // Ends the running save: `error` is 0 when the file is in place, else the code told to the
    // user (ERROR_NOT_ENOUGH_MEMORY: the out-of-memory message); `tell` false says nothing.
    void EndSave(DWORD error, bool tell = true);
    // Stops a running save and tells the user that nothing was saved.
    void StopSave();
    static constexpr UINT_PTR kSaveTimer = 0x5A7E;
    std::unique_ptr<ResultsFileSave> results_save_;  // while a save runs
    HCURSOR cursor_before_save_ = nullptr;

    // ---- about state (ui/main_frame_about_win.cpp) ----
};

}  // namespace tov
