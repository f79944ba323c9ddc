#include "ui/main_frame_win.h"

namespace tov {

void MainFrame::ShowAbout() {}
void MainFrame::OpenWebSite() {}

}  // namespace tov
