// The main window's side of searching: running a search into the ResultsList, titling the
// ResultsPane, and saving the results as a semicolon-separated file.
#include <windows.h>
#include <commdlg.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <utility>
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

// A slice of a long save: short enough that the window answers at once, long enough that the
// pause before the next tick costs little; bounded in bytes as well, for a slow disk.
constexpr std::chrono::milliseconds kSaveSlice{100};
constexpr std::uint64_t kSaveSliceBytes = std::uint64_t{8} << 20;

// "error saving file" under the caption that every language shares, with the platform's reason;
// a file or folder that may not be written before anything was (`while_writing` false) is told
// by the message alone.
void ReportSaveFailure(HWND owner, DWORD error, bool while_writing) {
    std::string text = LoadText(IDS_SAVE_ERROR);
    if (error != ERROR_SUCCESS && (while_writing || error != ERROR_ACCESS_DENIED)) {
        text += "\r\n\r\n" + SystemErrorText(error);
    }
    MessageBoxA(owner, text.c_str(), kSaveErrorCaption, MB_OK);
}

}  // namespace

void MainFrame::OnSearchRequest(const SearchRequest& request) {
    // The rows a running save writes are about to be replaced: the save stops first.
    StopSave();
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
    if (count == 0 || saving_results()) {
        return;
    }
    std::wstring path;
    if (!AskResultsFileName(path)) {
        return;
    }
    cursor_before_save_ = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    try {
        // The rows in the order the list shows them now: a later sort does not change the file.
        const RowSet& rows = results_list_.rows();
        std::vector<std::uint32_t> order(count);
        for (std::size_t position = 0; position < count; ++position) {
            order[position] =
                static_cast<std::uint32_t>(&results_list_.RowAt(position) - rows.rows.data());
        }
        results_save_ = std::make_unique<ResultsFileSave>(path, rows, std::move(order));
    } catch (const Win32Error& failure) {
        SetCursor(cursor_before_save_);
        ReportSaveFailure(hwnd(), failure.code(), false);
        return;
    } catch (const std::bad_alloc&) {
        SetCursor(cursor_before_save_);
        ReportOutOfMemory(hwnd());
        return;
    }
    SetCommandEnabled(ID_SAVE_SEARCH, false);
    ContinueSave();
}

void MainFrame::ContinueSave() {
    if (!saving_results()) {
        KillTimer(hwnd(), kSaveTimer);
        return;
    }
    const auto end = std::chrono::steady_clock::now() + kSaveSlice;
    const std::uint64_t slice_end = results_save_->bytes_written() + kSaveSliceBytes;
    try {
        if (results_save_->Continue([&] {
                return results_save_->bytes_written() < slice_end &&
                       std::chrono::steady_clock::now() < end;
            })) {
            EndSave(ERROR_SUCCESS);
            return;
        }
    } catch (const Win32Error& failure) {
        EndSave(failure.code() != ERROR_SUCCESS ? failure.code() : ERROR_WRITE_FAULT);
        return;
    } catch (const std::bad_alloc&) {
        EndSave(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    // Timer ticks come only when no input waits, so the window answers between slices.
    SetTimer(hwnd(), kSaveTimer, USER_TIMER_MINIMUM, nullptr);
}

void MainFrame::StopSave() {
    EndSave(ERROR_CANCELLED);
}

void MainFrame::EndSave(DWORD error, bool tell) {
    if (!saving_results()) {
        return;
    }
    KillTimer(hwnd(), kSaveTimer);
    results_save_.reset();  // an unfinished file goes with it
    SetCursor(cursor_before_save_);
    SetCommandEnabled(ID_SAVE_SEARCH, results_list_.RowCount() > 0);
    if (!tell || error == ERROR_SUCCESS) {
        return;
    }
    if (error == ERROR_NOT_ENOUGH_MEMORY) {
        ReportOutOfMemory(hwnd());
    } else {
        ReportSaveFailure(hwnd(), error, true);
    }
}

}  // namespace tov
