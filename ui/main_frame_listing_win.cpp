#include "ui/main_frame_win.h"

namespace tov {

void MainFrame::OpenListingAtStartup() {}

void MainFrame::LoadListing(const char*) {}

}  // namespace tov
