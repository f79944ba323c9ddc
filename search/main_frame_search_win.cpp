// The main window's side of searching: running a search into the ResultsList, titling the
// ResultsPane, and saving the results as a semicolon-separated file.
#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "res/resource.h"
#include "search/results_file_win.h"
#include "search/search_walk.h"
#include "ui/handles_win.h"
#include "ui/file_dialog_guard_win.h"
#include "ui/main_frame_win.h"
#include "ui/system_error_text_win.h"
#include "ui/out_of_memory_win.h"
#include "ui/text_win.h"

namespace tov {
namespace {

constexpr char kSaveErrorCaption[] = "Orvan Explorer";  // the same in every language
// Room for any path the dialog can return, so that the program's copy is never the one that is
// too short; the dialog's own limit is kept by its hook.
constexpr DWORD kResultsPathCapacity = 32768;

// Failures that come from the name itself; the message then adds the platform's reason, so
// that the user knows to choose another name rather than another place.
bool IsNameError(DWORD code) {
    switch (code) {
        case ERROR_INVALID_NAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_BAD_PATHNAME:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BUFFER_OVERFLOW:
        case ERROR_DIRECTORY:
            return true;
        default:
            return false;
    }
}

}  // namespace

void MainFrame::OnSearchRequest(const SearchRequest& request) {
    bool refused = false;
    bool out_of_memory = false;
    {
        WaitCursor wait;
        if (inner_splitter_.single_pane_mode() != Splitter::kPaneNone) {
            inner_splitter_.SetSinglePaneMode(Splitter::kPaneNone);
            inner_splitter_.UpdateLayout();
        }
        SetCommandChecked(ID_SHOW_RESULTS, true);

        try {
            refused = !RunSearch(request.pattern != nullptr ? request.pattern : "",
                                 request.is_class != 0);
        } catch (const std::bad_alloc&) {
            // The search is abandoned: an empty list, titled as one.
            out_of_memory = true;
            try {
                results_list_.SetRows(RowSet{});
            } catch (const std::bad_alloc&) {
            }
            SetCommandEnabled(ID_SAVE_SEARCH, results_list_.RowCount() > 0);
        }

        const std::string title =
            LoadText(IDS_RESULTS_TITLE) +
            FormatText2(IDS_RESULTS_COUNT, request.text != nullptr ? request.text : "",
                        static_cast<unsigned>(results_list_.RowCount()));
        results_pane_.SetTitle(title.c_str());  // cut to 79 bytes; also the window text
        results_pane_.UpdateLayout();
    }
    if (out_of_memory) {
        ReportOutOfMemory(hwnd());
    }
    if (refused) {
        const std::string text = LoadText(IDS_INVALID_PATTERN);
        const std::string caption = LoadText(IDS_ERROR_CAPTION);
        MessageBoxA(hwnd(), text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
    }
}

bool MainFrame::RunSearch(const char* pattern, bool is_class) {
    // The filters are read once: nothing can toggle them while the search runs.
    const CheckStatusFilters filters{IsCommandChecked(ID_ONLY_GOOD), IsCommandChecked(ID_ONLY_BAD)};
    SearchOutcome outcome = SearchListing(document_, pattern, is_class, filters);
    const bool accepted = !outcome.refused.has_value();
    results_list_.SetRows(std::move(outcome.rows));  // shown sorted by the list's settings
    SetCommandEnabled(ID_SAVE_SEARCH, results_list_.RowCount() > 0);
    return accepted;
}

bool MainFrame::AskResultsFileName(std::wstring& path) {
    std::vector<wchar_t> file(kResultsPathCapacity, L'\0');
    const LongPathRefusal refusal{
        LoadText(IDS_SAVE_ERROR) + "\r\n\r\n" + SystemErrorText(ERROR_FILENAME_EXCED_RANGE),
        kSaveErrorCaption};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = hwnd();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kResultsPathCapacity;
    dialog.lpstrDefExt = L"csv";
    // The hook refuses a path too long for the dialog, which would otherwise crash in it.
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLEHOOK;
    dialog.lpfnHook = LongPathGuardHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(&refusal);
    if (!GetSaveFileNameW(&dialog)) {
        return false;
    }
    path = file.data();
    return true;
}

void MainFrame::SaveSearchResults() {
    const std::size_t count = results_list_.RowCount();
    if (count == 0) {
        return;
    }
    std::wstring path;
    if (!AskResultsFileName(path)) {
        return;
    }
    bool saved = false;
    bool out_of_memory = false;
    DWORD error = ERROR_SUCCESS;
    {
        WaitCursor wait;
        // The rows as the list shows them now, in its current sort.
        const RowSet& rows = results_list_.rows();
        try {
            std::vector<std::uint32_t> order(count);
            for (std::size_t position = 0; position < count; ++position) {
                order[position] =
                    static_cast<std::uint32_t>(&results_list_.RowAt(position) - rows.rows.data());
            }
            saved = SaveResultsFile(path, rows, order, &error);
        } catch (const std::bad_alloc&) {
            out_of_memory = true;
        }
    }
    if (out_of_memory) {
        ReportOutOfMemory(hwnd());
    } else if (!saved) {
        std::string text = LoadText(IDS_SAVE_ERROR);
        if (IsNameError(error)) {
            text += "\r\n\r\n" + SystemErrorText(error);
        }
        MessageBoxA(hwnd(), text.c_str(), kSaveErrorCaption, MB_OK);
    }
}

}  // namespace tov
