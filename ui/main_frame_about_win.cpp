// The about box and the web-site banner of the main window.
#include "res/resource.h"
#include "ui/about_dialog_win.h"
#include "ui/main_frame_win.h"
#include "ui/owned_windows_win.h"
#include "ui/text_win.h"
#include "ui/web_site_win.h"

namespace tov {

void MainFrame::ShowAbout() {
    // Its result is not used: every way of closing the box leaves the program as it was.
    // At start-up the box can arrive while the open dialog or an error message waits; owned by
    // that window, the box hands the input back to it when it closes, instead of enabling the
    // main window under a dialog that still waits for an answer.
    AboutDialog about;
    about.Run(InputOwner(hwnd(), work_summary_.hwnd()));
}

void MainFrame::OpenWebSite() {
    OpenWebAddress(LoadText(IDS_WEBSITE_URL).c_str());
}

}  // namespace tov
