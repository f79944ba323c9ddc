// The about box and the web-site banner of the main window.
#include "res/resource.h"
#include "ui/about_dialog_win.h"
#include "ui/main_frame_win.h"
#include "ui/text_win.h"
#include "ui/web_site_win.h"

namespace tov {

void MainFrame::ShowAbout() {
    // Its result is not used: every way of closing the box leaves the program as it was.
    AboutDialog about;
    about.Run(hwnd());
}

void MainFrame::OpenWebSite() {
    OpenWebAddress(LoadText(IDS_WEBSITE_URL).c_str());
}

}  // namespace tov
