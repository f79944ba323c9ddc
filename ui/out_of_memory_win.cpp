#include "ui/out_of_memory_win.h"

#include <new>
#include <string>

#include "res/resource.h"
#include "ui/system_error_text_win.h"
#include "ui/text_win.h"

namespace tov {

namespace {

thread_local std::uint64_t reports = 0;

}  // namespace

std::uint64_t OutOfMemoryReports() {
    return reports;
}

void ReportOutOfMemory(HWND window) {
    ++reports;
    static bool showing = false;
    if (showing) {
        return;
    }
    showing = true;
    const HWND owner = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    try {
        const std::string text = SystemErrorText(ERROR_NOT_ENOUGH_MEMORY);
        const std::string caption = LoadText(IDS_ERROR_CAPTION);
        MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK);
    } catch (const std::bad_alloc&) {
        // Not even the texts fit: the box says what the system says in its own words.
        MessageBoxA(owner, nullptr, nullptr, MB_OK | MB_ICONERROR);
    }
    showing = false;
}

}  // namespace tov
