// The program's only top-level window: bars, splitters, tree, lists, results pane and the
// work summary; owner of the listing document and of the command states.
//
// Ownership of this class is split by file so that each area can be worked on alone:
//   ui/main_frame_win.cpp          creation, message table, layout, command routing, states
//   ui/main_frame_listing_win.cpp  opening and loading the listing, the work summary
//   ui/main_frame_browse_win.cpp   the folder tree and the file list
//   search/main_frame_search_win.cpp  searching, the results pane and saving results
//   ui/main_frame_about_win.cpp    the about box and the web-site banner
#pragma once

#include <windows.h>

#include "listing/listing_document.h"

namespace tov {

class MainFrame {
public:
    // ---- window facilities and commands (ui/main_frame_win.cpp) ----
    void SetCommandEnabled(UINT command, bool enabled);
    void SetCommandChecked(UINT command, bool checked);

    // ---- listing and work summary (ui/main_frame_listing_win.cpp) ----
    void OpenListingAtStartup();
    void LoadListing(const char* path);

    // ---- folder tree and file list (ui/main_frame_browse_win.cpp) ----
    void FillFolderTree();
    void FolderUp();
    void OnFolderSelected();  // TVN_SELCHANGED from the tree
    void OpenListedFolder();
    void NavigateToResult();

    // ---- search (search/main_frame_search_win.cpp) ----
    // OnSearchRequest, ToggleResultsPane, SaveSearchResults

    // ---- about box and banner (ui/main_frame_about_win.cpp) ----
    void ShowAbout();
    void OpenWebSite();

private:
    ListingDocument document_;
};

}  // namespace tov
