// Finding the listing at start-up, loading it, and filling the work summary.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "listing/file_finder_win.h"
#include "listing/listing_loader_win.h"
#include "res/resource.h"
#include "ui/file_dialog_guard_win.h"
#include "ui/main_frame_win.h"
#include "ui/out_of_memory_win.h"
#include "ui/system_error_text_win.h"
#include "ui/text_win.h"

namespace tov {
namespace {

constexpr std::size_t kFilterBufferSize = 1024;

// Room for any path the dialog can return, so that a long one is never cut or overflows.
constexpr DWORD kDialogPathCapacity = 32768;

// The listing chosen in the open dialog, starting in `folder` (where the program looked for
// listings); empty when the user cancelled or the dialog failed.
std::wstring AskForListing(HWND owner, const std::wstring& folder) {
    // Pairs of description and pattern separated by NULs; the zeros after the text close the
    // list with the double NUL the dialog expects.
    std::array<wchar_t, kFilterBufferSize> filter{};
    const std::wstring text = LoadTextW(IDS_OPEN_FILTER);
    std::copy_n(text.data(), std::min(text.size(), filter.size() - 2), filter.data());

    std::vector<wchar_t> file(kDialogPathCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.data();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kDialogPathCapacity;
    dialog.lpstrDefExt = nullptr;
    // Otherwise the dialog starts wherever it was last used, such as the folder of a saved
    // search, and the user may pick a listing of another job.
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // Neither the file nor the path is demanded: a name that does not exist is reported by the
    // loader with the platform's own text.
    // The hook refuses a path too long for the dialog, which would otherwise crash in it.
    const LongPathRefusal refusal{SystemErrorText(ERROR_FILENAME_EXCED_RANGE),
                                  LoadText(IDS_ERROR_CAPTION)};
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
    dialog.lpfnHook = LongPathGuardHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&refusal);
    if (!GetOpenFileNameW(&dialog)) {
        return {};
    }
    return file.data();
}

void ReportLoadFailure(HWND owner, DWORD code) {
    const std::string caption = LoadText(IDS_ERROR_CAPTION);
    const std::string text =
        code == kErrorInvalidListing ? LoadText(IDS_INVALID_LISTING) : SystemErrorText(code);
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace

void MainFrame::OpenListingAtStartup() {
    WaitCursor wait;
    // Running out of memory anywhere on the way, also in a message handled meanwhile (the
    // tree's selection fills the file list), ends as a refused listing: never half shown.
    const std::uint64_t reports = OutOfMemoryReports();
    try {
        FindAndOpenListing();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory(hwnd());
    }
    if (OutOfMemoryReports() != reports) {
        AbandonListing();
    }

    SetCommandChecked(ID_SHOW_SUMMARY, true);
    ShowWindow(work_summary_.hwnd(), SW_SHOWNORMAL);
}

void MainFrame::FindAndOpenListing() {
    bool found = false;
    std::array<wchar_t, MAX_PATH> directory{};
    const DWORD length =
        GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
    const bool have_directory = length != 0 && length < directory.size();
    if (have_directory) {
        // Folders named like a listing count too: then the user has to choose.
        FileFinder finder(directory.data(), LoadTextW(IDS_LISTING_PATTERN));
        if (finder.Count() == 1) {
            finder.Reset();
            if (finder.Next()) {
                found = true;
                LoadListing(finder.Path());
                FillWorkSummary(work_summary_, document_);
                FillFolderTree();
            }
        }
    }

    if (!found) {
        const std::wstring path =
            AskForListing(hwnd(), have_directory ? directory.data() : std::wstring());
        if (!path.empty()) {
            LoadListing(path);
            FillWorkSummary(work_summary_, document_);
            FillFolderTree();
        } else {
            PostMessageA(hwnd(), WM_CLOSE, 0, 0);
        }
    }
}

void MainFrame::AbandonListing() {
    try {
        file_list_.SetRows(RowSet{});  // its rows point into the document
    } catch (const std::bad_alloc&) {
    }
    document_ = ListingDocument();
    SetDlgItemTextA(work_summary_.hwnd(), IDC_TEXT, "");
    ListView_DeleteAllItems(GetDlgItem(work_summary_.hwnd(), IDC_CHECK_LIST));
    try {
        FillFolderTree();
    } catch (const std::bad_alloc&) {
        TreeView_DeleteAllItems(folder_tree_.hwnd());
    }
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void MainFrame::LoadListing(const std::wstring& path) {
    // The earlier buffer goes before the new one is allocated.
    document_ = ListingDocument();
    try {
        document_ = ReadListingFile(path);
    } catch (const Win32Error& error) {
        ReportLoadFailure(hwnd(), error.code());
        document_ = ListingDocument();
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    }
}

}  // namespace tov
