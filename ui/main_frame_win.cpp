#include "ui/main_frame_win.h"

namespace tov {

void MainFrame::SetCommandEnabled(UINT, bool) {}
void MainFrame::SetCommandChecked(UINT, bool) {}

}  // namespace tov
